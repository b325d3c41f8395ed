// The internet client: WinInet itself. Each function is looked up in wininet.dll at its first call
// and kept for the later ones.
#include "platform/internet.h"
#include "platform/windows/bind_by_name.h"

namespace quorvel::platform {
namespace {

constexpr char kLibrary[] = "wininet.dll";

// WinInet's prototypes, as its documentation gives them.
using WinInetHandle = void*;
using InternetOpenAFn = WinInetHandle WINAPI(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using InternetConnectAFn = WinInetHandle WINAPI(WinInetHandle, LPCSTR, WORD, LPCSTR, LPCSTR, DWORD,
                                                DWORD, DWORD_PTR);
using HttpOpenRequestAFn = WinInetHandle WINAPI(WinInetHandle, LPCSTR, LPCSTR, LPCSTR, LPCSTR,
                                                LPCSTR*, DWORD, DWORD_PTR);
using HttpSendRequestAFn = BOOL WINAPI(WinInetHandle, LPCSTR, DWORD, LPVOID, DWORD);
using InternetReadFileFn = BOOL WINAPI(WinInetHandle, LPVOID, DWORD, LPDWORD);
using HttpQueryInfoAFn = BOOL WINAPI(WinInetHandle, DWORD, LPVOID, LPDWORD, LPDWORD);
using InternetCloseHandleFn = BOOL WINAPI(WinInetHandle);

template <typename Fn>
Fn* Bind(const char* function) {
  return windows::BindByName<Fn>(kLibrary, function);
}

}  // namespace

HINTERNET InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy,
                        const char* proxyBypass, std::uint32_t flags) {
  static InternetOpenAFn* const fn = Bind<InternetOpenAFn>("InternetOpenA");
  return fn(agent, accessType, proxy, proxyBypass, flags);
}

HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT serverPort,
                           const char* userName, const char* password, std::uint32_t service,
                           std::uint32_t flags, std::uintptr_t context) {
  static InternetConnectAFn* const fn = Bind<InternetConnectAFn>("InternetConnectA");
  return fn(internet, serverName, serverPort, userName, password, service, flags, context);
}

HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           std::uint32_t flags, std::uintptr_t context) {
  static HttpOpenRequestAFn* const fn = Bind<HttpOpenRequestAFn>("HttpOpenRequestA");
  return fn(connect, verb, objectName, version, referrer, acceptTypes, flags, context);
}

bool HttpSendRequestA(HINTERNET request, const char* headers, std::uint32_t headersLength,
                      const void* optional, std::uint32_t optionalLength) {
  static HttpSendRequestAFn* const fn = Bind<HttpSendRequestAFn>("HttpSendRequestA");
  // WinInet only reads the body, although its prototype takes a non-const pointer.
  return fn(request, headers, headersLength, const_cast<void*>(optional), optionalLength) != FALSE;
}

bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t numberOfBytesToRead,
                      std::uint32_t* numberOfBytesRead) {
  static InternetReadFileFn* const fn = Bind<InternetReadFileFn>("InternetReadFile");
  DWORD read = 0;
  const BOOL ok =
      fn(file, buffer, numberOfBytesToRead, numberOfBytesRead != nullptr ? &read : nullptr);
  if (numberOfBytesRead != nullptr) *numberOfBytesRead = read;
  return ok != FALSE;
}

bool HttpQueryInfoA(HINTERNET request, std::uint32_t infoLevel, void* buffer,
                    std::uint32_t* bufferLength, std::uint32_t* index) {
  static HttpQueryInfoAFn* const fn = Bind<HttpQueryInfoAFn>("HttpQueryInfoA");
  DWORD length = bufferLength != nullptr ? *bufferLength : 0;
  DWORD position = index != nullptr ? *index : 0;
  const BOOL ok = fn(request, infoLevel, buffer, bufferLength != nullptr ? &length : nullptr,
                     index != nullptr ? &position : nullptr);
  if (bufferLength != nullptr) *bufferLength = length;
  if (index != nullptr) *index = position;
  return ok != FALSE;
}

bool InternetCloseHandle(HINTERNET handle) {
  static InternetCloseHandleFn* const fn = Bind<InternetCloseHandleFn>("InternetCloseHandle");
  return fn(handle) != FALSE;
}

}  // namespace quorvel::platform
