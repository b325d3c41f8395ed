#include "resolver/markers.h"

#include <algorithm>
#include <utility>

namespace quorvel {
namespace {

// "#引号" in code page 936: '#' followed by the two characters meaning "quotation mark". A marker
// may spell a double quote this way instead of escaping it.
constexpr char kQuoteEscape[] = "\x23\xD2\xFD\xBA\xC5";

Text UnescapeQuotes(const Text& marker) {
  return ReplaceText(marker, Text(kQuoteEscape), Text("\""), 1, std::nullopt,
                     /*caseSensitive=*/true);
}

}  // namespace

Text TextBetween(const Text& text, const Text& startMarker, const Text& endMarker,
                 int startPosition, bool ignoreCase) {
  const Text start = UnescapeQuotes(startMarker);
  const Text end = UnescapeQuotes(endMarker);
  const int found = FindText(text, start, std::max(startPosition, 1), ignoreCase);
  if (found == -1) return Text();
  // Nothing can stand between markers when the start marker ends the text.
  const long long valueStart = static_cast<long long>(found) + TextLength(start);
  if (valueStart > TextLength(text)) return Text();
  const int valueBegin = static_cast<int>(valueStart);
  const int valueEnd = FindText(text, end, valueBegin, ignoreCase);
  // An empty end marker is "found" at 1, at or before the value: no value.
  if (valueEnd == -1 || valueEnd <= valueBegin) return Text();
  return TextMid(text, valueBegin, valueEnd - valueBegin);
}

Text ReplaceMany(const Text& text, std::optional<int> count, int startPosition, bool caseSensitive,
                 const Text& find1, const Text& replaceWith1, const Text& find2,
                 const Text& replaceWith2, const Text& find3, const Text& replaceWith3,
                 const Text& find4, const Text& replaceWith4, const Text& find5,
                 const Text& replaceWith5) {
  const int start = std::max(startPosition, 1);
  const std::pair<const Text&, const Text&> pairs[] = {{find1, replaceWith1},
                                                       {find2, replaceWith2},
                                                       {find3, replaceWith3},
                                                       {find4, replaceWith4},
                                                       {find5, replaceWith5}};
  Text result = text;
  for (const auto& [find, replaceWith] : pairs) {
    if (find.empty()) continue;
    result = ReplaceText(result, find, replaceWith, start, count, caseSensitive);
  }
  return result;
}

}  // namespace quorvel
