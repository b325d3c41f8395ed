// Number conversion and formatting.
//
// Integers are 32-bit signed; `double` is the program's number type. Texts are code page 936, so
// full-width digits, signs and points are read like their ASCII forms.
#pragma once

#include <concepts>
#include <cstdint>

#include "textkit/text.h"

namespace quorvel {

// Full-width ASCII forms (0xA3 0xA1 to 0xA3 0xFE) become their one-byte forms, the full-width space
// becomes a space, 0xA1 0xAB becomes '~' and 0xA1 0xEE / 0xA1 0xEF become '*'. Other units stay; a
// final lone byte of 0x80 or above is dropped.
Text ToHalfWidth(const Text& text);

// The longest decimal prefix after leading white space (0x20, 0x09 to 0x0D): optional sign,
// digits with an optional fraction (or a point and digits), an optional exponent introduced by
// e, E, d or D. No digits gives 0; no hexadecimal, infinity or not-a-number forms.
double ToNumber(const Text& value);
double ToNumber(std::int32_t value);

// Leading white space, one optional sign, then decimal digits accumulated with 32-bit wrap-around.
// No digits gives 0.
std::int32_t ToInt(const Text& text);

// Truncated toward zero; the low 32 bits of the whole number.
std::int32_t NumberToInt(double x);

// Rounded to `digits` places (negative: tens, hundreds, ...), half away from zero, with 1e-12
// added to the scaled magnitude so that 1.005 rounds to 1.01.
double RoundNumber(double x, int digits = 0);

// Like printf's "%.13g" but with the exponent always written in three digits ("1e+013"),
// the same bytes on every platform.
Text NumberToText(double x);

// The bitwise OR of all arguments, over the full 32 bits.
template <std::same_as<std::int32_t>... Rest>
constexpr std::int32_t BitOr(std::int32_t a, std::int32_t b, Rest... rest) {
  const std::uint32_t first = static_cast<std::uint32_t>(a) | static_cast<std::uint32_t>(b);
  return static_cast<std::int32_t>((first | ... | static_cast<std::uint32_t>(rest)));
}

}  // namespace quorvel
