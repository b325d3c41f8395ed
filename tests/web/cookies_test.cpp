#include "web/cookies.h"

#include <gtest/gtest.h>

#include "support/text_printing.h"

namespace quorvel {
namespace {

using testing_support::T;

TEST(MergeCookiesTest, FoldsReceivedCookiesIntoTheOldList) {
  const struct {
    Text oldCookies;
    Text newCookies;
    Text merged;
    Text newAfter;
  } cases[] = {
      {"a=1; b=2", "b=3; c=4", "b=3; c=4; a=1", "b=3;c=4"},
      {"a=1; b=2", "b=deleted", "a=1", "b=deleted"},
      {"sid=9", "sid=deleted; x=1", "x=1", "sid=deleted;x=1"},
      {"a=1; b=deleted", "", "a=1", ""},
      {"", "a=1; a=1", "a=1", "a=1;a=1"},
      {"", "a=1; a=2", "a=1; a=2", "a=1;a=2"},
      {"a=1; a=2", "c=3", "c=3; a=1", "c=3"},
      {"a=1;b=2", "", "a=1; b=2", ""},
      {"A=1", "a=2", "a=2; A=1", "a=2"},
      {"a=1", "b=DELETED", "b=DELETED; a=1", "b=DELETED"},
      {"a=x y", "b=2", "b=2; a=xy", "b=2"},
      {"a=1;;b=2", "", "a=1; ; b=2", ""},
      {T("a=1;\xA1\xA1z=2"), T(" y=\xD6\xD0"), T("y=\xD6\xD0; a=1; z=2"), T("y=\xD6\xD0")},  // 中
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.oldCookies) + " + " +
                 ::testing::PrintToString(c.newCookies));
    Text oldCookies = c.oldCookies;
    Text newCookies = c.newCookies;
    const Text returned = MergeCookies(oldCookies, newCookies);
    EXPECT_EQ(oldCookies, c.merged);
    EXPECT_EQ(returned, c.merged);
    EXPECT_EQ(newCookies, c.newAfter);
  }
}

TEST(CookieNameTest, TakesTheTrimmedTextBeforeTheFirstEquals) {
  const struct {
    Text cookie;
    Text name;
  } cases[] = {
      {" sid = 9", "sid"}, {"flag", "flag"},        {"=x", ""},
      {"a=b=c", "a"},      {T("\xA1\xA1k=v"), "k"}, {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(CookieName(c.cookie), c.name) << c.cookie.str();
}

TEST(CookieListTest, LooksUpNamesAndItems) {
  EXPECT_TRUE(HasCookie({"a=1", " b =2"}, "b"));
  EXPECT_FALSE(HasCookie({"a=1", "b=2"}, "B"));
  EXPECT_FALSE(HasCookie({"ab=1"}, "a"));
  EXPECT_FALSE(HasCookie({}, ""));

  EXPECT_EQ(FindInArray({"a", "b", "b"}, "b"), 2);
  EXPECT_EQ(FindInArray({"a"}, "A"), -1);
  EXPECT_EQ(FindInArray({"x", ""}, ""), 2);
  EXPECT_EQ(FindInArray({}, ""), -1);
}

TEST(DedupePiecesTest, KeepsTheFirstOfEachPiece) {
  const struct {
    Text text;
    Text separator;
    Text out;
  } cases[] = {
      {"x; y; x", "; ", "x; y"}, {"a,,b,,a,", ",", "a,,b"}, {"a", ",", "a"}, {"", "; ", ""},
      {"abc", "", "abc"},
  };
  for (const auto& c : cases) EXPECT_EQ(DedupePieces(c.text, c.separator), c.out) << c.text.str();
}

}  // namespace
}  // namespace quorvel
