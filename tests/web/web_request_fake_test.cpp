// WebRequest against the recording fake of the internet client: the exact calls it makes, the
// flag word, the header block, the body it sends, and what it writes back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "internet_fake.h"
#include "support/text_printing.h"
#include "web/web_request.h"

namespace quorvel {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::AsBytes;
using testing_support::Fake;
using testing_support::FakeInternet;
using testing_support::T;

constexpr char kDefaultAgentArg[] = R"x("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)")x";
constexpr char kOk[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\n";

class WebRequestFake : public testing::Test {
 protected:
  void SetUp() override {
    Fake() = FakeInternet{};
    Fake().rawHeaders = kOk;
  }

  // The recorded call that begins with `name`; fails the test when there is none.
  static std::string CallOf(const std::string& name) {
    for (const std::string& call : Fake().calls) {
      if (call.starts_with(name + "(")) return call;
    }
    ADD_FAILURE() << "no call of " << name;
    return {};
  }
};

// A header block as the fake shows it: quoted, with \r and \n written out.
std::string Shown(const std::string& block) {
  std::string shown = "\"";
  for (char c : block) {
    shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
  }
  return shown + "\"";
}

TEST_F(WebRequestFake, WithEveryOptionOmittedMakesTheseCallsInThisOrder) {
  Fake().bodyPieces = {"he", std::string(1500, 'x'), std::string("\0z", 2)};
  const std::string url = "HTTP://WEB.Example.COM:88/Dir/File?A=1";
  const Bytes body = WebRequest(Text(url));

  EXPECT_EQ(body, AsBytes("he" + std::string(1500, 'x') + std::string("\0z", 2)));
  const std::string block = "Accept: */*\r\nReferer: " + url +
                            "\r\nAccept-Language: zh-cn"
                            "\r\nContent-Type: application/x-www-form-urlencoded";
  const std::string read = "InternetReadFile(h3, [1024 zero bytes], 1024, &n)";
  EXPECT_THAT(
      Fake().calls,
      ElementsAre(std::string("InternetOpenA(") + kDefaultAgentArg + ", 1, null, null, 0)",
                  R"(InternetConnectA(h1, "web.example.com", 88, null, null, 3, 0, 0))",
                  R"(HttpOpenRequestA(h2, "GET", "/Dir/File?A=1", "HTTP/1.1", null, null, )"
                  "0x80004010, 0)",
                  "HttpSendRequestA(h3, " + Shown(block) + ", " + std::to_string(block.size()) +
                      R"(, "", 0))",
                  // "he", then 1024 and 476 bytes of the 1500, then the last two, then the end.
                  read, read, read, read, read, "HttpQueryInfoA(h3, 22, [5000 spaces], 5000, null)",
                  "InternetCloseHandle(h3)", "InternetCloseHandle(h2)", "InternetCloseHandle(h1)"));
}

struct FlagCase {
  const char* url;
  bool givesCookies;
  bool noRedirect;
  const char* flags;
};

TEST_F(WebRequestFake, FlagWordFollowsSchemeCookiesAndRedirect) {
  const FlagCase cases[] = {
      {"http://a.example/", false, false, "0x80004010"},
      {"https://a.example/", false, false, "0x80800010"},
      {"HTTPS://a.example/", false, false, "0x80800010"},
      {"a.example/", false, false, "0x80004010"},
      {"http://a.example/", true, false, "0x80084010"},
      {"http://a.example/", false, true, "0x80204010"},
      {"https://a.example/", true, true, "0x80A80010"},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(std::string(c.url) + (c.givesCookies ? " cookies" : "") +
                 (c.noRedirect ? " noRedirect" : ""));
    SetUp();
    Text cookies;
    WebRequest(c.url, 0, Text(), c.givesCookies ? &cookies : nullptr, nullptr, nullptr, nullptr,
               c.noRedirect);
    EXPECT_EQ(CallOf("HttpOpenRequestA"),
              std::string(R"(HttpOpenRequestA(h2, "GET", "/", "HTTP/1.1", null, null, )") +
                  c.flags + ", 0)");
  }
}

TEST_F(WebRequestFake, PortComesFromTheAddressOrItsScheme) {
  const std::pair<const char*, const char*> cases[] = {
      {"http://a.example/", R"("a.example", 80,)"},
      {"https://a.example/", R"("a.example", 443,)"},
      {"http://a.example:8443/", R"("a.example", 8443,)"},
      {"http://a.example:/", R"("a.example", 0,)"},
      {"http://a.example:65535/", R"("a.example", 65535,)"},
  };
  for (const auto& [url, expected] : cases) {
    SCOPED_TRACE(url);
    SetUp();
    WebRequest(url);
    EXPECT_THAT(CallOf("InternetConnectA"), testing::HasSubstr(expected));
  }
}

// The values every out-parameter holds before a call that must leave them alone.
struct OutParameters {
  Text sendCookies = "keep=1";
  Text receivedCookies = "old=2";
  Text extraHeaders = "X-Keep: 3";
  Text responseHeaders = "previous";
  Bytes postBytes;

  Bytes Call(const Text& url) {
    return WebRequest(url, 1, "text", &sendCookies, &receivedCookies, &extraHeaders,
                      &responseHeaders, false, &postBytes);
  }
  void ExpectUntouched() const {
    EXPECT_EQ(sendCookies, "keep=1");
    EXPECT_EQ(receivedCookies, "old=2");
    EXPECT_EQ(extraHeaders, "X-Keep: 3");
    EXPECT_EQ(responseHeaders, "previous");
    EXPECT_THAT(postBytes, IsEmpty());
  }
};

TEST_F(WebRequestFake, HandleNotObtainedClosesWhatWasOpenedAndWritesNothing) {
  const std::string open = std::string("InternetOpenA(") + kDefaultAgentArg + ", 1, null, null, 0)";
  const std::string connect = R"(InternetConnectA(h1, "a.example", 80, null, null, 3, 0, 0))";
  const std::string request =
      R"(HttpOpenRequestA(h2, "POST", "/", "HTTP/1.1", null, null, 0x80084010, 0))";
  struct Case {
    bool FakeInternet::*fails;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {&FakeInternet::failOpen, {open, "InternetCloseHandle(null)"}},
      {&FakeInternet::failConnect,
       {open, connect, "InternetCloseHandle(null)", "InternetCloseHandle(h1)"}},
      {&FakeInternet::failRequest,
       {open, connect, request, "InternetCloseHandle(null)", "InternetCloseHandle(h2)",
        "InternetCloseHandle(h1)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.calls.size());
    SetUp();
    Fake().*c.fails = true;
    Fake().bodyPieces = {"never read"};
    OutParameters out;
    EXPECT_THAT(out.Call("http://a.example/"), IsEmpty());
    EXPECT_EQ(Fake().calls, c.calls);
    out.ExpectUntouched();
  }
}

TEST_F(WebRequestFake, AddressWithControlByteOrImpossiblePortIsNotSent) {
  const std::string refused[] = {
      "http://a.example/x\r\nX-Injected: 1",
      "http://a.example/x\nHost: b.example",
      "http://a.example/\r",
      "http://a.example/\ta",
      "http://a.example/\x01",
      "\x1fhttp://a.example/",
      "http://a.example:65536/",
      "http://a.example:-1/",
  };
  for (const std::string& url : refused) {
    SCOPED_TRACE(url);
    SetUp();
    OutParameters out;
    EXPECT_THAT(out.Call(Text(url)), IsEmpty());
    EXPECT_THAT(Fake().calls, IsEmpty());
    out.ExpectUntouched();
  }
}

TEST_F(WebRequestFake, SendFailureStillReadsClosesAndMerges) {
  Fake().rawHeaders.reset();  // no answer
  Text sendCookies = "a=1;b=2";
  Text receivedCookies = "stale";
  Text responseHeaders;
  const Bytes body = WebRequest("http://a.example/", 0, Text(), &sendCookies, &receivedCookies,
                                nullptr, &responseHeaders);
  EXPECT_THAT(body, IsEmpty());
  EXPECT_EQ(responseHeaders, BlankText(5000));
  EXPECT_EQ(receivedCookies, "");
  EXPECT_EQ(sendCookies, "a=1; b=2");
  EXPECT_THAT(Fake().calls,
              testing::IsSupersetOf({"InternetCloseHandle(h3)", "InternetCloseHandle(h2)",
                                     "InternetCloseHandle(h1)"}));
  EXPECT_EQ(Fake().calls.back(), "InternetCloseHandle(h1)");
}

struct BlockCase {
  const char* extraHeaders;
  const char* cookies;  // null: sendCookies omitted
  const char* agentArg;
  std::string block;
};

TEST_F(WebRequestFake, HeaderBlockIsCompletedWithTheDefaultLines) {
  const std::string url = "http://a.example/p";
  const std::string tail = "\r\nReferer: " + url +
                           "\r\nAccept-Language: zh-cn"
                           "\r\nContent-Type: application/x-www-form-urlencoded";
  const BlockCase cases[] = {
      {"", nullptr, kDefaultAgentArg, "Accept: */*" + tail},
      {"User-Agent: X", nullptr, R"("X")", "User-Agent: X\r\nAccept: */*" + tail},
      {"Accept: text/html", nullptr, kDefaultAgentArg, "Accept: text/html" + tail},
      {"accept: text/html", nullptr, kDefaultAgentArg, "accept: text/html\r\nAccept: */*" + tail},
      {"Content-Type: text/plain", nullptr, kDefaultAgentArg,
       "Content-Type: text/plain\r\nAccept: */*\r\nReferer: " + url + "\r\nAccept-Language: zh-cn"},
      {"Referer: http://r.example/\r\nAccept-Language: en", nullptr, kDefaultAgentArg,
       "Referer: http://r.example/\r\nAccept-Language: en\r\nAccept: */*"
       "\r\nContent-Type: application/x-www-form-urlencoded"},
      {"", "", kDefaultAgentArg, "Accept: */*" + tail},
      {"Cookie: z=9", "a=1; b=2", kDefaultAgentArg,
       "Cookie: z=9\r\nAccept: */*" + tail + "\r\nCookie: a=1; b=2"},
      // The agent: the value of the User-Agent line, also when it is the last line or spelt in
      // another case, and never more than that line.
      {"User-Agent: A\r\nX-B: 1", nullptr, R"("A")",
       "User-Agent: A\r\nX-B: 1\r\nAccept: */*" + tail},
      {"X-B: 1\r\nUser-Agent: B", nullptr, R"("B")",
       "X-B: 1\r\nUser-Agent: B\r\nAccept: */*" + tail},
      {"user-agent: C\r\nX-D: 2", nullptr, R"("C")",
       "user-agent: C\r\nX-D: 2\r\nAccept: */*" + tail},
      {"User-Agent:", nullptr, "null", "User-Agent:\r\nAccept: */*" + tail},
  };
  for (const BlockCase& c : cases) {
    SCOPED_TRACE(c.extraHeaders);
    SetUp();
    Text extraHeaders = c.extraHeaders;
    Text cookies = c.cookies != nullptr ? c.cookies : "";
    WebRequest(Text(url), 0, Text(), c.cookies != nullptr ? &cookies : nullptr, nullptr,
               &extraHeaders);
    EXPECT_EQ(extraHeaders, Text(c.block));
    EXPECT_EQ(CallOf("InternetOpenA"),
              std::string("InternetOpenA(") + c.agentArg + ", 1, null, null, 0)");
    EXPECT_THAT(CallOf("HttpSendRequestA"),
                testing::HasSubstr(", " + std::to_string(c.block.size()) + R"(, "", 0))"));
  }
}

TEST_F(WebRequestFake, BodyIsSentForEveryMethodButZero) {
  struct Case {
    int method;
    const char* postText;
    std::string postBytes;  // given as this, "" meaning given empty
    const char* verb;
    std::string sentBody;  // as the fake shows it
    std::string postBytesAfter;
  };
  const Case cases[] = {
      {0, "a=1", "", "GET", R"("", 0)", ""},
      {1, "a=1", "", "POST", R"("a=1", 3)", "a=1"},
      {2, "a=1", "", "GET", R"("a=1", 3)", "a=1"},
      {7, "a=1", "", "GET", R"("a=1", 3)", "a=1"},
      {1, "a=1", std::string("b\0c", 3), "POST", R"("b\x00c", 3)", std::string("b\0c", 3)},
      {0, "", std::string("b\0c", 3), "GET", R"("", 0)", std::string("b\0c", 3)},
      {1, "", "", "POST", "null, 0", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "method " << c.method << " postText " << c.postText);
    SetUp();
    Bytes postBytes = AsBytes(c.postBytes);
    WebRequest("http://a.example/", c.method, c.postText, nullptr, nullptr, nullptr, nullptr, false,
               &postBytes);
    EXPECT_THAT(CallOf("HttpOpenRequestA"),
                testing::StartsWith(std::string("HttpOpenRequestA(h2, \"") + c.verb + "\""));
    EXPECT_THAT(CallOf("HttpSendRequestA"), testing::EndsWith(", " + c.sentBody + ")"));
    EXPECT_EQ(postBytes, AsBytes(c.postBytesAfter));
  }
}

TEST_F(WebRequestFake, ProxyIsMarkedForPlainHttpOnly) {
  WebRequest("http://a.example/", 0, Text(), nullptr, nullptr, nullptr, nullptr, false, nullptr,
             "10.9.8.7:3128");
  EXPECT_EQ(CallOf("InternetOpenA"), std::string("InternetOpenA(") + kDefaultAgentArg +
                                         R"(, 3, "http=10.9.8.7:3128", "", 0))");
  SetUp();
  WebRequest("HTTPS://a.example/", 0, Text(), nullptr, nullptr, nullptr, nullptr, false, nullptr,
             "10.9.8.7:3128");
  EXPECT_EQ(CallOf("InternetOpenA"),
            std::string("InternetOpenA(") + kDefaultAgentArg + R"(, 3, "10.9.8.7:3128", "", 0))");
}

TEST_F(WebRequestFake, SetCookieLinesGiveNormalisedHeadersAndReceivedCookies) {
  Fake().rawHeaders =
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nset-cookie: b=2\r\n"
      "SET-COOKIE: c=3;Path=/x\r\nX-Other: 4\r\n\r\n";
  Text received;
  Text headers;
  WebRequest("http://a.example/", 0, Text(), nullptr, &received, nullptr, &headers);
  EXPECT_EQ(headers,
            "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n"
            "Set-Cookie: c=3;Path=/x\r\nX-Other: 4\r\n\r\n");
  EXPECT_EQ(received, "a=1; b=2; c=3");

  SetUp();
  Fake().rawHeaders = "HTTP/1.1 200 OK\r\nX-Other: 4\r\n\r\n";
  WebRequest("http://a.example/", 0, Text(), nullptr, &received, nullptr, &headers);
  EXPECT_EQ(received, "");
}

TEST_F(WebRequestFake, GivenCookiesTakeTheReceivedOnesMerged) {
  Fake().rawHeaders = "HTTP/1.1 200 OK\r\nSet-Cookie: b=3; path=/\r\nSet-Cookie: c=4\r\n\r\n";
  Text cookies = "a=1; b=2";
  Text received;
  WebRequest("http://a.example/", 0, Text(), &cookies, &received);
  EXPECT_EQ(cookies, "b=3; c=4; a=1");
  EXPECT_EQ(received, "b=3;c=4");
  EXPECT_THAT(CallOf("HttpSendRequestA"), testing::HasSubstr(R"(\r\nCookie: a=1; b=2")"));
}

TEST_F(WebRequestFake, HeaderBlockThatDoesNotFitLeavesSpacesAndNoCookies) {
  const std::string head = "HTTP/1.1 200 OK\r\nSet-Cookie: a=1\r\nX-Pad: ";
  const auto blockOf = [&](std::size_t size) {
    return head + std::string(size - head.size() - 4, 'p') + "\r\n\r\n";
  };
  Fake().bodyPieces = {"body"};
  Fake().rawHeaders = blockOf(5000);
  Text received = "stale";
  Text headers;
  EXPECT_EQ(WebRequest("http://a.example/", 0, Text(), nullptr, &received, nullptr, &headers),
            AsBytes("body"));
  EXPECT_EQ(headers, BlankText(5000));
  EXPECT_EQ(received, "");

  SetUp();
  Fake().rawHeaders = blockOf(4999);
  WebRequest("http://a.example/", 0, Text(), nullptr, &received, nullptr, &headers);
  EXPECT_EQ(headers, Text(blockOf(4999)));
  EXPECT_EQ(received, "a=1");
}

TEST(HeaderValue, IsTheTrimmedTextAfterTheFirstColon) {
  EXPECT_EQ(HeaderValue("Host: a:88"), "a:88");
  EXPECT_EQ(HeaderValue(T("Name:\xA1\xA1 v \xA1\xA1")), "v");
  EXPECT_EQ(HeaderValue("Name:"), "");
  EXPECT_EQ(HeaderValue("no colon"), "");
  EXPECT_EQ(HeaderValue(""), "");
  EXPECT_EQ(HeaderValue("X:\tv\r"), "\tv\r");
}

}  // namespace
}  // namespace quorvel
