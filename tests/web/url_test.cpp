#include "web/url.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "support/text_printing.h"

namespace quorvel {
namespace {

using testing_support::T;

TEST(UrlTest, SplitsAddressesIntoHostPortAndPath) {
  const struct {
    Text url;
    Text host;
    int port;
    Text path;
  } cases[] = {
      {"HTTP://WEB.Example.COM:88/Dir/File?A=1", "web.example.com", 88, "/Dir/File?A=1"},
      {"example.com/a", "example.com", 80, "/a"},
      {"https://example.com", "example.com", 443, "/"},
      {"HTTPS://Example.com:8443/X", "example.com", 8443, "/X"},
      {"http://192.168.1.1:88", "192.168.1.1", 88, "/"},
      {"http://example.com?x=1", "example.com?x=1", 80, "/"},
      {"http://example.com:/", "example.com", 0, "/"},
      {"http://example.com:abc/", "example.com", 0, "/"},
      {"example.com/go?to=http://other/", "other", 80, "/"},
      {"", "", 80, "/"},
      {"http://", "", 80, "/"},
      // Hosts that also occur inside the scheme.
      {"http://t/x", "t", 80, "/x"},
      {"HTTPS://S/Dir", "s", 443, "/Dir"},
      {"http://p:8080/q/r", "p", 8080, "/q/r"},
      // A two-byte character keeps both bytes, even a second byte in 'A' to 'Z'; 中 in the path.
      {T("http://\xC4\x41.COM/\xD6\xD0"), T("\xC4\x41.com"), 80, T("/\xD6\xD0")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.url));
    EXPECT_EQ(UrlHost(c.url), c.host);
    EXPECT_EQ(UrlPort(c.url), c.port);
    EXPECT_EQ(UrlPath(c.url), c.path);
  }
}

TEST(UrlHostTest, ReducesToTheLastLabelsAndKeepsThePort) {
  const struct {
    Text url;
    bool mainDomain;
    bool keepPort;
    std::optional<int> dotCount;
    Text host;
  } cases[] = {
      // Address mode.
      {"http://example.com:88/", false, true, std::nullopt, "example.com:88"},
      {"http://web.example.com/", true, false, std::nullopt, "example.com"},
      {"http://web.example.com:88/", true, true, std::nullopt, "example.com:88"},
      {"http://localhost/", true, false, std::nullopt, "localhost"},
      {"http://192.168.1.1/", true, false, std::nullopt, "1.1"},
      // Label mode: dotCount + 1 labels with mainDomain, dotCount + 2 without.
      {"http://a.b.example.com/x", true, false, 1, "example.com"},
      {"http://a.b.example.com/x", false, false, 1, "b.example.com"},
      {"http://a.b.example.com/x", true, false, 0, "com"},
      {"http://a.b.example.com/x", false, false, 0, "example.com"},
      {"http://a.b.example.com/x", false, false, 2, "a.b.example.com"},
      {"http://a.b.example.com/x", true, false, 2, "b.example.com"},
      {"http://a.b.example.com/x", false, false, -3, "example.com"},
      {"http://a.b.example.com/x", true, false, std::numeric_limits<int>::max(), "a.b.example.com"},
      {"HTTPS://A.B.Example.com:8080/x", false, false, 0, "example.com"},
      {"HTTPS://A.B.Example.com:8080/x", false, true, 0, "example.com:8080"},
      {"web.example.com", true, false, 0, "com"},
      {"example.com.", true, false, 0, "com."},  // a dot in the last byte is never counted
      {"", true, false, 1, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UrlHost(c.url, c.mainDomain, c.keepPort, c.dotCount), c.host)
        << ::testing::PrintToString(c.url) << " mainDomain " << c.mainDomain << " keepPort "
        << c.keepPort << " dotCount " << c.dotCount.value_or(-999);
  }
}

}  // namespace
}  // namespace quorvel
