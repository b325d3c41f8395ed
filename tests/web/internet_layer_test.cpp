// The internet client's own calls, where the web request routine relies on their exact results:
// the header buffer rule, the layout of the raw header block, reading in chunks, and which
// requests a proxy list sends through the proxy.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

#include "platform/internet.h"
#include "support/http_server.h"
#include "support/wine.h"

namespace quorvel {
namespace {

namespace inet = platform;
using testing::HasSubstr;
using testing_support::HttpRequest;
using testing_support::HttpResponse;
using testing_support::HttpServer;

constexpr std::uint32_t kPlainFlags = inet::INTERNET_FLAG_RELOAD | inet::INTERNET_FLAG_NO_COOKIES |
                                      inet::INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

// One request of a direct session, its three handles closed at the end.
class Exchange {
 public:
  explicit Exchange(int port, const char* path, std::uint32_t flags = kPlainFlags,
                    const char* host = "127.0.0.1",
                    std::uint32_t access = inet::INTERNET_OPEN_TYPE_DIRECT,
                    const char* proxy = nullptr)
      : internet_(inet::InternetOpenA("QuorvelLayerTest", access, proxy,
                                      proxy != nullptr ? "" : nullptr, 0)),
        connection_(inet::InternetConnectA(internet_, host, static_cast<inet::INTERNET_PORT>(port),
                                           nullptr, nullptr, inet::INTERNET_SERVICE_HTTP, 0, 0)),
        request_(inet::HttpOpenRequestA(connection_, "GET", path, "HTTP/1.1", nullptr, nullptr,
                                        flags, 0)) {}
  ~Exchange() {
    inet::InternetCloseHandle(request_);
    inet::InternetCloseHandle(connection_);
    inet::InternetCloseHandle(internet_);
  }
  Exchange(const Exchange&) = delete;
  Exchange& operator=(const Exchange&) = delete;

  bool Send() { return inet::HttpSendRequestA(request_, "", 0, nullptr, 0); }
  inet::HINTERNET request() const { return request_; }

  // The raw header block, through a buffer large enough for it.
  std::string Headers() {
    std::string buffer(65536, '\0');
    std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
    if (!inet::HttpQueryInfoA(request_, inet::HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(), &length,
                              nullptr)) {
      return "(no headers)";
    }
    return buffer.substr(0, length);
  }

 private:
  inet::HINTERNET internet_;
  inet::HINTERNET connection_;
  inet::HINTERNET request_;
};

TEST(InternetLayer, RawHeaderBlockIsTheFinalAnswersLinesEachEndedByCrLf) {
  HttpServer server([](const HttpRequest& request) {
    if (request.target == "/first") {
      return HttpResponse{.status = 301, .reason = "Moved", .headers = {{"Location", "/second"}}};
    }
    return HttpResponse{.headers = {{"X-One", "1"}, {"X-Two", "two words"}}, .body = "x"};
  });
  Exchange exchange(server.port(), "/first");
  ASSERT_TRUE(exchange.Send());
  const std::string block = exchange.Headers();
  EXPECT_THAT(block, testing::StartsWith("HTTP/1.1 200 OK\r\n"));
  EXPECT_THAT(block, HasSubstr("\r\nX-One: 1\r\nX-Two: two words\r\n"));
  EXPECT_THAT(block, testing::EndsWith("\r\n\r\n"));
  EXPECT_THAT(block, testing::Not(HasSubstr("Location")));
}

// Header lines of `total` bytes of padding in all, spread over six lines (some clients cut a
// single line of more than 4 KB).
testing_support::HeaderFields Padding(std::size_t total) {
  testing_support::HeaderFields lines;
  for (int i = 0; i < 6; ++i) {
    const std::size_t size = total / 6 + (i == 0 ? total % 6 : 0);
    lines.emplace_back("X-Pad-" + std::to_string(i), std::string(size, 'p'));
  }
  return lines;
}

TEST(InternetLayer, HeaderBlockFitsOnlyWithItsTerminatingZero) {
  // The block grows one for one with the padding; measure it once.
  std::atomic<std::size_t> pad = 600;
  HttpServer server([&](const HttpRequest&) { return HttpResponse{.headers = Padding(pad)}; });
  std::size_t measured = 0;
  {
    Exchange exchange(server.port(), "/measure");
    ASSERT_TRUE(exchange.Send());
    measured = exchange.Headers().size();
  }
  const std::size_t base = measured - pad.load();

  for (const std::size_t blockLength : {std::size_t{4999}, std::size_t{5000}}) {
    SCOPED_TRACE(blockLength);
    pad = blockLength - base;
    Exchange exchange(server.port(), "/sized");
    ASSERT_TRUE(exchange.Send());
    ASSERT_EQ(exchange.Headers().size(), blockLength);
    std::string buffer(5000, ' ');
    std::uint32_t length = 5000;
    const bool fitted = inet::HttpQueryInfoA(exchange.request(), inet::HTTP_QUERY_RAW_HEADERS_CRLF,
                                             buffer.data(), &length, nullptr);
    if (blockLength == 4999) {
      EXPECT_TRUE(fitted);
      EXPECT_EQ(length, 4999u);
      EXPECT_EQ(buffer.substr(0, 4999), exchange.Headers());
      EXPECT_EQ(buffer[4999], '\0');
    } else {
      EXPECT_FALSE(fitted);
      EXPECT_EQ(length, 5001u);
      EXPECT_TRUE(buffer == std::string(5000, ' ')) << "the buffer was written";
    }
  }
}

TEST(InternetLayer, BodyIsReadInTheAskedChunksThenZero) {
  const std::string body(2500, 'b');
  HttpServer server([&](const HttpRequest&) { return HttpResponse{.body = body}; });
  Exchange exchange(server.port(), "/chunks");
  ASSERT_TRUE(exchange.Send());
  std::string got;
  std::vector<std::uint32_t> counts;
  for (int i = 0; i < 10; ++i) {
    char buffer[1000];
    std::uint32_t read = 99;
    inet::InternetReadFile(exchange.request(), buffer, sizeof buffer, &read);
    counts.push_back(read);
    got.append(buffer, read);
    if (read == 0) break;
  }
  EXPECT_EQ(got, body);
  EXPECT_EQ(counts.back(), 0u);
  for (std::uint32_t count : counts) EXPECT_LE(count, 1000u);
}

TEST(InternetLayer, NoAnswerMeansNoBodyAndNoHeaders) {
  Exchange exchange(testing_support::ClosedLocalPort(), "/");
  EXPECT_FALSE(exchange.Send());
  char chunk[16];
  std::uint32_t read = 99;
  inet::InternetReadFile(exchange.request(), chunk, sizeof chunk, &read);
  EXPECT_EQ(read, 0u);

  std::string buffer(5000, ' ');
  std::uint32_t length = 5000;
  const bool queried = inet::HttpQueryInfoA(exchange.request(), inet::HTTP_QUERY_RAW_HEADERS_CRLF,
                                            buffer.data(), &length, nullptr);
  if (testing_support::RunningUnderWine()) {
    EXPECT_EQ(std::string(buffer.c_str()), "\r\n");
    GTEST_SKIP() << "Wine's WinInet answers the header query of a request that got no answer "
                    "with the block \"\\r\\n\" instead of failing";
  }
  EXPECT_FALSE(queried);
  EXPECT_TRUE(buffer == std::string(5000, ' ')) << "the buffer was written";
}

TEST(InternetLayer, HttpOnlyProxyListServesPlainRequests) {
  HttpServer proxy([](const HttpRequest&) { return HttpResponse{.body = "proxied"}; });
  const std::string list = "http=" + proxy.HostPort();
  {
    Exchange plain(80, "/p", kPlainFlags, "quorvel-direct.invalid", inet::INTERNET_OPEN_TYPE_PROXY,
                   list.c_str());
    EXPECT_TRUE(plain.Send());
  }
  ASSERT_EQ(proxy.Requests().size(), 1u);
  // The absolute form, with or without the default port.
  EXPECT_THAT(proxy.Requests()[0].target, testing::AnyOf("http://quorvel-direct.invalid/p",
                                                         "http://quorvel-direct.invalid:80/p"));
}

TEST(InternetLayer, HttpOnlyProxyListLeavesSecureRequestsDirect) {
  if (testing_support::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's WinInet takes the \"http=\" entry of a proxy list for secure "
                    "requests too, and tunnels them through that proxy";
  }
  HttpServer proxy(
      [](const HttpRequest&) { return HttpResponse{.status = 403, .reason = "Forbidden"}; });
  const std::string list = "http=" + proxy.HostPort();
  // Direct, the name cannot be resolved: no answer, and the proxy sees nothing.
  Exchange secure(443, "/", kPlainFlags | inet::INTERNET_FLAG_SECURE, "quorvel-direct.invalid",
                  inet::INTERNET_OPEN_TYPE_PROXY, list.c_str());
  EXPECT_FALSE(secure.Send());
  EXPECT_EQ(proxy.Connections(), 0);
}

}  // namespace
}  // namespace quorvel
