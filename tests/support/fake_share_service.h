// A stand-in for the cloud-storage service on 127.0.0.1: a share page and the share-download
// endpoint, answering as the real service does in the parts the resolver relies on.
//
//   FakeShareService service;
//   service.SetAnswer(R"({"errno":0,"list":[{"dlink":"http:\/\/d.test\/f","md5":"m",...}]})");
//   SetBoxText(Box::kShare, Text(service.ShareUrl()));
//   ResolveShareLink(state, Text(service.ApiHost()));
//
// The share page (UTF-8, with Chinese text around the six values in its script data) sets a
// cookie. The endpoint gives the configured answer only to a request that carries exactly the
// twelve-key query built from that page's values and sends that cookie back; any other request
// gets an error answer ({"errno":2,...}), as the real endpoint answers a wrong query.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "support/http_server.h"

namespace quorvel::testing_support {

class FakeShareService {
 public:
  FakeShareService();

  // The address of the share page with the six values.
  std::string ShareUrl() const;
  // The address of a share page that holds none of the values' markers.
  std::string PlainPageUrl() const;
  // "127.0.0.1:<port>": where the endpoint is.
  std::string ApiHost() const;

  // What the endpoint answers to a correct request from now on.
  void SetAnswer(std::string answer);

  // The endpoint's target (path and query) that the share page's values give.
  static std::string ExpectedApiTarget();
  // The cookie the share page sets ("name=value"), different for every service.
  std::string Cookie() const;

  // Every request received, in order.
  std::vector<HttpRequest> Requests() const { return server_.Requests(); }
  // The targets of the requests to the endpoint, in order.
  std::vector<std::string> ApiTargets() const;

 private:
  HttpResponse Answer(const HttpRequest& request);

  mutable std::mutex mutex_;
  std::string answer_;
  std::string cookieValue_;
  HttpServer server_;  // last: its thread may call Answer() as soon as it exists
};

}  // namespace quorvel::testing_support
