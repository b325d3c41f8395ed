// Conversions between the program's code-page-936 texts and Qt's Unicode strings, used wherever a
// text crosses into Qt. They go through the code-page service, so the window shows and gives back
// the same characters as the Windows build: characters that code page 936 lacks become '?'.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "textkit/text.h"

namespace quorvel::platform::qt {

inline QString FromText(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int units = MultiByteToWideChar(kCodePageGbk, 0, bytes.data(), size, nullptr, 0);
  if (units <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(units), u'\0');
  MultiByteToWideChar(kCodePageGbk, 0, bytes.data(), size, wide.data(), units);
  return QString::fromUtf16(wide.data(), units);
}

inline Text ToText(const QString& text) {
  if (text.isEmpty()) return Text();
  const auto* wide = reinterpret_cast<const char16_t*>(text.utf16());
  const int size = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(kCodePageGbk, 0, wide, size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return Text();
  std::string multiByte(static_cast<std::size_t>(bytes), '\0');
  WideCharToMultiByte(kCodePageGbk, 0, wide, size, multiByte.data(), bytes, nullptr, nullptr);
  return Text(std::move(multiByte));
}

}  // namespace quorvel::platform::qt
