// UnescapeName over the real script host: the Script Control under Windows, Duktape on Linux.
#include "resolver/unescape.h"

#include <gtest/gtest.h>

#include "support/text_printing.h"
#include "support/wine.h"

namespace quorvel {
namespace {

using testing_support::T;

TEST(UnescapeName, DecodesTheNamesTheServiceSends) {
  struct Case {
    const char* name;
    Text escaped;
    Text expected;
  };
  const Case cases[] = {
      {"\\u escapes", T("\\u4e2d\\u6587.txt"), T("\xD6\xD0\xCE\xC4.txt")},  // 中文.txt
      {"escaped slash", T("a\\/b.zip"), T("a/b.zip")},
      {"plain name", T("report 2017.pdf"), T("report 2017.pdf")},
      {"Chinese name without escapes", T("\xD6\xD0\xCE\xC4.txt"), T("\xD6\xD0\xCE\xC4.txt")},
      {"% and two hex digits", T("%41bc%2e7z"), T("Abc.7z")},
      {"%u and four hex digits", T("%u4e2d"), T("\xD6\xD0")},
      {"apostrophe", T("it's.txt"), T("it's.txt")},
      {"right single quote", T("it\xA1\xAFs.txt"), T("it's.txt")},  // it’s.txt
      {"{$}", T("a{$}b"), T("a\r\nb")},
      {"CR LF", T("a\r\nb"), T("a\r\nb")},
      {"leading CR", T("\rname"), T("name")},
      {"backslash and upper-case U", T("\\U0041"), T("U0041")},
      {"a character 936 lacks", T("\\u0e01.txt"), T("?.txt")},
      {"trailing backslash breaks the literal", T("name\\"), T("")},
      {"empty", T(""), T("")},
  };
  for (const Case& c : cases) EXPECT_EQ(UnescapeName(c.escaped), c.expected) << c.name;
}

TEST(UnescapeName, GivesTheEmptyTextForLineBreaksThatBreakTheLiteral) {
  if (testing_support::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's JScript accepts line breaks inside string literals";
  }
  EXPECT_EQ(UnescapeName(T("a\nb")), Text());
  EXPECT_EQ(UnescapeName(T("a\rb")), Text());
}

}  // namespace
}  // namespace quorvel
