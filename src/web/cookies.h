// Merging the cookies that a server just set into a caller's own cookie list.
#pragma once

#include "textkit/text.h"

namespace quorvel {

// Folds `newCookies` into `oldCookies`, both changed in place: every space is removed from both;
// `oldCookies` becomes the received items in order, then the old items whose name was not among
// them (the first of each name), leaving out items that end in "=deleted" and exact repeats,
// joined by "; ". Returns a copy of the merged list.
Text MergeCookies(Text& oldCookies, Text& newCookies);

// The bytes before the first "=" (all of them when there is none), trimmed.
Text CookieName(const Text& cookie);

// Whether some item's `CookieName` is exactly `name`.
bool HasCookie(const TextArray& cookies, const Text& name);

// `text` split at `separator`, each distinct item kept at its first occurrence, joined again.
Text DedupePieces(const Text& text, const Text& separator);

// The 1-based index of the first item exactly equal to `value`, or -1.
int FindInArray(const TextArray& items, const Text& value);

}  // namespace quorvel
