#include "textkit/text.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>

namespace quorvel {

Text::Text(const char* zeroTerminated) {
  if (zeroTerminated != nullptr) bytes_.assign(zeroTerminated);
}

Text::Text(std::string_view bytes) : bytes_(bytes.substr(0, bytes.find('\0'))) {}

Text::Text(std::string&& bytes) : bytes_(std::move(bytes)) {
  if (const auto zero = bytes_.find('\0'); zero != std::string::npos) bytes_.resize(zero);
}

namespace {

constexpr std::size_t kNone = std::string_view::npos;

constexpr bool IsHigh(char c) { return static_cast<unsigned char>(c) >= 0x80; }

constexpr char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Length of the unit that begins at `i`: two bytes for a byte of 0x80 or above that has a byte
// after it, one otherwise (a final lone high byte is a unit by itself).
std::size_t UnitLength(std::string_view s, std::size_t i) {
  return (IsHigh(s[i]) && i + 1 < s.size()) ? 2 : 1;
}

bool EqualFolded(const char* a, const char* b, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  }
  return true;
}

// Positions are clamped to int so that a text beyond 2 GiB cannot wrap them.
int ToPosition(std::size_t index) {
  return index >= static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(index) + 1;
}

int ToLength(std::size_t size) {
  return size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
}

// Finds `sought` in `hay` at unit starts only, the units of `hay` being formed from the byte a
// walk is (re)started at.
//
// Candidates come from a plain byte search; whether a candidate begins a unit is decided by the
// run of high bytes just before it. The byte after a byte below 0x80 always begins a unit (that
// byte ends a unit whether it stands alone or second in a pair), and within a run of high bytes
// units pair up from the run's start, so a candidate begins a unit exactly when an even number
// of high bytes separates it from the last low byte or from the walk's start. Each such look-back
// stops at the last position already known to begin a unit, so a whole walk stays linear.
class UnitSearcher {
 public:
  UnitSearcher(std::string_view hay, std::string_view sought, bool ignoreCase)
      : hay_(hay), sought_(sought), ignoreCase_(ignoreCase) {
    if (ignoreCase_ && !sought_.empty()) {
      lowerFirst_ = FoldAscii(sought_[0]);
      upperFirst_ = (lowerFirst_ >= 'a' && lowerFirst_ <= 'z') ? static_cast<char>(lowerFirst_ - 32)
                                                               : lowerFirst_;
    }
  }

  // The first match at or after `from`, a position the walk treats as a unit start (the start of
  // the walk, or a position right after a match or after a unit), or kNone. `sought` must not be
  // empty, and calls must not go backwards.
  std::size_t Next(std::size_t from) {
    known_ = from;
    while (true) {
      const std::size_t candidate = ignoreCase_ ? FindFolded(from) : hay_.find(sought_, from);
      if (candidate == kNone) return kNone;
      if (BeginsUnit(candidate)) return candidate;
      from = candidate + 1;  // The candidate is the second byte of a pair: a unit begins after it.
      known_ = from;
    }
  }

 private:
  bool BeginsUnit(std::size_t p) const {
    std::size_t i = p;
    while (i > known_ && IsHigh(hay_[i - 1])) --i;
    return (p - i) % 2 == 0;
  }

  // Next position at or after `from` where the folded bytes of `sought` stand.
  std::size_t FindFolded(std::size_t from) {
    const std::size_t m = sought_.size();
    while (from + m <= hay_.size()) {
      const std::size_t p = NextFirstByte(from);
      if (p == kNone || p + m > hay_.size()) return kNone;
      if (EqualFolded(hay_.data() + p + 1, sought_.data() + 1, m - 1)) return p;
      from = p + 1;
    }
    return kNone;
  }

  // Next position at or after `from` of either case of the first sought byte. The last hit of
  // each case is kept, so repeated calls scan every byte once per case.
  std::size_t NextFirstByte(std::size_t from) {
    const std::size_t lower = CachedFind(lowerFirst_, from, nextLower_);
    if (upperFirst_ == lowerFirst_) return lower;
    const std::size_t upper = CachedFind(upperFirst_, from, nextUpper_);
    return std::min(lower, upper);
  }

  std::size_t CachedFind(char c, std::size_t from, std::size_t& cache) const {
    // A cached kNone stays true for every later `from`; a cached hit only until it is passed.
    if (cache == kUnset || (cache != kNone && cache < from)) cache = hay_.find(c, from);
    return cache;
  }

  static constexpr std::size_t kUnset = kNone - 1;

  std::string_view hay_;
  std::string_view sought_;
  bool ignoreCase_;
  char lowerFirst_ = 0;
  char upperFirst_ = 0;
  std::size_t nextLower_ = kUnset;
  std::size_t nextUpper_ = kUnset;
  std::size_t known_ = 0;  // A position known to begin a unit; look-backs stop there.
};

bool IsSpaceUnit(std::string_view s, std::size_t i) {
  return s[i] == ' ' || (s[i] == '\xA1' && i + 1 < s.size() && s[i + 1] == '\xA1');
}

std::string_view AsView(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

// ---- Text ------------------------------------------------------------------------------------

int TextLength(const Text& text) { return ToLength(text.size()); }

int CompareText(const Text& a, const Text& b) {
  // char_traits<char>::compare orders bytes as unsigned values.
  const int order = a.view().compare(b.view());
  return (order > 0) - (order < 0);
}

Text ConcatText(std::initializer_list<Text> parts) {
  std::size_t total = 0;
  for (const Text& part : parts) total += part.size();
  std::string joined;
  joined.reserve(total);
  for (const Text& part : parts) joined.append(part.view());
  return Text(std::move(joined));
}

Text TextLeft(const Text& text, int n) {
  if (n <= 0) return Text();
  return Text(text.view().substr(0, static_cast<std::size_t>(n)));
}

Text TextRight(const Text& text, int n) {
  if (n <= 0) return Text();
  const std::size_t keep = std::min(text.size(), static_cast<std::size_t>(n));
  return Text(text.view().substr(text.size() - keep));
}

Text TextMid(const Text& text, int start, int n) {
  if (start < 1 || n <= 0 || static_cast<std::size_t>(start) > text.size()) return Text();
  return Text(text.view().substr(static_cast<std::size_t>(start) - 1, static_cast<std::size_t>(n)));
}

Text CharFromCode(int code) {
  if (code <= 0 || code > 255) return Text();
  return Text(std::string(1, static_cast<char>(code)));
}

int FindText(const Text& text, const Text& sought, int start, bool ignoreCase) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (from >= text.size()) return -1;
  if (sought.empty()) return 1;
  const std::string_view region = text.view().substr(from);
  const std::size_t found = UnitSearcher(region, sought.view(), ignoreCase).Next(0);
  return found == kNone ? -1 : ToPosition(from + found);
}

int FindTextReverse(const Text& text, const Text& sought, std::optional<int> start,
                    bool ignoreCase) {
  std::size_t regionLength = text.size();
  if (start.has_value()) {
    if (*start <= 1) return -1;
    regionLength = std::min(regionLength, static_cast<std::size_t>(*start) - 1);
  }
  if (regionLength == 0) return -1;
  if (sought.empty()) return 1;
  const std::string_view region = text.view().substr(0, regionLength);
  UnitSearcher searcher(region, sought.view(), ignoreCase);
  std::size_t last = kNone;
  for (std::size_t found = searcher.Next(0); found != kNone;
       found = searcher.Next(found + UnitLength(region, found))) {
    last = found;
  }
  return last == kNone ? -1 : ToPosition(last);
}

Text ToLower(const Text& text) {
  const std::string_view s = text.view();
  std::string lowered(s);
  for (std::size_t i = 0; i < s.size(); i += UnitLength(s, i)) {
    lowered[i] = FoldAscii(s[i]);  // A high byte is left as it is by the fold.
  }
  return Text(std::move(lowered));
}

Text TrimBoth(const Text& text) {
  const std::string_view s = text.view();
  std::size_t begin = 0;
  while (begin < s.size() && IsSpaceUnit(s, begin)) begin += UnitLength(s, begin);
  // The trailing run can only be found walking forwards: a 0x20 may be the second byte of a pair.
  std::size_t end = s.size();
  std::size_t runStart = kNone;
  for (std::size_t i = begin; i < s.size(); i += UnitLength(s, i)) {
    if (!IsSpaceUnit(s, i)) {
      runStart = kNone;
    } else if (runStart == kNone) {
      runStart = i;
    }
  }
  if (runStart != kNone) end = runStart;
  return Text(s.substr(begin, end - begin));
}

Text RemoveSpaces(const Text& text) {
  const std::string_view s = text.view();
  std::string kept;
  kept.reserve(s.size());
  std::size_t runStart = 0;  // Start of the bytes not yet copied.
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t length = UnitLength(s, i);
    if (IsSpaceUnit(s, i)) {
      kept.append(s.substr(runStart, i - runStart));
      runStart = i + length;
    }
    i += length;
  }
  kept.append(s.substr(runStart));
  return Text(std::move(kept));
}

Text ReplaceText(const Text& text, const Text& sought, const Text& replacement, int start,
                 std::optional<int> count, bool caseSensitive) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  const bool limited = count.has_value() && *count >= 0;
  if (text.empty() || sought.empty() || from >= text.size() || (limited && *count == 0)) {
    return text;
  }
  const std::string_view s = text.view();
  const std::string_view region = s.substr(from);
  UnitSearcher searcher(region, sought.view(), !caseSensitive);
  std::string result;
  result.reserve(s.size());
  result.append(s.substr(0, from));
  std::size_t pos = 0;
  int replaced = 0;
  for (std::size_t found = searcher.Next(0); found != kNone; found = searcher.Next(pos)) {
    result.append(region.substr(pos, found - pos));
    result.append(replacement.view());
    pos = found + sought.size();
    if (limited && ++replaced == *count) break;
  }
  result.append(region.substr(pos));
  return Text(std::move(result));
}

TextArray SplitText(const Text& text, const Text& separator, std::optional<int> count) {
  TextArray pieces;
  if (text.empty() || (count.has_value() && *count <= 0)) return pieces;
  if (separator.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  const std::string_view s = text.view();
  UnitSearcher searcher(s, separator.view(), /*ignoreCase=*/false);
  std::size_t pieceStart = 0;
  for (std::size_t found = searcher.Next(0); found != kNone; found = searcher.Next(pieceStart)) {
    pieces.emplace_back(s.substr(pieceStart, found - pieceStart));
    pieceStart = found + separator.size();
    if (count.has_value() && ArrayCount(pieces) == *count) return pieces;
  }
  if (pieceStart < s.size()) pieces.emplace_back(s.substr(pieceStart));
  return pieces;
}

Text BlankText(int n) {
  if (n <= 0) return Text();
  return Text(std::string(static_cast<std::size_t>(n), ' '));
}

// ---- Bytes -----------------------------------------------------------------------------------

int BytesLength(const Bytes& bytes) { return ToLength(bytes.size()); }

Bytes ToBytes(const Text& text) { return Bytes(text.str().begin(), text.str().end()); }

Text BytesToText(const Bytes& bytes) { return Text(AsView(bytes)); }

Bytes BytesLeft(const Bytes& bytes, int n) {
  const std::size_t keep = std::min(bytes.size(), static_cast<std::size_t>(std::max(n, 0)));
  return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(keep));
}

Bytes BlankBytes(int n) {
  if (n <= 0) return Bytes();
  return Bytes(static_cast<std::size_t>(n), 0);
}

Bytes ReplaceBytes(const Bytes& bytes, const Bytes& sought, const Bytes& replacement, int start,
                   std::optional<int> count) {
  const std::size_t from = start <= 1 ? 0 : static_cast<std::size_t>(start) - 1;
  if (bytes.empty() || sought.empty() || from >= bytes.size() ||
      (count.has_value() && *count <= 0)) {
    return bytes;
  }
  const std::string_view s = AsView(bytes);
  const std::string_view needle = AsView(sought);
  Bytes result;
  result.reserve(bytes.size());
  const auto appendRange = [&](std::size_t begin, std::size_t end) {
    result.insert(result.end(), bytes.begin() + static_cast<std::ptrdiff_t>(begin),
                  bytes.begin() + static_cast<std::ptrdiff_t>(end));
  };
  appendRange(0, from);
  std::size_t pos = from;
  int replaced = 0;
  for (std::size_t found = s.find(needle, pos); found != kNone; found = s.find(needle, pos)) {
    appendRange(pos, found);
    result.insert(result.end(), replacement.begin(), replacement.end());
    pos = found + needle.size();
    if (count.has_value() && ++replaced == *count) break;
  }
  appendRange(pos, bytes.size());
  return result;
}

Bytes ConcatBytes(std::initializer_list<Bytes> parts) {
  std::size_t total = 0;
  for (const Bytes& part : parts) total += part.size();
  Bytes joined;
  joined.reserve(total);
  for (const Bytes& part : parts) joined.insert(joined.end(), part.begin(), part.end());
  return joined;
}

bool BytesEqual(const Bytes& a, const Bytes& b) { return a == b; }

// ---- TextArray -------------------------------------------------------------------------------

int ArrayCount(const TextArray& array) { return ToLength(array.size()); }

const Text& ArrayItem(const TextArray& array, int i) {
  static const Text kNoItem;
  if (i < 1 || static_cast<std::size_t>(i) > array.size()) return kNoItem;
  return array[static_cast<std::size_t>(i) - 1];
}

void ArrayAppend(TextArray& array, const Text& text) { array.push_back(text); }

}  // namespace quorvel
