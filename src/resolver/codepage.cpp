#include "resolver/codepage.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace quorvel {
namespace {

constexpr int kUtf8 = 65001;
constexpr int kGbk = 936;

}  // namespace

Bytes UnitsToBytes(std::u16string_view units) {
  Bytes wide;
  wide.reserve(units.size() * 2);
  for (const char16_t unit : units) {
    wide.push_back(static_cast<std::uint8_t>(unit & 0xFF));
    wide.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  return wide;
}

std::u16string BytesToUnits(const Bytes& wide) {
  std::u16string units;
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
    const auto unit = static_cast<char16_t>(wide[i] | (wide[i + 1] << 8));
    if (unit == 0) break;
    units.push_back(unit);
  }
  return units;
}

Bytes MultiToWide(const Text& text, std::optional<int> codePage) {
  const auto page = static_cast<unsigned>(codePage.value_or(kUtf8));
  if (text.empty()) return {};
  const int size = platform::MultiByteToWideChar(page, 0, text.c_str(), -1, nullptr, 0);
  if (size <= 0) return {};
  std::u16string units(static_cast<std::size_t>(size), u'\0');
  if (platform::MultiByteToWideChar(page, 0, text.c_str(), -1, units.data(), size) <= 0) return {};
  return UnitsToBytes(units);
}

Text WideToMulti(const Bytes& wide, std::optional<int> codePage) {
  const auto page = static_cast<unsigned>(codePage.value_or(0));
  if (wide.empty()) return {};
  // A copy that certainly ends in a zero unit, so that no conversion reads past `wide`.
  const std::u16string units = BytesToUnits(wide);
  // The size is measured in the ANSI code page while the conversion is done in `page`, which can
  // need more bytes; twice the measure is room for what the program converts. A conversion that
  // still does not fit fails and gives the empty text, never a text cut short.
  const int measured = platform::WideCharToMultiByte(platform::kCodePageAnsi, 0, units.c_str(), -1,
                                                     nullptr, 0, nullptr, nullptr);
  if (measured <= 0) return {};
  const int room = measured > INT_MAX / 2 ? INT_MAX : 2 * measured;
  std::string buffer(static_cast<std::size_t>(room), '\0');
  const int written = platform::WideCharToMultiByte(page, 0, units.c_str(), -1, buffer.data(), room,
                                                    nullptr, nullptr);
  if (written <= 0) return {};
  // Up to the terminator, and never past what the conversion wrote.
  return Text(std::string_view(buffer.data(), static_cast<std::size_t>(std::min(written, room))));
}

Text Utf8ToLocal(const Text& text) { return WideToMulti(MultiToWide(text), kGbk); }

}  // namespace quorvel
