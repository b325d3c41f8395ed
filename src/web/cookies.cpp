#include "web/cookies.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace quorvel {

Text MergeCookies(Text& oldCookies, Text& newCookies) {
  oldCookies = RemoveSpaces(oldCookies);
  newCookies = RemoveSpaces(newCookies);

  // The received items first, then each old item whose name is not yet in the list; the test
  // looks at the list as it grows, so only the first old item of a name is taken.
  TextArray merged = SplitText(newCookies, ";");
  for (const Text& item : SplitText(oldCookies, ";")) {
    if (!HasCookie(merged, CookieName(item))) ArrayAppend(merged, item);
  }

  // A received "name=deleted" has displaced the old cookie of that name and is dropped itself.
  std::string joined;
  for (const Text& item : merged) {
    if (TextRight(item, 8) == Text("=deleted")) continue;
    joined += item.str();
    joined += "; ";
  }
  joined.resize(joined.size() - std::min<std::size_t>(joined.size(), 2));
  oldCookies = DedupePieces(Text(std::move(joined)), "; ");
  return oldCookies;
}

Text CookieName(const Text& cookie) {
  const int equals = FindText(cookie, "=");
  return TrimBoth(equals == -1 ? cookie : TextLeft(cookie, equals - 1));
}

bool HasCookie(const TextArray& cookies, const Text& name) {
  for (const Text& cookie : cookies) {
    if (CompareText(CookieName(cookie), name) == 0) return true;
  }
  return false;
}

Text DedupePieces(const Text& text, const Text& separator) {
  TextArray seen;
  std::string result;
  for (const Text& piece : SplitText(text, separator)) {
    if (FindInArray(seen, piece) != -1) continue;
    ArrayAppend(seen, piece);
    result += piece.str();
    result += separator.str();
  }
  result.resize(result.size() - std::min(result.size(), separator.size()));
  return Text(std::move(result));
}

int FindInArray(const TextArray& items, const Text& value) {
  for (int i = 1; i <= ArrayCount(items); ++i) {
    if (CompareText(ArrayItem(items, i), value) == 0) return i;
  }
  return -1;
}

}  // namespace quorvel
