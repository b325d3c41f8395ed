// Marker extraction and multi-replace: how the program reads pages, answers, header blocks and
// addresses without any parser.
#pragma once

#include <optional>

#include "textkit/text.h"

namespace quorvel {

// The text between the first occurrence of `startMarker` (searched from `startPosition`, values
// below 1 counting as 1) and the next occurrence of `endMarker` at or after the end of it. The
// empty text when either is missing, and whenever `endMarker` is empty. In both markers the five
// bytes "#引号" (23 D2 FD BA C5) stand for one double quote.
Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                 int startPosition = 1, bool ignoreCase = false);

// Applies the five find/replace pairs one after the other, each to the result of the one before,
// with `ReplaceText`: from `startPosition` (0 or below means 1), at most `count` times per pair
// (absent: every occurrence), matching exactly when `caseSensitive` is true. A pair with an empty
// find text changes nothing.
Text ReplaceMany(const Text& text, std::optional<int> count, int startPosition, bool caseSensitive,
                 const Text& find1, const Text& replaceWith1, const Text& find2 = Text(),
                 const Text& replaceWith2 = Text(), const Text& find3 = Text(),
                 const Text& replaceWith3 = Text(), const Text& find4 = Text(),
                 const Text& replaceWith4 = Text(), const Text& find5 = Text(),
                 const Text& replaceWith5 = Text());

}  // namespace quorvel
