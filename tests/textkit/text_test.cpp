#include "textkit/text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "support/text_printing.h"

namespace quorvel {
namespace {

using testing_support::AsBytes;
using testing_support::T;

// Code-page-936 characters used below. Adjacent literals keep a hex escape from swallowing the
// letters after it ("\xB0" "A" is two bytes, "\xB0A" would not compile).
constexpr std::string_view kZhong = "\xD6\xD0";  // 中
constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

std::string Cat(std::initializer_list<std::string_view> parts) {
  std::string joined;
  for (std::string_view part : parts) joined.append(part);
  return joined;
}

// ---- Cutting by byte count ---------------------------------------------------------------------

TEST(TextCutTest, LeftRightMidCountBytesAndClampOutOfRange) {
  const Text abc("abc");
  EXPECT_EQ(TextLeft(abc, 2), T("ab"));
  EXPECT_EQ(TextLeft(abc, 5), abc);
  EXPECT_EQ(TextLeft(abc, 0), Text());
  EXPECT_EQ(TextLeft(abc, -1), Text());
  EXPECT_EQ(TextRight(abc, 2), T("bc"));
  EXPECT_EQ(TextRight(abc, 5), abc);
  EXPECT_EQ(TextRight(abc, 0), Text());
  EXPECT_EQ(TextMid(abc, 2, 1), T("b"));
  EXPECT_EQ(TextMid(abc, 2, 100), T("bc"));
  EXPECT_EQ(TextMid(abc, 2, INT32_MAX), T("bc"));
  EXPECT_EQ(TextMid(abc, 0, 2), Text()) << "start 0 is not the start of the text";
  EXPECT_EQ(TextMid(abc, 4, 1), Text());
  EXPECT_EQ(TextMid(abc, 1, 0), Text());
  // Counting bytes may cut a two-byte character.
  EXPECT_EQ(TextLeft(T(Cat({"a", kZhong})), 2), T("a\xD6"));
}

TEST(TextBasicsTest, LengthConcatBlankAndCharFromCode) {
  EXPECT_EQ(TextLength(T(Cat({"a", kZhong}))), 3);
  EXPECT_EQ(TextLength(Text()), 0);
  EXPECT_EQ(ConcatText({"ab", Text(), "c"}), T("abc"));
  EXPECT_EQ(ConcatText({Text(), Text()}), Text());
  EXPECT_EQ(BlankText(3), T("   "));
  EXPECT_EQ(BlankText(0), Text());
  EXPECT_EQ(BlankText(-2), Text());
  EXPECT_EQ(CharFromCode(65), T("A"));
  EXPECT_EQ(CharFromCode(0xB0), T("\xB0"));
  EXPECT_EQ(CharFromCode(0), Text());
  EXPECT_EQ(CharFromCode(256), Text());
  EXPECT_EQ(CharFromCode(-1), Text());
}

TEST(TextBasicsTest, CompareOrdersUnsignedBytesWithoutFolding) {
  EXPECT_EQ(CompareText("abc", "abc"), 0);
  EXPECT_EQ(CompareText(Text(), ""), 0);
  EXPECT_EQ(CompareText("ab", "abc"), -1);
  EXPECT_EQ(CompareText("abc", "ab"), 1);
  EXPECT_EQ(CompareText("B", "a"), -1);
  EXPECT_EQ(CompareText("a", "A"), 1) << "no case folding";
  EXPECT_EQ(CompareText(T("\x80"), "z"), 1) << "0x80 is above every ASCII byte";
}

TEST(TextBasicsTest, ConstructionStopsAtZeroByte) {
  EXPECT_EQ(Text(std::string_view("ab\0cd", 5)), T("ab"));
  EXPECT_EQ(Text(std::string("ab\0cd", 5)), T("ab"));
  EXPECT_EQ(Text(static_cast<const char*>(nullptr)), Text());
}

// ---- Searching ---------------------------------------------------------------------------------

struct FindCase {
  const char* name;
  std::string text;
  std::string sought;
  int start;
  bool ignoreCase;
  int expected;
};

TEST(FindTextTest, Cases) {
  const FindCase cases[] = {
      {"found", "abcabc", "bc", 1, false, 2},
      {"from start", "abcabc", "bc", 3, false, 5},
      {"at start", "abcabc", "bc", 5, false, 5},
      {"not found", "abcabc", "x", 1, false, -1},
      {"longer than text", "ab", "abc", 1, false, -1},
      {"start past end", "abc", "c", 4, false, -1},
      {"start 0 is whole", "abc", "a", 0, false, 1},
      {"negative start is whole", "abc", "a", -7, false, 1},
      {"empty sought", "abc", "", 1, false, 1},
      {"empty sought, later start still 1", "abc", "", 3, false, 1},
      {"empty sought, start past end", "abc", "", 4, false, -1},
      {"empty sought, empty text", "", "", 1, false, -1},
      {"empty text", "", "a", 1, false, -1},
      {"case differs", "SET-COOKIE: x", "Set-Cookie", 1, false, -1},
      {"ignore case", "X\r\nSET-COOKIE: x", "Set-Cookie", 1, true, 4},
      // 中中 is D6 D0 D6 D0; D0 D6 stands at byte 2, inside the units.
      {"character not found from a second byte", Cat({kZhong, kZhong}), "\xD0\xD6", 1, false, -1},
      {"ASCII second byte is not a match", Cat({"\xB0", "A", "A"}), "A", 1, false, 3},
      {"high run pairs from its start", Cat({"\xB0\xB1\xB2", "AA"}), "A", 1, false, 5},
      {"even high run", Cat({"\xB0\xB1", "A"}), "A", 1, false, 3},
      {"units formed from start", Cat({"\xB0", "AA"}), "A", 2, false, 2},
      {"folding reaches the second byte", Cat({"\xB0", "a"}), Cat({"\xB0", "A"}), 1, true, 1},
      {"exact second byte", Cat({"\xB0", "a"}), Cat({"\xB0", "A"}), 1, false, -1},
      {"lone final byte is tried", "ab\xB0", "\xB0", 1, false, 3},
      {"ignore case, first byte not a letter", "x\"Sign\":", "\"sign\"", 1, true, 2},
      {"ignore case, candidate at second byte", Cat({"\xB0", "sS"}), "s", 1, true, 3},
  };
  for (const FindCase& c : cases) {
    EXPECT_EQ(FindText(T(c.text), T(c.sought), c.start, c.ignoreCase), c.expected) << c.name;
  }
}

TEST(FindTextReverseTest, Cases) {
  struct Case {
    const char* name;
    std::string text;
    std::string sought;
    std::optional<int> start;
    bool ignoreCase;
    int expected;
  };
  const Case cases[] = {
      {"last dot", "a.b.c", ".", std::nullopt, false, 4},
      {"before a dot", "a.b.c", ".", 4, false, 2},
      {"before the first dot", "a.b.c", ".", 2, false, -1},
      {"start 1 is nothing", "a.b.c", "a", 1, false, -1},
      {"start past end is whole", "a.b.c", ".", 99, false, 4},
      {"must end before start", "abab", "ab", 4, false, 1},
      {"overlapping", "aaa", "aa", std::nullopt, false, 2},
      {"not found", "abc", "x", std::nullopt, false, -1},
      {"empty sought", "abc", "", std::nullopt, false, 1},
      {"empty sought, empty region", "abc", "", 1, false, -1},
      {"ignore case", "Host: a\r\nHOST: b", "host", std::nullopt, true, 10},
      {"not from a second byte", Cat({"A", "\xB0", "A"}), "A", std::nullopt, false, 1},
      {"after a pair", Cat({"\xB0", "AA"}), "A", std::nullopt, false, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindTextReverse(T(c.text), T(c.sought), c.start, c.ignoreCase), c.expected) << c.name;
  }
}

// ---- Case and spaces ---------------------------------------------------------------------------

TEST(ToLowerTest, FoldsOneByteUnitsOnly) {
  EXPECT_EQ(ToLower("ACCEPT-Language: Zh"), T("accept-language: zh"));
  EXPECT_EQ(ToLower(T(Cat({"\xB0", "AZ"}))), T(Cat({"\xB0", "Az"})));
  EXPECT_EQ(ToLower(T(Cat({"A", kZhong, "B"}))), T(Cat({"a", kZhong, "b"})));
  EXPECT_EQ(ToLower(T("A\xC1")), T("a\xC1"));
  EXPECT_EQ(ToLower(Text()), Text());
}

TEST(SpacesTest, TrimBoth) {
  const struct {
    std::string text;
    std::string expected;
  } cases[] = {
      {"  a b  ", "a b"},
      {Cat({kFullWidthSpace, " x ", kFullWidthSpace, kFullWidthSpace}), "x"},
      {"\t x \r", "\t x \r"},
      {Cat({" ", kFullWidthSpace, " "}), ""},
      {"", ""},
      {"abc", "abc"},
      {Cat({"x", kFullWidthSpace, "y"}), Cat({"x", kFullWidthSpace, "y"})},
      // 0x20 and A1 A1 inside units are not spaces.
      {"x\xB0 ", "x\xB0 "},
      {Cat({"\xB0\xA1", "\xA1", "z"}), Cat({"\xB0\xA1", "\xA1", "z"})},
      // A final lone 0xA1 is not a full-width space, and it is kept.
      {"x \xA1", "x \xA1"},
      {Cat({kFullWidthSpace, "\xA1"}), "\xA1"},
      {"x\xB0", "x\xB0"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TrimBoth(T(c.text)), T(c.expected)) << ::testing::PrintToString(T(c.text));
}

TEST(SpacesTest, RemoveSpaces) {
  EXPECT_EQ(RemoveSpaces(T(Cat({"x y", kFullWidthSpace, "z"}))), T("xyz"));
  EXPECT_EQ(RemoveSpaces(T("\tx\r\n")), T("\tx\r\n"));
  EXPECT_EQ(RemoveSpaces(T("a\xB0 b")), T("a\xB0 b")) << "0x20 as a second byte stays";
  EXPECT_EQ(RemoveSpaces(T("a \xB0")), T("a\xB0")) << "final lone byte is kept";
  EXPECT_EQ(RemoveSpaces(T(Cat({" ", kFullWidthSpace}))), Text());
}

// ---- Replacing ---------------------------------------------------------------------------------

TEST(ReplaceTextTest, Cases) {
  struct Case {
    const char* name;
    std::string text, sought, replacement;
    int start;
    std::optional<int> count;
    bool caseSensitive;
    std::string expected;
  };
  const Case cases[] = {
      {"no rescan", "aaaa", "aa", "a", 1, std::nullopt, true, "aa"},
      {"count 1", "aaaa", "aa", "a", 1, 1, true, "aaa"},
      {"start 3", "aaaa", "aa", "a", 3, std::nullopt, true, "aaa"},
      {"start 0 is 1", "aaaa", "aa", "a", 0, std::nullopt, true, "aa"},
      {"negative count is no limit", "a/b/c", "/", "", 1, -1, true, "abc"},
      {"count 0", "a/b", "/", "", 1, 0, true, "a/b"},
      {"start past end", "a/b", "/", "", 4, std::nullopt, true, "a/b"},
      {"empty sought", "a/b", "", "x", 1, std::nullopt, true, "a/b"},
      {"empty text", "", "/", "x", 1, std::nullopt, true, ""},
      {"deletes", "a/b/c", "/", "", 1, std::nullopt, true, "abc"},
      {"inserted text not searched", "ab", "a", "aa", 1, std::nullopt, true, "aab"},
      {"folding", "set-cookie;SET-COOKIE;Set-Cookie", "Set-Cookie", "Set-Cookie", 1, std::nullopt,
       false, "Set-Cookie;Set-Cookie;Set-Cookie"},
      {"exact", "set-cookie;Set-Cookie", "Set-Cookie", "X", 1, std::nullopt, true, "set-cookie;X"},
      {"not at a second byte", "\xB0//", "/", "", 1, std::nullopt, true, "\xB0/"},
      {"folding reaches the second byte", Cat({"\xB0", "a"}), Cat({"\xB0", "A"}), "x", 1,
       std::nullopt, false, "x"},
      {"walk restarts after a match", "\xB0\xB0\xB0", "\xB0", "x", 1, std::nullopt, true, "xxx"},
      {"final lone byte kept", "ab\xB0", "a", "", 1, std::nullopt, true, "b\xB0"},
      {"final lone byte replaced", "ab\xB0", "\xB0", "c", 1, std::nullopt, true, "abc"},
      {"tail shorter than sought", "abcab", "abc", "x", 1, std::nullopt, true, "xab"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        ReplaceText(T(c.text), T(c.sought), T(c.replacement), c.start, c.count, c.caseSensitive),
        T(c.expected))
        << c.name;
  }
}

TEST(ReplaceTextTest, DefaultsIgnoreCaseAndDelete) {
  EXPECT_EQ(ReplaceText("A-a-A", "a"), T("--"));
}

// ---- Splitting ---------------------------------------------------------------------------------

TEST(SplitTextTest, Cases) {
  struct Case {
    std::string text, separator;
    std::optional<int> count;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"a,b,c", ",", std::nullopt, {"a", "b", "c"}},
      {"a,,b", ",", std::nullopt, {"a", "", "b"}},
      {",a", ",", std::nullopt, {"", "a"}},
      {"a,b,", ",", std::nullopt, {"a", "b"}},
      {",", ",", std::nullopt, {""}},
      {"", ",", std::nullopt, {}},
      {"abc", ",", std::nullopt, {"abc"}},
      {"a,b,c", ",", 2, {"a", "b"}},
      {"a,b", ",", 5, {"a", "b"}},
      {"a,b", ",", 0, {}},
      {"a,b", ",", -1, {}},
      {"a,b", "", std::nullopt, {"a,b"}},
      {"A,a", "a", std::nullopt, {"A,"}},
      {"H: 1\r\nI: 2\r\n\r\n", "\r\n", std::nullopt, {"H: 1", "I: 2", ""}},
      {"\xB0,a,b", ",", std::nullopt, {"\xB0,a", "b"}},
      {"a,\xB0", ",", std::nullopt, {"a", "\xB0"}},
  };
  for (const Case& c : cases) {
    TextArray expected;
    for (const std::string& piece : c.expected) expected.push_back(T(piece));
    EXPECT_EQ(SplitText(T(c.text), T(c.separator), c.count), expected)
        << ::testing::PrintToString(T(c.text));
  }
  EXPECT_EQ(SplitText("x,y"), (TextArray{"x", "y"})) << "comma by default";
}

// ---- Unit walk against a direct reference ------------------------------------------------------

// The searches decide unit starts by looking back over runs of high bytes; this compares them
// with a plain forward walk over random texts dense in high bytes, letters and separators.
int ReferenceFind(std::string_view text, std::string_view sought, bool ignoreCase) {
  const auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  for (std::size_t i = 0; i + sought.size() <= text.size();
       i += (static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1)) {
    bool match = true;
    for (std::size_t k = 0; k < sought.size() && match; ++k) {
      match = ignoreCase ? fold(text[i + k]) == fold(sought[k]) : text[i + k] == sought[k];
    }
    if (match) return static_cast<int>(i) + 1;
  }
  return -1;
}

TEST(UnitWalkTest, SearchesAgreeWithForwardWalk) {
  std::mt19937 random(20170515);
  const char alphabet[] = {'a', 'A', ',', '\xB0', '\xA1', '\xD6'};
  const auto randomText = [&](std::size_t length) {
    std::string s;
    for (std::size_t i = 0; i < length; ++i) s.push_back(alphabet[random() % sizeof alphabet]);
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string text = randomText(random() % 24);
    const std::string sought = randomText(1 + random() % 3);
    const bool ignoreCase = random() % 2 == 0;
    SCOPED_TRACE(::testing::PrintToString(T(text)) + " / " + ::testing::PrintToString(T(sought)));
    const int expected = ReferenceFind(text, sought, ignoreCase);
    ASSERT_EQ(FindText(T(text), T(sought), 1, ignoreCase), expected);

    // Reverse: the last forward match, overlaps allowed.
    int last = -1;
    for (std::size_t i = 0; i < text.size();
         i += (static_cast<unsigned char>(text[i]) >= 0x80 ? 2 : 1)) {
      if (ReferenceFind(text.substr(i, sought.size()), sought, ignoreCase) == 1) {
        last = static_cast<int>(i) + 1;
      }
    }
    ASSERT_EQ(FindTextReverse(T(text), T(sought), std::nullopt, ignoreCase), last);

    // Replace and split resume the walk right after each match.
    std::string replaced;
    std::vector<std::string> pieces;
    std::size_t pos = 0;
    std::size_t pieceStart = 0;
    while (pos < text.size()) {
      const int found =
          ReferenceFind(std::string_view(text).substr(pos, sought.size()), sought, ignoreCase);
      if (found == 1) {
        replaced += "#";
        pos += sought.size();
      } else {
        const std::size_t unit = static_cast<unsigned char>(text[pos]) >= 0x80 ? 2 : 1;
        replaced += text.substr(pos, unit);
        pos += unit;
      }
    }
    ASSERT_EQ(ReplaceText(T(text), T(sought), "#", 1, std::nullopt, !ignoreCase), T(replaced));
    pos = 0;
    while (pos < text.size()) {
      if (text.compare(pos, sought.size(), sought) == 0) {
        pieces.push_back(text.substr(pieceStart, pos - pieceStart));
        pos += sought.size();
        pieceStart = pos;
      } else {
        pos += static_cast<unsigned char>(text[pos]) >= 0x80 ? 2 : 1;
      }
    }
    if (pieceStart < text.size()) pieces.push_back(text.substr(pieceStart));
    TextArray expectedPieces;
    for (const std::string& piece : pieces) expectedPieces.push_back(T(piece));
    ASSERT_EQ(SplitText(T(text), T(sought)), expectedPieces);
  }
}

// ---- Bytes and arrays --------------------------------------------------------------------------

TEST(BytesTest, ConversionsAndBasics) {
  EXPECT_EQ(BytesToText(AsBytes(std::string_view("A\0B", 3))), T("A"));
  EXPECT_EQ(BytesToText(Bytes()), Text());
  EXPECT_EQ(ToBytes(T("a\xB0")), (Bytes{'a', 0xB0}));
  EXPECT_EQ(ToBytes(Text()), Bytes());
  EXPECT_EQ(BytesLength(AsBytes(std::string_view("\0\0", 2))), 2);
  EXPECT_EQ(BytesLeft(Bytes{1, 2, 3}, 2), (Bytes{1, 2}));
  EXPECT_EQ(BytesLeft(Bytes{1, 2, 3}, 9), (Bytes{1, 2, 3}));
  EXPECT_EQ(BytesLeft(Bytes{1, 2, 3}, -1), Bytes());
  EXPECT_EQ(BlankBytes(2), (Bytes{0, 0}));
  EXPECT_EQ(BlankBytes(-1), Bytes());
  EXPECT_EQ(ConcatBytes({Bytes(), Bytes()}), Bytes());
  EXPECT_EQ(ConcatBytes({Bytes{1}, Bytes(), Bytes{0, 2}}), (Bytes{1, 0, 2}));
  EXPECT_TRUE(BytesEqual(Bytes(), Bytes()));
  EXPECT_FALSE(BytesEqual(Bytes{0x0D}, Bytes()));
  EXPECT_FALSE(BytesEqual(Bytes{1, 2}, Bytes{1, 3}));
}

TEST(BytesTest, ReplaceBytes) {
  struct Case {
    const char* name;
    std::string_view bytes, sought, replacement;
    int start;
    std::optional<int> count;
    std::string_view expected;
  };
  using namespace std::string_view_literals;
  const Case cases[] = {
      {"all", "a\0b\0c"sv, "\0"sv, "--"sv, 1, std::nullopt, "a--b--c"sv},
      {"count 1", "a\0b\0c"sv, "\0"sv, ""sv, 1, 1, "ab\0c"sv},
      {"negative count replaces nothing", "a\0b"sv, "\0"sv, ""sv, 1, -1, "a\0b"sv},
      {"count 0", "a\0b"sv, "\0"sv, ""sv, 1, 0, "a\0b"sv},
      {"from start", "xaxa"sv, "x"sv, "y"sv, 2, std::nullopt, "xaya"sv},
      {"start past end", "xa"sv, "x"sv, "y"sv, 3, std::nullopt, "xa"sv},
      {"no overlap or rescan", "aaaa"sv, "aa"sv, "a"sv, 1, std::nullopt, "aa"sv},
      {"no units",
       "\xB0"
       "A"sv,
       "A"sv, "b"sv, 1, std::nullopt,
       "\xB0"
       "b"sv},
      {"no folding", "aA"sv, "A"sv, "b"sv, 1, std::nullopt, "ab"sv},
      {"empty sought", "ab"sv, ""sv, "x"sv, 1, std::nullopt, "ab"sv},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        ReplaceBytes(AsBytes(c.bytes), AsBytes(c.sought), AsBytes(c.replacement), c.start, c.count),
        AsBytes(c.expected))
        << c.name;
  }
}

TEST(TextArrayTest, AppendCountAndItem) {
  TextArray array;
  EXPECT_EQ(ArrayCount(array), 0);
  Text value("a");
  ArrayAppend(array, value);
  ArrayAppend(array, Text());
  value = Text("changed");
  EXPECT_EQ(ArrayCount(array), 2);
  EXPECT_EQ(ArrayItem(array, 1), T("a")) << "elements are copies";
  EXPECT_EQ(ArrayItem(array, 2), Text());
  EXPECT_EQ(ArrayItem(array, 0), Text());
  EXPECT_EQ(ArrayItem(array, 3), Text());
}

}  // namespace
}  // namespace quorvel
