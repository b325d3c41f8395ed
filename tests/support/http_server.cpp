#include "support/http_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <utility>

namespace quorvel::testing_support {
namespace {

#ifdef _WIN32
using NativeSocket = SOCKET;
constexpr NativeSocket kNoSocket = INVALID_SOCKET;
void CloseNative(NativeSocket s) { closesocket(s); }
constexpr int kSendFlags = 0;
constexpr int kShutWrite = SD_SEND;
#else
using NativeSocket = int;
constexpr NativeSocket kNoSocket = -1;
void CloseNative(NativeSocket s) { close(s); }
constexpr int kSendFlags = MSG_NOSIGNAL;
constexpr int kShutWrite = SHUT_WR;
#endif

constexpr auto kPoll = std::chrono::milliseconds(50);
// A client that goes quiet this long in the middle of a request is given up.
constexpr auto kIdleLimit = std::chrono::seconds(10);

// Winsock is started for each server and stopped with it.
struct SocketLibrary {
#ifdef _WIN32
  SocketLibrary() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~SocketLibrary() { WSACleanup(); }
#endif
};

class Socket {
 public:
  explicit Socket(NativeSocket s = kNoSocket) : s_(s) {}
  ~Socket() {
    if (s_ != kNoSocket) CloseNative(s_);
  }
  Socket(Socket&& other) noexcept : s_(std::exchange(other.s_, kNoSocket)) {}
  Socket& operator=(Socket&& other) noexcept {
    std::swap(s_, other.s_);
    return *this;
  }
  NativeSocket get() const { return s_; }
  bool valid() const { return s_ != kNoSocket; }

 private:
  NativeSocket s_;
};

// Whether `s` becomes readable within one poll interval.
bool Readable(NativeSocket s) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{0, static_cast<long>(std::chrono::microseconds(kPoll).count())};
  return select(static_cast<int>(s + 1), &set, nullptr, nullptr, &wait) > 0;
}

bool SendAll(NativeSocket s, std::string_view bytes) {
  while (!bytes.empty()) {
    const int sent = send(s, bytes.data(), static_cast<int>(bytes.size()), kSendFlags);
    if (sent <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(sent));
  }
  return true;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The request line and header lines of `head` (without the final empty line).
bool ParseHead(std::string_view head, HttpRequest& request) {
  std::size_t lineEnd = head.find("\r\n");
  const std::string_view requestLine = head.substr(0, lineEnd);
  const std::size_t firstSpace = requestLine.find(' ');
  const std::size_t lastSpace = requestLine.rfind(' ');
  if (firstSpace == std::string_view::npos || lastSpace == firstSpace) return false;
  request.method = requestLine.substr(0, firstSpace);
  request.target = requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
  request.version = requestLine.substr(lastSpace + 1);
  while (lineEnd != std::string_view::npos) {
    const std::size_t start = lineEnd + 2;
    lineEnd = head.find("\r\n", start);
    const std::string_view line = head.substr(start, lineEnd - start);
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
  }
  return true;
}

std::string Serialise(const HttpResponse& response) {
  std::string out = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
  bool hasLength = false;
  for (const auto& [name, value] : response.headers) {
    out += name + ": " + value + "\r\n";
    hasLength = hasLength || SameName(name, "Content-Length");
  }
  if (!hasLength) out += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
  out += "Connection: close\r\n\r\n";
  return out + response.body;
}

}  // namespace

std::optional<std::string> HttpRequest::Header(std::string_view name) const {
  for (const auto& [key, value] : headers) {
    if (SameName(key, name)) return value;
  }
  return std::nullopt;
}

std::vector<std::string> HttpRequest::HeaderValues(std::string_view name) const {
  std::vector<std::string> values;
  for (const auto& [key, value] : headers) {
    if (SameName(key, name)) values.push_back(value);
  }
  return values;
}

struct HttpServer::Listener {
  SocketLibrary library;
  Socket socket;
};

HttpServer::HttpServer(Handler handler)
    : handler_(std::move(handler)), listener_(std::make_unique<Listener>()) {
  Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (!s.valid() || bind(s.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(s.get(), 16) != 0 ||
      getsockname(s.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    std::abort();  // a test machine without a loopback interface cannot run these tests
  }
  port_ = ntohs(address.sin_port);
  listener_->socket = std::move(s);
  thread_ = std::thread([this] { Run(); });
}

HttpServer::~HttpServer() {
  stopping_ = true;
  thread_.join();
}

std::string HttpServer::HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

std::string HttpServer::Url(std::string_view pathAndQuery) const {
  return "http://" + HostPort() + std::string(pathAndQuery);
}

std::vector<HttpRequest> HttpServer::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void HttpServer::Run() {
  while (!stopping_) {
    if (!Readable(listener_->socket.get())) continue;
    const NativeSocket accepted = accept(listener_->socket.get(), nullptr, nullptr);
    if (accepted == kNoSocket) continue;
    ++connections_;
    Serve(static_cast<std::intptr_t>(accepted));
  }
}

void HttpServer::Serve(std::intptr_t connection) {
  const Socket client(static_cast<NativeSocket>(connection));
  std::string received;
  std::size_t headEnd = std::string::npos;
  std::size_t bodyLength = 0;
  bool continued = false;
  HttpRequest request;
  auto lastData = std::chrono::steady_clock::now();

  for (;;) {
    if (headEnd == std::string::npos) {
      headEnd = received.find("\r\n\r\n");
      if (headEnd != std::string::npos) {
        if (!ParseHead(std::string_view(received).substr(0, headEnd), request)) return;
        const auto length = request.Header("Content-Length");
        bodyLength = length ? std::strtoul(length->c_str(), nullptr, 10) : 0;
      }
    }
    if (headEnd != std::string::npos) {
      const auto expect = request.Header("Expect");
      if (!continued && expect && SameName(*expect, "100-continue")) {
        continued = true;
        if (!SendAll(client.get(), "HTTP/1.1 100 Continue\r\n\r\n")) return;
      }
      if (received.size() - (headEnd + 4) >= bodyLength) break;
    }
    if (stopping_ || std::chrono::steady_clock::now() - lastData > kIdleLimit) return;
    if (!Readable(client.get())) continue;
    char chunk[16384];
    const int got = recv(client.get(), chunk, sizeof chunk, 0);
    if (got <= 0) return;
    received.append(chunk, static_cast<std::size_t>(got));
    lastData = std::chrono::steady_clock::now();
  }

  request.body = received.substr(headEnd + 4, bodyLength);
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(request);
  }
  SendAll(client.get(), Serialise(handler_(request)));
  shutdown(client.get(), kShutWrite);
  // Let the client read the whole answer and close first, so that closing here cannot reset it.
  const auto closing = std::chrono::steady_clock::now();
  while (!stopping_ && std::chrono::steady_clock::now() - closing < std::chrono::seconds(2)) {
    if (!Readable(client.get())) continue;
    char chunk[4096];
    if (recv(client.get(), chunk, sizeof chunk, 0) <= 0) break;
  }
}

int ClosedLocalPort() {
  [[maybe_unused]] const SocketLibrary library;
  const Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(s.get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(s.get(), reinterpret_cast<sockaddr*>(&address), &length);
  return ntohs(address.sin_port);
}

bool LocalPortOpen(int port) {
  [[maybe_unused]] const SocketLibrary library;
  const Socket s(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return s.valid() && connect(s.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace quorvel::testing_support
