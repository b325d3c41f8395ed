// Text, byte and array primitives.
//
// Every piece of text in the program is a `Text`: a byte string in code page 936 that never holds
// a zero byte. Lengths and positions count bytes; positions start at 1 and a search that finds
// nothing gives -1. The empty `Text` also stands for an absent one.
//
// Searching, replacing, splitting, trimming and lower-casing walk a text in character units: a
// byte of 0x80 or above forms one unit with the byte after it, every other byte is a unit of its
// own, and a match is tried only where a unit begins. A final lone byte of 0x80 or above is a unit
// by itself: a match is still tried at it, and no operation drops it from its result.
//
// Ignoring case folds only 'A' to 'Z'. A space is the byte 0x20 or the full-width space 0xA1 0xA1.
//
// All functions are pure: they never change their inputs and never fail; out-of-range positions,
// lengths and counts give the documented result, as a rule the empty value or -1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// An owned byte string in code page 936 without zero bytes. Every way of making one from outside
// data ends it at the first zero byte.
class Text {
 public:
  Text() = default;
  // The bytes up to the terminating zero; a null pointer gives the empty text.
  Text(const char* zeroTerminated);  // NOLINT(google-explicit-constructor): literals read as texts
  // The bytes before the first zero byte of `bytes`, or all of them.
  explicit Text(std::string_view bytes);
  explicit Text(std::string&& bytes);

  const std::string& str() const noexcept { return bytes_; }
  std::string_view view() const noexcept { return bytes_; }
  const char* c_str() const noexcept { return bytes_.c_str(); }
  std::size_t size() const noexcept { return bytes_.size(); }
  bool empty() const noexcept { return bytes_.empty(); }

  friend bool operator==(const Text&, const Text&) = default;

 private:
  std::string bytes_;
};

// Bytes of any value, zero included.
using Bytes = std::vector<std::uint8_t>;

// An ordered sequence of texts, indexed from 1 by `ArrayItem`.
using TextArray = std::vector<Text>;

// ---- Text ------------------------------------------------------------------------------------

// Number of bytes.
int TextLength(const Text& text);

// -1, 0 or 1 by unsigned byte order; a prefix is smaller than the longer text. No case folding.
int CompareText(const Text& a, const Text& b);

// The texts joined in order.
Text ConcatText(std::initializer_list<Text> parts);

// The first min(n, length) bytes; the empty text for n <= 0. May cut a two-byte character.
Text TextLeft(const Text& text, int n);

// The last min(n, length) bytes; the empty text for n <= 0.
Text TextRight(const Text& text, int n);

// min(n, length - start + 1) bytes from byte `start`; the empty text when start < 1,
// start > length or n <= 0.
Text TextMid(const Text& text, int start, int n);

// The one-byte text holding `code` (0 to 255); 0, and any code outside 0 to 255, gives the empty
// text.
Text CharFromCode(int code);

// Position of the first occurrence of `sought` that begins at or after `start` (start <= 1: the
// whole text; start > length: nothing), tried at unit starts only. An empty `sought` gives 1 when
// the searched region holds a byte, else -1.
int FindText(const Text& text, const Text& sought, int start = 1, bool ignoreCase = false);

// Position of the last occurrence of `sought` that lies wholly before position `start` (absent:
// the whole text; start <= 1: nothing). Occurrences may overlap. Found by the same forward walk
// as `FindText`. An empty `sought` gives 1 when the region holds a byte, else -1.
int FindTextReverse(const Text& text, const Text& sought, std::optional<int> start = std::nullopt,
                    bool ignoreCase = false);

// 'A' to 'Z' in one-byte units become 'a' to 'z'; both bytes of a two-byte unit stay.
Text ToLower(const Text& text);

// Without the spaces and full-width spaces at both ends. Tabs and line breaks stay.
Text TrimBoth(const Text& text);

// Without any space or full-width space unit.
Text RemoveSpaces(const Text& text);

// `text` with occurrences of `sought` replaced by `replacement`, from byte `start` (<= 1: from the
// first byte; the bytes before it are kept), at most `count` times (absent or negative: no limit;
// 0: none), without overlaps and without searching inserted text again. `caseSensitive` false
// ignores ASCII case. An empty text or `sought`, or a start past the end, gives `text` unchanged.
Text ReplaceText(const Text& text, const Text& sought, const Text& replacement = Text(),
                 int start = 1, std::optional<int> count = std::nullopt,
                 bool caseSensitive = false);

// The pieces between occurrences of `separator` (matched exactly). Leading and doubled separators
// give empty pieces, a trailing one gives none. An empty text, or `count` 0 or negative, gives no
// pieces; an empty separator gives the whole text. With `count`, at most that many pieces; the rest
// is dropped.
TextArray SplitText(const Text& text, const Text& separator = Text(","),
                    std::optional<int> count = std::nullopt);

// n spaces; the empty text for n <= 0.
Text BlankText(int n);

// ---- Bytes -----------------------------------------------------------------------------------

int BytesLength(const Bytes& bytes);

// The bytes of the text, without a terminator.
Bytes ToBytes(const Text& text);

// The bytes before the first zero byte, or all of them.
Text BytesToText(const Bytes& bytes);

// The first min(length, max(n, 0)) bytes.
Bytes BytesLeft(const Bytes& bytes, int n);

// n zero bytes; empty for n <= 0.
Bytes BlankBytes(int n);

// Byte-wise replacement (no units, no case folding) from byte `start`, at most `count` times.
// Unlike `ReplaceText`, a negative `count` replaces nothing; absent means no limit.
Bytes ReplaceBytes(const Bytes& bytes, const Bytes& sought, const Bytes& replacement = Bytes(),
                   int start = 1, std::optional<int> count = std::nullopt);

Bytes ConcatBytes(std::initializer_list<Bytes> parts);

bool BytesEqual(const Bytes& a, const Bytes& b);

// ---- TextArray -------------------------------------------------------------------------------

int ArrayCount(const TextArray& array);

// Element i, for 1 <= i <= ArrayCount(array). Any other index is a programming error; it gives
// the empty text rather than reading outside the array.
const Text& ArrayItem(const TextArray& array, int i);

void ArrayAppend(TextArray& array, const Text& text);

}  // namespace quorvel
