#include "internet_fake.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/internet.h"

namespace quorvel::testing_support {

FakeInternet& Fake() {
  static FakeInternet fake;
  return fake;
}

namespace {

std::string Quoted(std::string_view bytes) {
  std::string out = "\"";
  for (unsigned char c : bytes) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

std::string CString(const char* text) { return text == nullptr ? "null" : Quoted(text); }

std::string Handle(platform::HINTERNET handle) {
  if (handle == nullptr) return "null";
  return "h" + std::to_string(reinterpret_cast<std::uintptr_t>(handle));
}

std::string Hex(std::uint32_t value) {
  char hex[11];
  std::snprintf(hex, sizeof hex, "0x%08X", value);
  return hex;
}

std::string Buffer(const void* buffer, std::uint32_t size) {
  if (buffer == nullptr) return "null";
  const auto* bytes = static_cast<const unsigned char*>(buffer);
  const auto all = [&](unsigned char value) {
    return std::all_of(bytes, bytes + size, [&](unsigned char c) { return c == value; });
  };
  if (all(0)) return "[" + std::to_string(size) + " zero bytes]";
  if (all(' ')) return "[" + std::to_string(size) + " spaces]";
  return "[" + std::to_string(size) + " bytes]";
}

platform::HINTERNET NextHandle() {
  return reinterpret_cast<platform::HINTERNET>(static_cast<std::uintptr_t>(++Fake().handlesGiven));
}

void Record(std::string call) { Fake().calls.push_back(std::move(call)); }

}  // namespace
}  // namespace quorvel::testing_support

namespace quorvel::platform {

using testing_support::Fake;

HINTERNET InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy,
                        const char* proxyBypass, std::uint32_t flags) {
  using namespace testing_support;
  Record("InternetOpenA(" + CString(agent) + ", " + std::to_string(accessType) + ", " +
         CString(proxy) + ", " + CString(proxyBypass) + ", " + std::to_string(flags) + ")");
  return Fake().failOpen ? nullptr : NextHandle();
}

HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT serverPort,
                           const char* userName, const char* password, std::uint32_t service,
                           std::uint32_t flags, std::uintptr_t context) {
  using namespace testing_support;
  Record("InternetConnectA(" + Handle(internet) + ", " + CString(serverName) + ", " +
         std::to_string(serverPort) + ", " + CString(userName) + ", " + CString(password) + ", " +
         std::to_string(service) + ", " + std::to_string(flags) + ", " + std::to_string(context) +
         ")");
  return Fake().failConnect ? nullptr : NextHandle();
}

HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           std::uint32_t flags, std::uintptr_t context) {
  using namespace testing_support;
  Record("HttpOpenRequestA(" + Handle(connect) + ", " + CString(verb) + ", " + CString(objectName) +
         ", " + CString(version) + ", " + CString(referrer) + ", " +
         (acceptTypes == nullptr ? "null" : "[accept types]") + ", " + Hex(flags) + ", " +
         std::to_string(context) + ")");
  return Fake().failRequest ? nullptr : NextHandle();
}

bool HttpSendRequestA(HINTERNET request, const char* headers, std::uint32_t headersLength,
                      const void* optional, std::uint32_t optionalLength) {
  using namespace testing_support;
  const std::string block =
      headers == nullptr ? "null" : Quoted(std::string_view(headers, headersLength));
  const std::string body =
      optional == nullptr
          ? "null"
          : Quoted(std::string_view(static_cast<const char*>(optional), optionalLength));
  Record("HttpSendRequestA(" + Handle(request) + ", " + block + ", " +
         std::to_string(headersLength) + ", " + body + ", " + std::to_string(optionalLength) + ")");
  return Fake().rawHeaders.has_value();
}

bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t numberOfBytesToRead,
                      std::uint32_t* numberOfBytesRead) {
  using namespace testing_support;
  Record("InternetReadFile(" + Handle(file) + ", " + Buffer(buffer, numberOfBytesToRead) + ", " +
         std::to_string(numberOfBytesToRead) + ", " + (numberOfBytesRead ? "&n" : "null") + ")");
  std::vector<std::string>& pieces = Fake().bodyPieces;
  *numberOfBytesRead = 0;
  if (pieces.empty()) return true;
  std::string& piece = pieces.front();
  const std::size_t count = std::min<std::size_t>(piece.size(), numberOfBytesToRead);
  std::memcpy(buffer, piece.data(), count);
  *numberOfBytesRead = static_cast<std::uint32_t>(count);
  piece.erase(0, count);
  if (piece.empty()) pieces.erase(pieces.begin());
  return true;
}

bool HttpQueryInfoA(HINTERNET request, std::uint32_t infoLevel, void* buffer,
                    std::uint32_t* bufferLength, std::uint32_t* index) {
  using namespace testing_support;
  Record("HttpQueryInfoA(" + Handle(request) + ", " + std::to_string(infoLevel) + ", " +
         Buffer(buffer, *bufferLength) + ", " + std::to_string(*bufferLength) + ", " +
         (index ? "&index" : "null") + ")");
  const std::optional<std::string>& block = Fake().rawHeaders;
  if (!block) return false;
  if (*bufferLength < block->size() + 1) {
    *bufferLength = static_cast<std::uint32_t>(block->size() + 1);
    return false;
  }
  std::memcpy(buffer, block->c_str(), block->size() + 1);
  *bufferLength = static_cast<std::uint32_t>(block->size());
  return true;
}

bool InternetCloseHandle(HINTERNET handle) {
  using namespace testing_support;
  Record("InternetCloseHandle(" + Handle(handle) + ")");
  return handle != nullptr;
}

}  // namespace quorvel::platform
