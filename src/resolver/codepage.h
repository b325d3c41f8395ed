// Code-page conversion. The share page arrives as UTF-8 while every Text is in code page 936;
// the conversions pass through UTF-16.
//
// UTF-16 travels as Bytes: little-endian 16-bit units followed by one zero unit. Readers stop at
// the first zero unit, or at the end of the Bytes when there is none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "textkit/text.h"

namespace quorvel {

// `text` read in `codePage` (absent: 65001, UTF-8) as UTF-16, with the terminating zero unit.
// Empty Bytes for the empty text or text the code page cannot convert.
Bytes MultiToWide(const Text& text, std::optional<int> codePage = std::nullopt);

// The UTF-16 units of `wide` in `codePage` (absent: 0, the ANSI code page). Characters the code
// page lacks become its default character ("?" in 936). The empty text for empty `wide`, or
// when the conversion fails.
Text WideToMulti(const Bytes& wide, std::optional<int> codePage = std::nullopt);

// UTF-16 units as Bytes, little-endian, exactly those units (no terminator is added).
Bytes UnitsToBytes(std::u16string_view units);

// The units of `wide` up to its first zero unit, or all of its whole units when it has none; a
// final odd byte is no unit.
std::u16string BytesToUnits(const Bytes& wide);

// `text` read as UTF-8, in code page 936. Invalid sequences and characters that 936 lacks come
// out as "?".
Text Utf8ToLocal(const Text& text);

}  // namespace quorvel
