#include "web/web_request.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/internet.h"
#include "resolver/markers.h"
#include "web/cookies.h"
#include "web/url.h"

namespace quorvel {
namespace {

constexpr char kDefaultAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";
constexpr char kHttpVersion[] = "HTTP/1.1";
constexpr std::uint32_t kReadChunk = 1024;
constexpr int kHeaderBufferSize = 5000;

// One internet handle, closed when it goes out of scope, a null one included. Declared in the
// order internet, connection, request, the three are closed in the reverse order on every path.
class InternetHandle {
 public:
  explicit InternetHandle(platform::HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() { platform::InternetCloseHandle(handle_); }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  platform::HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  platform::HINTERNET handle_;
};

// A control byte would end the request line or the Referer line early and let the rest of the
// address pass for header lines of its own; a port beyond 16 bits would reach another port.
bool CanBeSent(const Text& url) {
  const bool hasControlByte =
      std::any_of(url.view().begin(), url.view().end(), [](unsigned char c) { return c < 0x20; });
  if (hasControlByte) return false;
  const int port = UrlPort(url);
  return port >= 0 && port <= 0xFFFF;
}

// The agent named by a "User-Agent:" line of the caller's, else the default one.
Text AgentFor(const Text& headers) {
  const int at = FindText(headers, "User-Agent:", 1, true);
  if (at == -1) return kDefaultAgent;
  Text agent = TrimBoth(TextBetween(headers, "User-Agent:", "\r\n"));
  if (agent.empty()) {
    // The line is the last one or spelt in another case: take the value of the line that holds
    // the name. On a one-line block such as "User-Agent: X" that is the value after the block's
    // first ":", and it never reaches into a following line.
    const int previousEnd = FindTextReverse(headers, "\r\n", at);
    const int lineStart = previousEnd == -1 ? 1 : previousEnd + 2;
    const int nextEnd = FindText(headers, "\r\n", at);
    const int lineEnd = nextEnd == -1 ? TextLength(headers) + 1 : nextEnd;
    agent = HeaderValue(TextMid(headers, lineStart, lineEnd - lineStart));
  }
  return agent;
}

// The caller's header lines completed with the default ones. The tests are case-sensitive and
// look at the block as built so far.
Text CompleteHeaderBlock(const Text& headers, const Text& url, const Text* sendCookies) {
  Text block = headers;
  if (block.empty()) {
    block = "Accept: */*";
  } else if (FindText(block, "Accept:") == -1) {
    block = ConcatText({block, "\r\nAccept: */*"});
  }
  if (FindText(block, "Referer:") == -1) block = ConcatText({block, "\r\nReferer: ", url});
  if (FindText(block, "Accept-Language:") == -1) {
    block = ConcatText({block, "\r\nAccept-Language: zh-cn"});
  }
  if (FindText(block, "Content-Type:") == -1) {
    block = ConcatText({block, "\r\nContent-Type: application/x-www-form-urlencoded"});
  }
  if (sendCookies != nullptr && !sendCookies->empty()) {
    block = ConcatText({block, "\r\nCookie: ", *sendCookies});
  }
  return block;
}

// "name=value" of every Set-Cookie line, without the attributes, joined by "; ".
Text CookiesSetBy(const Text& responseHeaders) {
  Text cookies;
  for (const Text& line : SplitText(responseHeaders, "\r\n")) {
    if (FindText(line, "Set-Cookie") == -1) continue;
    const Text cookie = FindText(line, ";") == -1
                            ? TrimBoth(ReplaceText(line, "Set-Cookie:", Text(), 1, std::nullopt,
                                                   /*caseSensitive=*/false))
                            : TrimBoth(TextBetween(line, "Set-Cookie:", ";"));
    cookies = ConcatText({cookies, cookie, "; "});
  }
  return TextLeft(cookies, TextLength(cookies) - 2);
}

}  // namespace

Text HeaderValue(const Text& line) {
  const int colon = FindText(line, ":");
  if (colon == -1) return Text();
  return TrimBoth(TextRight(line, TextLength(line) - colon));
}

Bytes WebRequest(const Text& url, int method, const Text& postText, Text* sendCookies,
                 Text* receivedCookies, Text* extraHeaders, Text* responseHeaders, bool noRedirect,
                 Bytes* postBytes, const Text& proxy) {
  if (!CanBeSent(url)) return Bytes();

  const Text verb = method == 1 ? "POST" : "GET";
  const bool secure = CompareText(ToLower(TextLeft(url, 5)), "https") == 0;
  const Text givenHeaders = extraHeaders != nullptr ? *extraHeaders : Text();
  const Text agent = AgentFor(givenHeaders);

  Bytes body;
  Text headers;
  {
    const char* agentArg = agent.empty() ? nullptr : agent.c_str();
    const Text proxyList = secure ? proxy : ConcatText({"http=", proxy});
    InternetHandle internet(
        proxy.empty() ? platform::InternetOpenA(agentArg, platform::INTERNET_OPEN_TYPE_DIRECT,
                                                nullptr, nullptr, 0)
                      : platform::InternetOpenA(agentArg, platform::INTERNET_OPEN_TYPE_PROXY,
                                                proxyList.c_str(), "", 0));
    if (!internet) return Bytes();

    const Text host = UrlHost(url);
    InternetHandle connection(platform::InternetConnectA(
        internet.get(), host.c_str(), static_cast<platform::INTERNET_PORT>(UrlPort(url)), nullptr,
        nullptr, platform::INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return Bytes();

    std::uint32_t flags = platform::INTERNET_FLAG_RELOAD | platform::INTERNET_FLAG_NEED_FILE;
    if (sendCookies != nullptr) flags |= platform::INTERNET_FLAG_NO_COOKIES;
    if (noRedirect) flags |= platform::INTERNET_FLAG_NO_AUTO_REDIRECT;
    flags |=
        secure ? platform::INTERNET_FLAG_SECURE : platform::INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;

    const Text path = UrlPath(url);
    InternetHandle request(platform::HttpOpenRequestA(connection.get(), verb.c_str(), path.c_str(),
                                                      kHttpVersion, nullptr, nullptr, flags, 0));
    if (!request) return Bytes();

    const Text block = CompleteHeaderBlock(givenHeaders, url, sendCookies);
    if (extraHeaders != nullptr) *extraHeaders = block;
    const auto blockLength = static_cast<std::uint32_t>(block.size());

    if (method == 0) {
      platform::HttpSendRequestA(request.get(), block.c_str(), blockLength, "", 0);
    } else {
      Bytes ownBody;
      Bytes& sent = postBytes != nullptr ? *postBytes : ownBody;
      if (sent.empty()) sent = ToBytes(postText);
      platform::HttpSendRequestA(request.get(), block.c_str(), blockLength,
                                 sent.empty() ? nullptr : sent.data(),
                                 static_cast<std::uint32_t>(sent.size()));
    }

    for (;;) {
      std::array<std::uint8_t, kReadChunk> chunk{};
      std::uint32_t delivered = 0;
      platform::InternetReadFile(request.get(), chunk.data(), kReadChunk, &delivered);
      if (delivered == 0) break;
      body.insert(body.end(), chunk.begin(), chunk.begin() + std::min(delivered, kReadChunk));
    }

    // The block fits only together with its terminating zero; otherwise the spaces stay.
    std::string buffer(kHeaderBufferSize, ' ');
    std::uint32_t bufferLength = kHeaderBufferSize;
    platform::HttpQueryInfoA(request.get(), platform::HTTP_QUERY_RAW_HEADERS_CRLF, buffer.data(),
                             &bufferLength, nullptr);
    headers = ReplaceText(Text(std::move(buffer)), "Set-Cookie", "Set-Cookie", 1, std::nullopt,
                          /*caseSensitive=*/false);
  }

  Text cookies = CookiesSetBy(headers);
  if (sendCookies != nullptr) MergeCookies(*sendCookies, cookies);
  if (responseHeaders != nullptr) *responseHeaders = std::move(headers);
  if (receivedCookies != nullptr) *receivedCookies = std::move(cookies);
  return body;
}

}  // namespace quorvel
