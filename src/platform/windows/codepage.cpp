// Code-page conversion by kernel32's own functions, bound by name at their first call.
#include "platform/codepage.h"

#include <windows.h>

#include "platform/windows/bind_by_name.h"

namespace quorvel::platform {

static_assert(sizeof(char16_t) == sizeof(WCHAR));

int MultiByteToWideChar(unsigned codePage, std::uint32_t flags, const char* multiByte,
                        int multiByteLength, char16_t* wide, int wideSize) {
  static auto* const convert =
      windows::BindByName<decltype(::MultiByteToWideChar)>("kernel32.dll", "MultiByteToWideChar");
  return convert(codePage, flags, multiByte, multiByteLength, reinterpret_cast<LPWSTR>(wide),
                 wideSize);
}

int WideCharToMultiByte(unsigned codePage, std::uint32_t flags, const char16_t* wide,
                        int wideLength, char* multiByte, int multiByteSize, const char* defaultChar,
                        bool* usedDefaultChar) {
  static auto* const convert =
      windows::BindByName<decltype(::WideCharToMultiByte)>("kernel32.dll", "WideCharToMultiByte");
  BOOL usedDefault = FALSE;
  const int result =
      convert(codePage, flags, reinterpret_cast<LPCWCH>(wide), wideLength, multiByte, multiByteSize,
              defaultChar, usedDefaultChar != nullptr ? &usedDefault : nullptr);
  if (usedDefaultChar != nullptr) *usedDefaultChar = usedDefault != FALSE;
  return result;
}

}  // namespace quorvel::platform
