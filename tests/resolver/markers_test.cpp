#include "resolver/markers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "support/text_printing.h"

namespace quorvel {
namespace {

using testing_support::T;

constexpr char kQuoteEscape[] = "#\xD2\xFD\xBA\xC5";  // "#引号"

TEST(TextBetweenTest, Cases) {
  struct Case {
    const char* name;
    std::string text, startMarker, endMarker;
    std::string expected;
  };
  const std::string answer = R"({"errno":0,"sign":"5f1a","timestamp":1494806400})";
  const Case cases[] = {
      {"value", answer, R"("sign":")", R"(",")", "5f1a"},
      {"number value", answer, R"("timestamp":)", "}", "1494806400"},
      {"first start, next end", "[a][b]", "[", "]", "a"},
      {"end only before start", "]x[y", "[", "]", ""},
      {"end right after start", "[]x]", "[", "]", ""},
      {"start marker ends the text", "ab[", "[", "]", ""},
      {"start missing", "abc", "[", "]", ""},
      {"end missing", "a[bc", "[", "]", ""},
      {"empty end marker", "a[bc", "[", "", ""},
      {"empty start marker", "abc]d]", "", "]", "abc"},
      {"empty text", "", "", "]", ""},
      {"markers overlap in text", "abab", "ab", "ba", ""},
      {"escape stands for a quote", answer,
       std::string(kQuoteEscape) + "sign" + kQuoteEscape + ":" + kQuoteEscape,
       std::string(kQuoteEscape) + ",", "5f1a"},
      {"escape bytes in text are not a quote", std::string("x") + kQuoteEscape + "v\"", "\"", "\"",
       ""},
      // "A" in 中A... : the ASCII byte after 0xB0 is the second byte of a character.
      {"marker not matched at a second byte",
       "\xB0"
       "A=1;A=2;",
       "A=", ";", "2"},
      {"two-byte markers",
       "\xA1\xB6"
       "title"
       "\xA1\xB7",
       "\xA1\xB6", "\xA1\xB7", "title"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(T(c.text), T(c.startMarker), T(c.endMarker)), T(c.expected)) << c.name;
  }
}

TEST(TextBetweenTest, StartPositionAndIgnoreCase) {
  const Text text("<a>1</a><A>2</A>");
  EXPECT_EQ(TextBetween(text, "<a>", "</a>", 2), Text()) << "only <A> from 2, exact";
  EXPECT_EQ(TextBetween(text, "<a>", "</a>", 2, true), T("2"));
  EXPECT_EQ(TextBetween(text, "<a>", "</a>", 0), T("1"));
  EXPECT_EQ(TextBetween(text, "<a>", "</a>", -5), T("1"));
  EXPECT_EQ(TextBetween(text, "<a>", "</a>", 99), Text());
}

TEST(ReplaceManyTest, Cases) {
  struct Case {
    const char* name;
    std::string text;
    std::optional<int> count;
    int startPosition;
    bool caseSensitive;
    std::string find1, with1, find2, with2, find3, with3;
    std::string expected;
  };
  const Case cases[] = {
      {"removes every slash", "http:\\/\\/d.example\\/file?x=1", std::nullopt, 0, false, "\\/", "",
       "", "", "", "", "http:d.examplefile?x=1"},
      {"single slash", "a/b//c/", std::nullopt, 0, false, "/", "", "", "", "", "", "abc"},
      {"pairs in order", "abc", std::nullopt, 0, false, "a", "b", "b", "c", "", "", "ccc"},
      {"later pairs see earlier output", "x", std::nullopt, 0, false, "x", "yy", "yy", "z", "z",
       "!", "!"},
      {"ignores case", "Ab-aB", std::nullopt, 0, false, "ab", "_", "", "", "", "", "_-_"},
      {"case sensitive", "Ab-ab", std::nullopt, 0, true, "ab", "_", "", "", "", "", "Ab-_"},
      {"count 0", "a/b/c", 0, 0, false, "/", "", "", "", "", "", "a/b/c"},
      {"count 1 per pair", "a/b/c-d-e", 1, 0, false, "/", "", "-", "", "", "", "ab/cd-e"},
      {"negative count is every occurrence", "a/b/c", -1, 0, false, "/", "", "", "", "", "", "abc"},
      {"start position", "/a/b", std::nullopt, 3, false, "/", "", "", "", "", "", "/ab"},
      {"start past end", "a/b", std::nullopt, 9, false, "/", "", "", "", "", "", "a/b"},
      {"empty find changes nothing", "a/b", std::nullopt, 0, false, "", "x", "/", "+", "", "",
       "a+b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReplaceMany(T(c.text), c.count, c.startPosition, c.caseSensitive, T(c.find1),
                          T(c.with1), T(c.find2), T(c.with2), T(c.find3), T(c.with3)),
              T(c.expected))
        << c.name;
  }
}

TEST(ReplaceManyTest, UsesAllFivePairs) {
  EXPECT_EQ(ReplaceMany("12345", std::nullopt, 1, false, "1", "a", "2", "b", "3", "c", "4", "d",
                        "5", "e"),
            T("abcde"));
}

}  // namespace
}  // namespace quorvel
