// A small HTTP/1.1 server for tests, listening on 127.0.0.1 at a port of its own choosing.
//
//   HttpServer server([](const HttpRequest& request) {
//     return HttpResponse{.headers = {{"Set-Cookie", "a=1"}}, .body = "hello"};
//   });
//   WebRequest(Text(server.Url("/page?x=1")));
//   EXPECT_EQ(server.Requests().at(0).target, "/page?x=1");
//
// Every request is recorded as it arrived (method, target, headers, body) before the handler sees
// it, and the handler's answer is sent back byte for byte: the status line, the handler's header
// lines in its order and spelling, then "Content-Length" (unless the handler gave one) and
// "Connection: close", an empty line and the body. Each connection carries one request. A request
// with "Expect: 100-continue" gets the interim 100 answer first. The server also answers a proxy's
// requests: the target is then the absolute address or, for CONNECT, "host:port".
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace quorvel::testing_support {

using HeaderFields = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
  std::string method;
  std::string target;
  std::string version;
  HeaderFields headers;  // in the order received, names as spelt
  std::string body;

  // The value of the first header of that name, matched in any case.
  std::optional<std::string> Header(std::string_view name) const;
  // The values of every header of that name, in order.
  std::vector<std::string> HeaderValues(std::string_view name) const;
};

struct HttpResponse {
  int status = 200;
  std::string reason = "OK";
  HeaderFields headers{};
  std::string body{};
};

class HttpServer {
 public:
  using Handler = std::function<HttpResponse(const HttpRequest&)>;

  // Starts listening at once; the handler runs on the server's own thread.
  explicit HttpServer(Handler handler);
  // Stops accepting, ends the connection in progress and waits for the thread.
  ~HttpServer();
  HttpServer(const HttpServer&) = delete;
  HttpServer& operator=(const HttpServer&) = delete;

  int port() const { return port_; }
  // "127.0.0.1:<port>", as a proxy setting.
  std::string HostPort() const;
  // "http://127.0.0.1:<port>" followed by `pathAndQuery`.
  std::string Url(std::string_view pathAndQuery = "/") const;

  // The requests received so far, in order.
  std::vector<HttpRequest> Requests() const;
  // The number of connections accepted so far, with or without a complete request.
  int Connections() const { return connections_; }

 private:
  struct Listener;

  void Run();
  void Serve(std::intptr_t connection);

  Handler handler_;
  std::unique_ptr<Listener> listener_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  mutable std::mutex mutex_;
  std::vector<HttpRequest> requests_;
  std::thread thread_;
};

// A port on 127.0.0.1 at which nothing listens (it was free a moment ago).
int ClosedLocalPort();

// Whether something accepts connections at `port` on 127.0.0.1.
bool LocalPortOpen(int port);

}  // namespace quorvel::testing_support
