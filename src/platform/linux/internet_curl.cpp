// The internet client over libcurl, behaving as WinInet does for the calls the program makes.
//
// Handles are entries of one table, as WinInet keeps them; closing a handle closes the handles
// opened under it. The exchange happens in HttpSendRequestA: it waits for the whole answer, keeps
// the body for InternetReadFile and the final answer's header block for HttpQueryInfoA.
//
// What the request flags ask for:
//   INTERNET_FLAG_RELOAD            nothing is ever answered from a cache (libcurl keeps none).
//   INTERNET_FLAG_NO_COOKIES        the process's cookie store is neither read nor written.
//   INTERNET_FLAG_NO_AUTO_REDIRECT  a redirect answer is the result; otherwise redirects are
//                                   followed: from http to http or https, from https to https
//                                   only, unless INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP allows
//                                   falling back to plain http (a refused one ends the exchange).
//   INTERNET_FLAG_SECURE            TLS with libcurl's default certificate checks.
// Cookies live in memory for the life of the process. A connection that makes no progress for
// 30 s, or an answer that stalls for 60 s, ends the exchange, so no request blocks for ever.
#include <curl/curl.h>
#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/internet.h"

namespace quorvel::platform {
namespace {

constexpr long kConnectTimeoutSeconds = 30;
constexpr long kStallSeconds = 60;
constexpr long kMaxRedirects = 30;

// libcurl's global state and the one cookie store of the process, made at the first request and
// released at exit.
class Curl {
 public:
  static Curl& Get() {
    static Curl curl;
    return curl;
  }
  CURLSH* cookieStore() const { return cookies_.get(); }

 private:
  struct GlobalState {
    GlobalState() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~GlobalState() { curl_global_cleanup(); }
  };
  struct ShareCleanup {
    void operator()(CURLSH* share) const { curl_share_cleanup(share); }
  };

  Curl() : cookies_(curl_share_init()) {
    curl_share_setopt(cookies_.get(), CURLSHOPT_SHARE, CURL_LOCK_DATA_COOKIE);
  }

  GlobalState global_;  // first made, last released
  std::unique_ptr<CURLSH, ShareCleanup> cookies_;
};

struct Session {
  std::string agent;
  std::uint32_t accessType;
  std::string proxy;
  std::string proxyBypass;
};

struct Connection {
  std::string host;
  INTERNET_PORT port;
};

struct Request {
  std::string verb;
  std::string objectName;
  std::string version;
  std::uint32_t flags;
  // The answer, once sent.
  bool answered = false;
  std::string headers{};
  std::string body{};
  std::size_t bodyRead = 0;
};

struct Entry {
  HINTERNET parent;
  std::variant<Session, Connection, Request> object;
};

// Every open handle of the process.
class HandleTable {
 public:
  static HandleTable& Get() {
    static HandleTable table;
    return table;
  }

  HINTERNET Add(HINTERNET parent, std::variant<Session, Connection, Request> object) {
    // Handle values are small numbers, never null and never reused.
    next_ += 4;
    const auto handle = reinterpret_cast<HINTERNET>(next_);
    entries_.emplace(handle, Entry{parent, std::move(object)});
    return handle;
  }

  template <typename T>
  T* Find(HINTERNET handle) {
    const auto it = entries_.find(handle);
    return it == entries_.end() ? nullptr : std::get_if<T>(&it->second.object);
  }

  HINTERNET ParentOf(HINTERNET handle) const {
    const auto it = entries_.find(handle);
    return it == entries_.end() ? nullptr : it->second.parent;
  }

  bool Close(HINTERNET handle) {
    if (handle == nullptr || !entries_.contains(handle)) return false;
    std::vector<HINTERNET> children;
    for (const auto& [child, entry] : entries_) {
      if (entry.parent == handle) children.push_back(child);
    }
    for (HINTERNET child : children) Close(child);
    entries_.erase(handle);
    return true;
  }

 private:
  std::uintptr_t next_ = 0xC0;
  std::map<HINTERNET, Entry> entries_;
};

std::vector<std::string_view> SplitList(std::string_view list, std::string_view separators) {
  std::vector<std::string_view> items;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t end = std::min(list.find_first_of(separators, start), list.size());
    if (end > start) items.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return items;
}

// The proxy of a WinInet proxy list for the scheme ("http" or "https"): an entry "scheme=server"
// for that scheme, else a plain entry "server". Empty when the list names none: go direct.
std::string ProxyFor(std::string_view list, std::string_view scheme) {
  std::string plain;
  for (std::string_view entry : SplitList(list, " ;")) {
    const std::size_t equals = entry.find('=');
    if (equals == std::string_view::npos) {
      if (plain.empty()) plain = entry;
    } else if (entry.substr(0, equals) == scheme) {
      return std::string(entry.substr(equals + 1));
    }
  }
  return plain;
}

// A WinInet bypass list ("host;*.domain;<local>") as libcurl's: "*.domain" becomes "domain",
// which libcurl matches with its subdomains. "<local>" (names without a dot) has no equivalent
// and is left out.
std::string NoProxyFor(std::string_view bypass) {
  std::string hosts;
  for (std::string_view entry : SplitList(bypass, " ;,")) {
    if (entry == "<local>") continue;
    if (entry.starts_with("*.")) entry.remove_prefix(2);
    if (!hosts.empty()) hosts += ',';
    hosts += entry;
  }
  return hosts;
}

bool HasHeader(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    if (line.size() > name.size() && line[name.size()] == ':' &&
        strncasecmp(line.data(), name.data(), name.size()) == 0) {
      return true;
    }
  }
  return false;
}

// The caller's header lines: split at line ends, without empty lines and lines that are no
// header (no ":").
std::vector<std::string> HeaderLines(std::string_view block) {
  std::vector<std::string> lines;
  for (std::string_view line : SplitList(block, "\r\n")) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || colon == 0) continue;
    if (line.find_first_not_of(' ', colon + 1) == std::string_view::npos) {
      // libcurl's way of sending a header with an empty value.
      lines.push_back(std::string(line.substr(0, colon)) + ";");
    } else {
      lines.emplace_back(line);
    }
  }
  return lines;
}

struct HeaderList {
  struct Free {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  };
  std::unique_ptr<curl_slist, Free> list;
  void Append(const std::string& line) {
    curl_slist* grown = curl_slist_append(list.get(), line.c_str());
    if (grown != nullptr) {
      static_cast<void>(list.release());
      list.reset(grown);
    }
  }
};

// Collects the header block of the final answer: every status line starts a new block (an
// interim 100 answer, a followed redirect), lines after the empty line (trailers) are not part
// of it, and every line ends in CR LF whatever the server used.
struct Answer {
  std::string headers{};
  bool headersComplete = false;
  std::string* body;
};

std::size_t OnHeaderLine(char* data, std::size_t size, std::size_t count, void* user) {
  auto& answer = *static_cast<Answer*>(user);
  std::string_view line(data, size * count);
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.starts_with("HTTP/")) {
    answer.headers.clear();
    answer.headersComplete = false;
    answer.body->clear();
  } else if (answer.headersComplete) {
    return size * count;
  }
  answer.headers.append(line).append("\r\n");
  if (line.empty()) answer.headersComplete = true;
  return size * count;
}

std::size_t OnBodyData(char* data, std::size_t size, std::size_t count, void* user) {
  static_cast<Answer*>(user)->body->append(data, size * count);
  return size * count;
}

// The address libcurl is given: spaces in the object name are escaped, as WinInet does.
std::string AddressOf(const Connection& connection, const Request& request, bool secure) {
  INTERNET_PORT port = connection.port;
  if (port == INTERNET_DEFAULT_PORT) {
    port = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
  }
  std::string address = secure ? "https://" : "http://";
  address += connection.host;
  address += ':';
  address += std::to_string(port);
  if (!request.objectName.starts_with('/')) address += '/';
  for (char c : request.objectName) {
    if (c == ' ') {
      address += "%20";
    } else {
      address += c;
    }
  }
  return address;
}

// Whether libcurl reads `address` with `host` as its host: a name holding "?", "#", "@" and the
// like would otherwise lead it to another host than the one asked for.
bool HostIsAsGiven(const std::string& address, const std::string& host) {
  struct Free {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
  };
  std::unique_ptr<CURLU, Free> url(curl_url());
  if (!url || curl_url_set(url.get(), CURLUPART_URL, address.c_str(), 0) != CURLUE_OK) {
    return false;
  }
  char* parsed = nullptr;
  if (curl_url_get(url.get(), CURLUPART_HOST, &parsed, 0) != CURLUE_OK) return false;
  const bool same = strcasecmp(parsed, host.c_str()) == 0;
  curl_free(parsed);
  return same;
}

void ChooseProxy(CURL* easy, const Session& session, bool secure) {
  switch (session.accessType) {
    case INTERNET_OPEN_TYPE_PROXY: {
      const std::string proxy = ProxyFor(session.proxy, secure ? "https" : "http");
      curl_easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
      if (!proxy.empty()) {
        curl_easy_setopt(easy, CURLOPT_NOPROXY, NoProxyFor(session.proxyBypass).c_str());
      }
      break;
    }
    case INTERNET_OPEN_TYPE_DIRECT:
      // Also keeps libcurl from taking a proxy out of the environment.
      curl_easy_setopt(easy, CURLOPT_PROXY, "");
      break;
    default:
      // The system's settings: for libcurl, the proxy variables of the environment.
      break;
  }
}

bool Exchange(const Session& session, const Connection& connection, Request& request,
              std::string_view headerBlock, std::string_view body, bool hasBody) {
  CURLSH* const cookieStore = Curl::Get().cookieStore();
  const bool secure = (request.flags & INTERNET_FLAG_SECURE) != 0;
  const std::string address = AddressOf(connection, request, secure);
  if (!HostIsAsGiven(address, connection.host)) return false;

  struct EasyCleanup {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
  };
  std::unique_ptr<CURL, EasyCleanup> handle(curl_easy_init());
  if (!handle) return false;
  CURL* const easy = handle.get();

  curl_easy_setopt(easy, CURLOPT_URL, address.c_str());
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_PATH_AS_IS, 1L);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  const long httpVersion =
      request.version == "HTTP/1.0" ? CURL_HTTP_VERSION_1_0 : CURL_HTTP_VERSION_1_1;
  curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, httpVersion);
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
  if (!session.agent.empty()) curl_easy_setopt(easy, CURLOPT_USERAGENT, session.agent.c_str());

  if ((request.flags & INTERNET_FLAG_NO_AUTO_REDIRECT) == 0) {
    curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    const bool mayLeaveTls =
        !secure || (request.flags & INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP) != 0;
    curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, mayLeaveTls ? "http,https" : "https");
  }
  if ((request.flags & INTERNET_FLAG_NO_COOKIES) == 0) {
    // The shared store, with the cookie engine switched on ("" names no file to read).
    curl_easy_setopt(easy, CURLOPT_SHARE, cookieStore);
    curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
  }
  ChooseProxy(easy, session, secure);
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);

  if (request.verb == "HEAD") {
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
  } else if (request.verb == "POST" || hasBody) {
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(easy, CURLOPT_COPYPOSTFIELDS, body.empty() ? "" : body.data());
    if (request.verb != "POST") curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
  } else if (request.verb != "GET") {
    curl_easy_setopt(easy, CURLOPT_CUSTOMREQUEST, request.verb.c_str());
  }

  // The caller's lines go out as given. libcurl's own Accept, Content-Type and Expect lines,
  // which WinInet would not add, are left out.
  const std::vector<std::string> lines = HeaderLines(headerBlock);
  HeaderList sent;
  for (const std::string& line : lines) sent.Append(line);
  for (const char* name : {"Accept", "Content-Type", "Expect"}) {
    if (!HasHeader(lines, name)) sent.Append(std::string(name) + ":");
  }
  curl_easy_setopt(easy, CURLOPT_HTTPHEADER, sent.list.get());

  Answer answer{.body = &request.body};
  curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, OnHeaderLine);
  curl_easy_setopt(easy, CURLOPT_HEADERDATA, &answer);
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, OnBodyData);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, &answer);

  // A transfer that fails part-way keeps the answer's headers and the part of the body that came.
  curl_easy_perform(easy);
  request.answered = answer.headersComplete;
  if (request.answered) {
    request.headers = std::move(answer.headers);
  } else {
    request.body.clear();
  }
  return request.answered;
}

}  // namespace

HINTERNET InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy,
                        const char* proxyBypass, std::uint32_t /*flags*/) {
  constexpr std::uint32_t kPreconfigWithoutAutoProxy = 4;
  if (accessType != INTERNET_OPEN_TYPE_PRECONFIG && accessType != INTERNET_OPEN_TYPE_DIRECT &&
      accessType != INTERNET_OPEN_TYPE_PROXY && accessType != kPreconfigWithoutAutoProxy) {
    return nullptr;
  }
  Session session{agent != nullptr ? agent : "", accessType, "", ""};
  if (accessType == INTERNET_OPEN_TYPE_PROXY) {
    if (proxy == nullptr || *proxy == '\0') return nullptr;
    session.proxy = proxy;
    if (proxyBypass != nullptr) session.proxyBypass = proxyBypass;
  }
  return HandleTable::Get().Add(nullptr, std::move(session));
}

HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT serverPort,
                           const char* /*userName*/, const char* /*password*/,
                           std::uint32_t service, std::uint32_t /*flags*/,
                           std::uintptr_t /*context*/) {
  HandleTable& handles = HandleTable::Get();
  if (handles.Find<Session>(internet) == nullptr) return nullptr;
  if (serverName == nullptr || *serverName == '\0' || service != INTERNET_SERVICE_HTTP) {
    return nullptr;
  }
  return handles.Add(internet, Connection{serverName, serverPort});
}

HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* /*referrer*/,
                           const char** /*acceptTypes*/, std::uint32_t flags,
                           std::uintptr_t /*context*/) {
  HandleTable& handles = HandleTable::Get();
  if (handles.Find<Connection>(connect) == nullptr) return nullptr;
  Request request{
      .verb = verb != nullptr && *verb != '\0' ? verb : "GET",
      .objectName = objectName != nullptr ? objectName : "",
      .version = version != nullptr && *version != '\0' ? version : "HTTP/1.1",
      .flags = flags,
  };
  return handles.Add(connect, std::move(request));
}

bool HttpSendRequestA(HINTERNET request, const char* headers, std::uint32_t headersLength,
                      const void* optional, std::uint32_t optionalLength) {
  HandleTable& handles = HandleTable::Get();
  Request* const sent = handles.Find<Request>(request);
  if (sent == nullptr) return false;
  const HINTERNET connectionHandle = handles.ParentOf(request);
  const Connection* const connection = handles.Find<Connection>(connectionHandle);
  const Session* const session = handles.Find<Session>(handles.ParentOf(connectionHandle));
  if (connection == nullptr || session == nullptr) return false;

  std::string_view block;
  if (headers != nullptr) {
    block = headersLength == 0xFFFFFFFF ? std::string_view(headers)
                                        : std::string_view(headers, headersLength);
  }
  const bool hasBody = optional != nullptr && optionalLength > 0;
  const std::string_view body =
      hasBody ? std::string_view(static_cast<const char*>(optional), optionalLength)
              : std::string_view();

  sent->answered = false;
  sent->headers.clear();
  sent->body.clear();
  sent->bodyRead = 0;
  return Exchange(*session, *connection, *sent, block, body, hasBody);
}

bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t numberOfBytesToRead,
                      std::uint32_t* numberOfBytesRead) {
  if (numberOfBytesRead == nullptr) return false;
  *numberOfBytesRead = 0;
  Request* const request = HandleTable::Get().Find<Request>(file);
  if (request == nullptr || !request->answered || buffer == nullptr) return false;
  const std::size_t count =
      std::min<std::size_t>(numberOfBytesToRead, request->body.size() - request->bodyRead);
  std::memcpy(buffer, request->body.data() + request->bodyRead, count);
  request->bodyRead += count;
  *numberOfBytesRead = static_cast<std::uint32_t>(count);
  return true;
}

bool HttpQueryInfoA(HINTERNET request, std::uint32_t infoLevel, void* buffer,
                    std::uint32_t* bufferLength, std::uint32_t* /*index*/) {
  const Request* const queried = HandleTable::Get().Find<Request>(request);
  if (queried == nullptr || bufferLength == nullptr || !queried->answered ||
      infoLevel != HTTP_QUERY_RAW_HEADERS_CRLF) {
    return false;
  }
  const std::size_t needed = queried->headers.size() + 1;
  if (buffer == nullptr || *bufferLength < needed) {
    *bufferLength = static_cast<std::uint32_t>(needed);
    return false;
  }
  std::memcpy(buffer, queried->headers.c_str(), needed);
  *bufferLength = static_cast<std::uint32_t>(queried->headers.size());
  return true;
}

bool InternetCloseHandle(HINTERNET handle) { return HandleTable::Get().Close(handle); }

}  // namespace quorvel::platform
