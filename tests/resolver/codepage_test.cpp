// MultiToWide, WideToMulti and Utf8ToLocal over the real code-page layer.
#include "resolver/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "support/text_printing.h"

namespace quorvel {
namespace {

using testing_support::AsBytes;
using testing_support::T;
using namespace std::literals;

TEST(Utf8ToLocal, ConvertsUtf8PagesToCodePage936) {
  struct Case {
    const char* name;
    Text utf8;
    Text expected;
  };
  const Case cases[] = {
      {"two Chinese characters", T("\xE4\xB8\xAD\xE6\x96\x87"), T("\xD6\xD0\xCE\xC4")},  // 中文
      {"ASCII stays byte for byte", T("<a href=\"/s/1x\">x</a>"), T("<a href=\"/s/1x\">x</a>")},
      {"empty", T(""), T("")},
      {"Thai letter becomes ?", T("a\xE0\xB8\x81z"), T("a?z")},  // ก
      {"stray continuation byte", T("a\x80z"), T("a?z")},
      {"sequence cut in the middle", T("a\xE4\xB8z"), T("a?z")},
      {"sequence cut at the end", T("ab\xE4\xB8"), T("ab?")},
      {"lead byte at the end", T("ab\xE4"), T("ab?")},
      {"bytes that never occur in UTF-8",
       T("\xFF\xFE"
         "ab"),
       T("??ab")},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8ToLocal(c.utf8), c.expected) << c.name;
}

TEST(Utf8ToLocal, ConvertsALongPageWhole) {
  std::string utf8, expected;
  for (int i = 0; i < 40000; ++i) {
    utf8 +=
        "\xE4\xB8\xAD"
        "a";  // 中a
    expected +=
        "\xD6\xD0"
        "a";
  }
  EXPECT_EQ(Utf8ToLocal(Text(std::move(utf8))), Text(std::move(expected)));
}

TEST(MultiToWide, GivesLittleEndianUnitsWithTheTerminator) {
  EXPECT_EQ(MultiToWide(T("a\xE4\xB8\xAD")), AsBytes("a\0\x2D\x4E\0\0"sv));
  EXPECT_EQ(MultiToWide(T("\xD6\xD0"), 936), AsBytes("\x2D\x4E\0\0"sv));
  EXPECT_EQ(MultiToWide(T("\xD6\xD0"), 0), AsBytes("\x2D\x4E\0\0"sv));
  EXPECT_EQ(MultiToWide(T("")), Bytes());
  EXPECT_EQ(MultiToWide(T("abc"), 1234), Bytes());
}

TEST(WideToMulti, ReadsUpToTheFirstZeroUnitAndNeverPastTheEnd) {
  struct Case {
    const char* name;
    Bytes wide;
    std::optional<int> codePage;
    Text expected;
  };
  const Case cases[] = {
      {"ANSI code page by default", AsBytes("\x2D\x4E\x87\x65\0\0"sv), std::nullopt,
       T("\xD6\xD0\xCE\xC4")},
      {"a zero unit ends the text", AsBytes("a\0\0\0b\0\0\0"sv), 936, T("a")},
      {"no zero unit at all", AsBytes("\x2D\x4E"sv), 936, T("\xD6\xD0")},
      {"a final odd byte is no unit", AsBytes("a\0b"sv), 936, T("a")},
      {"only a terminator", AsBytes("\0\0"sv), 936, T("")},
      {"empty", Bytes(), 936, T("")},
      {"Thai letter becomes ?", AsBytes("\x01\x0E\0\0"sv), 936, T("?")},
      {"UTF-8 within twice the ANSI measure", AsBytes("\x2D\x4E\x87\x65\0\0"sv), 65001,
       T("\xE4\xB8\xAD\xE6\x96\x87")},
      {"unknown code page", AsBytes("a\0\0\0"sv), 1234, T("")},
  };
  for (const Case& c : cases) EXPECT_EQ(WideToMulti(c.wide, c.codePage), c.expected) << c.name;
}

TEST(WideToMulti, GivesNothingRatherThanACutTextWhenTheConversionOutgrowsTheMeasure) {
  // Three Thai letters measure 4 bytes in code page 936 ("???" and the terminator), so the
  // buffer holds 8, but UTF-8 needs 10. The conversion fails; a prefix of it must not leak out.
  const Bytes thai = AsBytes("\x01\x0E\x02\x0E\x03\x0E\0\0"sv);  // กขค
  EXPECT_EQ(WideToMulti(thai, 65001), Text());
  // One letter just fits: 2 bytes measured, room for 4, and UTF-8 needs 4 with the terminator.
  EXPECT_EQ(WideToMulti(AsBytes("\x01\x0E\0\0"sv), 65001), T("\xE0\xB8\x81"));
}

}  // namespace
}  // namespace quorvel
