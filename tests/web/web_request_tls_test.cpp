// HTTPS with the default certificate checks against a local server whose certificate is
// self-signed: the exchange is refused, so nothing comes back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "no_answer.h"
#include "support/http_server.h"
#include "support/text_printing.h"
#include "web/web_request.h"

namespace quorvel {
namespace {

// A file beside the one named by QUORVEL_TLS_PORT_FILE, where the TLS server leaves its port.
// That is a Unix path, which a Windows program under Wine reads through drive Z:.
std::string ServerFile(const std::string& name) {
  const char* portFile = std::getenv("QUORVEL_TLS_PORT_FILE");
  if (portFile == nullptr) return {};
  std::string path = portFile;
  path = path.substr(0, path.rfind('/') + 1) + name;
#ifdef _WIN32
  for (char& c : path) c = c == '/' ? '\\' : c;
  path = "Z:" + path;
#endif
  return path;
}

int TlsServerPort() {
  std::ifstream in(ServerFile("port"));
  int port = 0;
  in >> port;
  return port;
}

// How many connections the TLS server has accepted so far.
int TlsConnections() {
  std::ifstream in(ServerFile("connections"));
  int count = 0;
  for (std::string line; std::getline(in, line);) ++count;
  return count;
}

TEST(WebRequestTls, SelfSignedCertificateIsRefused) {
  const int port = TlsServerPort();
  ASSERT_GT(port, 0) << "the TLS test server did not leave its port";
  ASSERT_TRUE(testing_support::LocalPortOpen(port)) << "the TLS test server is not listening";

  for (const char* host : {"127.0.0.1", "localhost"}) {
    SCOPED_TRACE(host);
    Text headers;
    Text received = "stale";
    const std::string url = std::string("https://") + host + ":" + std::to_string(port) + "/";
    EXPECT_THAT(WebRequest(Text(url), 0, Text(), nullptr, &received, nullptr, &headers),
                testing::IsEmpty());
    EXPECT_EQ(received, "");
    testing_support::ExpectNoAnswerHeaders(headers);
  }
}

TEST(WebRequestTls, RedirectFromHttpToHttpsIsFollowed) {
  const int port = TlsServerPort();
  ASSERT_GT(port, 0) << "the TLS test server did not leave its port";
  const std::string target = "https://127.0.0.1:" + std::to_string(port) + "/";
  testing_support::HttpServer server([&](const testing_support::HttpRequest&) {
    return testing_support::HttpResponse{
        .status = 302, .reason = "Found", .headers = {{"Location", target}}, .body = "moved"};
  });
  // Followed, the redirect reaches the TLS server and ends at its refused certificate; not
  // followed, it is the answer.
  const int before = TlsConnections();
  EXPECT_THAT(WebRequest(Text(server.Url("/to-https"))), testing::IsEmpty());
  EXPECT_GT(TlsConnections(), before);
  EXPECT_EQ(WebRequest(Text(server.Url("/to-https")), 0, Text(), nullptr, nullptr, nullptr, nullptr,
                       /*noRedirect=*/true),
            testing_support::AsBytes("moved"));
}

}  // namespace
}  // namespace quorvel
