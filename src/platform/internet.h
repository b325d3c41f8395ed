// The internet client: the seven WinInet functions that the web request routine uses, with the
// constants it passes. On Windows they are WinInet's own, bound by name in wininet.dll; on Linux a
// layer over libcurl makes the same exchange. A test program can link a fake of its own instead.
//
// The functions behave as their WinInet namesakes for the arguments the program passes: handles
// are opaque, a null handle means failure, and every call is synchronous.
#pragma once

#include <cstdint>

namespace quorvel::platform {

using HINTERNET = void*;
using INTERNET_PORT = std::uint16_t;

// Access types of InternetOpenA.
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PRECONFIG = 0;
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_DIRECT = 1;
inline constexpr std::uint32_t INTERNET_OPEN_TYPE_PROXY = 3;

// Service of InternetConnectA.
inline constexpr std::uint32_t INTERNET_SERVICE_HTTP = 3;

// Port 0 asks for the service's default port: 443 for a secure request, else 80.
inline constexpr INTERNET_PORT INTERNET_DEFAULT_PORT = 0;
inline constexpr INTERNET_PORT INTERNET_DEFAULT_HTTP_PORT = 80;
inline constexpr INTERNET_PORT INTERNET_DEFAULT_HTTPS_PORT = 443;

// Request flags of HttpOpenRequestA.
inline constexpr std::uint32_t INTERNET_FLAG_RELOAD = 0x80000000;
inline constexpr std::uint32_t INTERNET_FLAG_NEED_FILE = 0x00000010;
inline constexpr std::uint32_t INTERNET_FLAG_NO_COOKIES = 0x00080000;
inline constexpr std::uint32_t INTERNET_FLAG_NO_AUTO_REDIRECT = 0x00200000;
inline constexpr std::uint32_t INTERNET_FLAG_SECURE = 0x00800000;
inline constexpr std::uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS = 0x00004000;
inline constexpr std::uint32_t INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP = 0x00008000;

// Info level of HttpQueryInfoA: the status line and every header line, each ended by CR LF, then
// an empty line.
inline constexpr std::uint32_t HTTP_QUERY_RAW_HEADERS_CRLF = 22;

// A session. `proxy` and `proxyBypass` are read only with INTERNET_OPEN_TYPE_PROXY; the proxy list
// is "host:port" for every protocol or "http=host:port" for plain HTTP only. Null on failure.
HINTERNET InternetOpenA(const char* agent, std::uint32_t accessType, const char* proxy,
                        const char* proxyBypass, std::uint32_t flags);

// A connection to one host and port of the session. Null on failure; the host is not looked up
// before the request is sent.
HINTERNET InternetConnectA(HINTERNET internet, const char* serverName, INTERNET_PORT serverPort,
                           const char* userName, const char* password, std::uint32_t service,
                           std::uint32_t flags, std::uintptr_t context);

// A request for `objectName` (path and query) on the connection. Null on failure.
HINTERNET HttpOpenRequestA(HINTERNET connect, const char* verb, const char* objectName,
                           const char* version, const char* referrer, const char** acceptTypes,
                           std::uint32_t flags, std::uintptr_t context);

// Sends the request with the header lines (separated by CR LF; a length of 0xFFFFFFFF means
// zero-terminated) and the body, and waits for the answer. False when no answer came.
bool HttpSendRequestA(HINTERNET request, const char* headers, std::uint32_t headersLength,
                      const void* optional, std::uint32_t optionalLength);

// Copies up to `numberOfBytesToRead` further bytes of the body; 0 bytes read means the end.
bool InternetReadFile(HINTERNET file, void* buffer, std::uint32_t numberOfBytesToRead,
                      std::uint32_t* numberOfBytesRead);

// With HTTP_QUERY_RAW_HEADERS_CRLF: the raw header block of the final answer, zero-terminated.
// When it does not fit into *bufferLength bytes with its zero, the buffer is left as it was,
// *bufferLength receives the size needed and the result is false. On success *bufferLength is the
// length without the zero.
bool HttpQueryInfoA(HINTERNET request, std::uint32_t infoLevel, void* buffer,
                    std::uint32_t* bufferLength, std::uint32_t* index);

// Closes a handle and the handles opened under it. False for a null or unknown handle.
bool InternetCloseHandle(HINTERNET handle);

}  // namespace quorvel::platform
