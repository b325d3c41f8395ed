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

// The port the TLS server wrote into the file named by QUORVEL_TLS_PORT_FILE (a Unix path, which
// a Windows program under Wine reads through drive Z:).
int TlsServerPort() {
  const char* file = std::getenv("QUORVEL_TLS_PORT_FILE");
  if (file == nullptr) return 0;
  std::string path = file;
#ifdef _WIN32
  for (char& c : path) c = c == '/' ? '\\' : c;
  path = "Z:" + path;
#endif
  std::ifstream in(path);
  int port = 0;
  in >> port;
  return port;
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

}  // namespace
}  // namespace quorvel
