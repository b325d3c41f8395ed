// WebRequest through the real internet client against HTTP servers started on 127.0.0.1.
//
// Cookies that reach the platform's store are set with a path of their own test, so that they
// never travel with the requests of another test, whatever the order (WinInet may even keep them
// from an earlier run).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "no_answer.h"
#include "resolver/markers.h"
#include "support/http_server.h"
#include "support/text_printing.h"
#include "web/web_request.h"

namespace quorvel {
namespace {

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::Optional;
using testing_support::AsBytes;
using testing_support::ExpectNoAnswerHeaders;
using testing_support::HttpRequest;
using testing_support::HttpResponse;
using testing_support::HttpServer;

constexpr char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

HttpResponse Body(std::string body) { return HttpResponse{.body = std::move(body)}; }

// Every byte value, a few times over: more than two read chunks, zero bytes included.
std::string AllByteValues() {
  std::string bytes;
  for (int round = 0; round < 10; ++round) {
    for (int value = 0; value < 256; ++value) bytes += static_cast<char>(value);
  }
  return bytes;
}

TEST(WebRequestHttp, ReturnsTheBodyByteForByte) {
  for (const std::string& sent : {AllByteValues(), std::string(1024, 'a'), std::string()}) {
    SCOPED_TRACE(sent.size());
    HttpServer server([&](const HttpRequest&) { return Body(sent); });
    EXPECT_EQ(WebRequest(Text(server.Url("/bytes"))), AsBytes(sent));
  }
}

TEST(WebRequestHttp, PlainGetCarriesTheDefaultHeaderLines) {
  HttpServer server([](const HttpRequest&) { return Body("ok"); });
  const std::string url = server.Url("/Some/Path?q=1&r=%20x");
  Text extraHeaders;
  EXPECT_EQ(WebRequest(Text(url), 0, "never sent", nullptr, nullptr, &extraHeaders), AsBytes("ok"));

  ASSERT_EQ(server.Requests().size(), 1u);
  const HttpRequest got = server.Requests()[0];
  EXPECT_EQ(got.method, "GET");
  EXPECT_EQ(got.target, "/Some/Path?q=1&r=%20x");
  EXPECT_EQ(got.version, "HTTP/1.1");
  EXPECT_THAT(got.HeaderValues("User-Agent"), ElementsAre(kDefaultAgent));
  EXPECT_THAT(got.HeaderValues("Accept"), ElementsAre("*/*"));
  EXPECT_THAT(got.HeaderValues("Referer"), ElementsAre(url));
  EXPECT_THAT(got.HeaderValues("Accept-Language"), ElementsAre("zh-cn"));
  EXPECT_THAT(got.HeaderValues("Content-Type"), ElementsAre("application/x-www-form-urlencoded"));
  EXPECT_THAT(got.HeaderValues("Host"), ElementsAre(server.HostPort()));
  EXPECT_EQ(got.Header("Cookie"), std::nullopt);
  EXPECT_EQ(got.body, "");
  EXPECT_EQ(extraHeaders, Text("Accept: */*\r\nReferer: " + url +
                               "\r\nAccept-Language: zh-cn"
                               "\r\nContent-Type: application/x-www-form-urlencoded"));
}

TEST(WebRequestHttp, SendsTheBodyUnderTheMethodsVerb) {
  struct Case {
    int method;
    const char* verb;
  };
  for (const Case c : {Case{1, "POST"}, Case{2, "GET"}}) {
    SCOPED_TRACE(c.method);
    HttpServer server([](const HttpRequest&) { return Body("done"); });
    Bytes postBytes;
    EXPECT_EQ(WebRequest(Text(server.Url("/form")), c.method, "a=1&b=%E4", nullptr, nullptr,
                         nullptr, nullptr, false, &postBytes),
              AsBytes("done"));
    ASSERT_EQ(server.Requests().size(), 1u);
    const HttpRequest got = server.Requests()[0];
    EXPECT_EQ(got.method, c.verb);
    EXPECT_EQ(got.body, "a=1&b=%E4");
    EXPECT_THAT(got.Header("Content-Length"), Optional(std::string("9")));
    EXPECT_THAT(got.HeaderValues("Content-Type"), ElementsAre("application/x-www-form-urlencoded"));
    EXPECT_EQ(postBytes, AsBytes("a=1&b=%E4"));
  }
}

TEST(WebRequestHttp, PostBytesGoAheadOfPostTextWhole) {
  // Large enough for a client that asks "Expect: 100-continue" to do so.
  std::string sent = AllByteValues();
  while (sent.size() < 2 * 1024 * 1024) sent += sent;
  HttpServer server([](const HttpRequest&) { return Body("stored"); });
  Bytes postBytes = AsBytes(sent);
  EXPECT_EQ(WebRequest(Text(server.Url("/upload")), 1, "ignored", nullptr, nullptr, nullptr,
                       nullptr, false, &postBytes),
            AsBytes("stored"));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_TRUE(server.Requests()[0].body == sent);
  EXPECT_EQ(server.Requests()[0].Header("Expect"), std::nullopt);
}

TEST(WebRequestHttp, AgentAndDefaultsComeFromTheCallersHeaderLines) {
  HttpServer server([](const HttpRequest&) { return Body("ok"); });
  Text extraHeaders = "User-Agent: QuorvelTest/1.0\r\nAccept: text/html\r\nX-Extra: \xD6\xD0";
  WebRequest(Text(server.Url("/agent")), 0, Text(), nullptr, nullptr, &extraHeaders);
  ASSERT_EQ(server.Requests().size(), 1u);
  const HttpRequest got = server.Requests()[0];
  EXPECT_THAT(got.HeaderValues("User-Agent"), ElementsAre("QuorvelTest/1.0"));
  EXPECT_THAT(got.HeaderValues("Accept"), ElementsAre("text/html"));
  EXPECT_THAT(got.HeaderValues("X-Extra"), ElementsAre("\xD6\xD0"));
  EXPECT_THAT(got.HeaderValues("Accept-Language"), ElementsAre("zh-cn"));
}

TEST(WebRequestHttp, SetCookieInAnyCaseIsNormalisedAndReceived) {
  HttpServer server([](const HttpRequest&) {
    return HttpResponse{.headers = {{"Set-Cookie", "qv_norm_a=1; path=/norm"},
                                    {"set-cookie", "qv_norm_b=2; Path=/norm"},
                                    {"SET-COOKIE", "qv_norm_c=3; path=/norm; HttpOnly"}},
                        .body = "ok"};
  });
  Text received;
  Text headers;
  WebRequest(Text(server.Url("/norm/x")), 0, Text(), nullptr, &received, nullptr, &headers);
  EXPECT_EQ(received, "qv_norm_a=1; qv_norm_b=2; qv_norm_c=3");
  EXPECT_THAT(headers.str(), testing::StartsWith("HTTP/1.1 200 OK\r\n"));
  EXPECT_THAT(headers.str(), testing::EndsWith("\r\n\r\n"));
  EXPECT_THAT(headers.str(), HasSubstr("Set-Cookie: qv_norm_b=2; Path=/norm\r\n"));
  EXPECT_THAT(headers.str(), HasSubstr("Set-Cookie: qv_norm_c=3; path=/norm; HttpOnly\r\n"));
  EXPECT_THAT(headers.str(), testing::Not(HasSubstr("set-cookie")));
}

TEST(WebRequestHttp, StoreCarriesCookiesWhenTheCallerGivesNone) {
  HttpServer server([](const HttpRequest& request) {
    if (request.target == "/store/set") {
      return HttpResponse{.headers = {{"Set-Cookie", "qv_store=abc; path=/store"}}};
    }
    return Body("checked");
  });
  WebRequest(Text(server.Url("/store/set")));
  WebRequest(Text(server.Url("/store/check")));
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_EQ(server.Requests()[0].Header("Cookie"), std::nullopt);
  EXPECT_THAT(server.Requests()[1].Header("Cookie"), Optional(std::string("qv_store=abc")));
}

TEST(WebRequestHttp, GivenCookiesBypassTheStoreAndTakeTheReceivedOnes) {
  HttpServer server([](const HttpRequest& request) {
    if (request.target == "/given/seed") {
      return HttpResponse{.headers = {{"Set-Cookie", "qv_given_store=s; path=/given"}}};
    }
    return HttpResponse{.headers = {{"Set-Cookie", "qv_given_b=3; path=/given"},
                                    {"Set-Cookie", "qv_given_c=4; path=/given"}}};
  });
  // The store holds a cookie for these paths; a call with its own cookies must not send it.
  WebRequest(Text(server.Url("/given/seed")));

  struct Case {
    const char* given;
    std::optional<std::string> cookieLine;
    const char* after;
  };
  const Case cases[] = {
      {"", std::nullopt, "qv_given_b=3; qv_given_c=4"},
      {"qv_given_a=1; qv_given_b=2", "qv_given_a=1; qv_given_b=2",
       "qv_given_b=3; qv_given_c=4; qv_given_a=1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    Text cookies = c.given;
    Text received;
    WebRequest(Text(server.Url("/given/call")), 0, Text(), &cookies, &received);
    EXPECT_EQ(server.Requests().back().Header("Cookie"), c.cookieLine);
    EXPECT_EQ(cookies, c.after);
    EXPECT_EQ(received, "qv_given_b=3;qv_given_c=4");
  }
  // What those calls received did not go into the store.
  WebRequest(Text(server.Url("/given/after")));
  EXPECT_THAT(server.Requests().back().Header("Cookie"), Optional(std::string("qv_given_store=s")));
}

TEST(WebRequestHttp, RedirectIsFollowedUnlessNoRedirect) {
  HttpServer server([](const HttpRequest& request) {
    if (request.target == "/from") {
      return HttpResponse{
          .status = 302, .reason = "Found", .headers = {{"Location", "/to?x=1"}}, .body = "moved"};
    }
    return Body("arrived");
  });

  Text headers;
  EXPECT_EQ(WebRequest(Text(server.Url("/from")), 0, Text(), nullptr, nullptr, nullptr, &headers,
                       /*noRedirect=*/true),
            AsBytes("moved"));
  EXPECT_THAT(headers.str(), testing::StartsWith("HTTP/1.1 302 Found\r\n"));
  EXPECT_EQ(TextBetween(headers, "Location: ", "\r\n"), "/to?x=1");
  EXPECT_EQ(server.Requests().size(), 1u);

  EXPECT_EQ(WebRequest(Text(server.Url("/from")), 0, Text(), nullptr, nullptr, nullptr, &headers),
            AsBytes("arrived"));
  EXPECT_THAT(headers.str(), testing::StartsWith("HTTP/1.1 200 OK\r\n"));
  EXPECT_THAT(headers.str(), testing::Not(HasSubstr("Location")));
  ASSERT_EQ(server.Requests().size(), 3u);
  EXPECT_EQ(server.Requests()[2].target, "/to?x=1");
}

TEST(WebRequestHttp, HeaderBlockOverTheBufferGivesSpacesButStillTheBody) {
  // Several lines: a client may cut a single line of more than 4 KB.
  HttpServer server([](const HttpRequest&) {
    testing_support::HeaderFields lines = {{"Set-Cookie", "qv_big=1; path=/big"}};
    for (int i = 0; i < 6; ++i)
      lines.emplace_back("X-Pad-" + std::to_string(i), std::string(900, 'p'));
    return HttpResponse{.headers = lines, .body = "big"};
  });
  Text received = "stale";
  Text headers;
  EXPECT_EQ(WebRequest(Text(server.Url("/big")), 0, Text(), nullptr, &received, nullptr, &headers),
            AsBytes("big"));
  EXPECT_EQ(headers, BlankText(5000));
  EXPECT_EQ(received, "");
}

TEST(WebRequestHttp, HostThatCannotBeResolvedGivesNothing) {
  Text received = "stale";
  Text headers;
  Text cookies = "qv_unresolved=1";
  EXPECT_THAT(WebRequest("http://quorvel-no-such-host.invalid/x", 0, Text(), &cookies, &received,
                         nullptr, &headers),
              IsEmpty());
  EXPECT_EQ(received, "");
  EXPECT_EQ(cookies, "qv_unresolved=1");
  ExpectNoAnswerHeaders(headers);
}

TEST(WebRequestHttp, ProxyReceivesTheAbsoluteAddress) {
  HttpServer proxy([](const HttpRequest&) { return Body("via proxy"); });
  EXPECT_EQ(WebRequest("http://quorvel-proxied.invalid/p?q=1", 0, Text(), nullptr, nullptr, nullptr,
                       nullptr, false, nullptr, Text(proxy.HostPort())),
            AsBytes("via proxy"));
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].method, "GET");
  // The absolute form, with or without the default port.
  EXPECT_THAT(proxy.Requests()[0].target,
              testing::AnyOf("http://quorvel-proxied.invalid/p?q=1",
                             "http://quorvel-proxied.invalid:80/p?q=1"));
}

TEST(WebRequestHttp, SecureRequestGoesThroughTheSameProxyAsATunnel) {
  HttpServer proxy(
      [](const HttpRequest&) { return HttpResponse{.status = 403, .reason = "Forbidden"}; });
  Text headers;
  EXPECT_THAT(WebRequest("https://quorvel-proxied.invalid/s", 0, Text(), nullptr, nullptr, nullptr,
                         &headers, false, nullptr, Text(proxy.HostPort())),
              IsEmpty());
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(proxy.Requests()[0].method, "CONNECT");
  EXPECT_EQ(proxy.Requests()[0].target, "quorvel-proxied.invalid:443");
}

TEST(WebRequestHttp, UnreachableProxyGivesNothing) {
  const std::string proxy = "127.0.0.1:" + std::to_string(testing_support::ClosedLocalPort());
  Text headers;
  EXPECT_THAT(WebRequest("http://quorvel-proxied.invalid/", 0, Text(), nullptr, nullptr, nullptr,
                         &headers, false, nullptr, Text(proxy)),
              IsEmpty());
  ExpectNoAnswerHeaders(headers);
}

}  // namespace
}  // namespace quorvel
