// Conversions between the program's code-page-936 texts and the UTF-16 of the W functions, so
// that the window shows the same characters whatever the system's ANSI code page is.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "textkit/text.h"

namespace quorvel::platform::windows {

inline constexpr UINT kTextCodePage = 936;

inline std::wstring WideFrom936(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(kTextCodePage, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(kTextCodePage, 0, bytes.data(), size, wide.data(), units);
  return wide;
}

inline Text TextFromWide(std::wstring_view wide) {
  if (wide.empty()) return Text();
  const int size = static_cast<int>(wide.size());
  const int bytes =
      WideCharToMultiByte(kTextCodePage, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return Text();
  std::string text(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(kTextCodePage, 0, wide.data(), size, text.data(), bytes, nullptr, nullptr);
  return Text(std::move(text));
}

}  // namespace quorvel::platform::windows
