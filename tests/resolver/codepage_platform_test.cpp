// The code-page layer on its own: the two conversions as the program relies on them, on Windows
// and on Linux alike.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/codepage.h"

namespace quorvel::platform {
namespace {

using ::testing::ElementsAreArray;
using namespace std::literals;

// Converts the whole of `input` (terminator included when `input` holds it) with a measured
// buffer, and checks that measuring and converting agree.
std::u16string ToWide(unsigned codePage, std::string_view input) {
  const int size =
      MultiByteToWideChar(codePage, 0, input.data(), static_cast<int>(input.size()), nullptr, 0);
  if (size <= 0) return u"<failed>";
  std::u16string out(static_cast<std::size_t>(size), u'\0');
  EXPECT_EQ(MultiByteToWideChar(codePage, 0, input.data(), static_cast<int>(input.size()),
                                out.data(), size),
            size);
  return out;
}

std::string ToMulti(unsigned codePage, std::u16string_view input, bool* usedDefault = nullptr) {
  const int size = WideCharToMultiByte(codePage, 0, input.data(), static_cast<int>(input.size()),
                                       nullptr, 0, nullptr, usedDefault);
  if (size <= 0) return "<failed>";
  std::string out(static_cast<std::size_t>(size), '\0');
  EXPECT_EQ(WideCharToMultiByte(codePage, 0, input.data(), static_cast<int>(input.size()),
                                out.data(), size, nullptr, usedDefault),
            size);
  return out;
}

struct ToWideCase {
  const char* name;
  unsigned codePage;
  std::string_view input;
  std::u16string_view expected;
};

TEST(MultiByteToWideChar, ConvertsTheCodePagesTheProgramUses) {
  const ToWideCase cases[] = {
      {"UTF-8 Chinese", 65001, "\xE4\xB8\xAD\xE6\x96\x87", u"\u4E2D\u6587"},
      {"UTF-8 outside the BMP", 65001, "\xF0\x9F\x98\x80", u"\U0001F600"},
      {"UTF-8 ASCII", 65001, "share.txt", u"share.txt"},
      {"UTF-8 zero inside the counted input", 65001, std::string_view("a\0b", 3), u"a\0b"sv},
      {"GBK Chinese", 936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},
      {"GBK right single quote", 936, "\xA1\xAF", u"\u2019"},
      {"GBK euro sign", 936, "\x80", u"\u20AC"},
      {"ANSI code page is GBK", 0, "\xD6\xD0", u"\u4E2D"},
      // Invalid UTF-8 becomes U+FFFD and the text goes on after it.
      {"UTF-8 stray continuation byte", 65001, "a\x80z", u"a\uFFFDz"},
      {"UTF-8 cut sequence", 65001, "a\xE4\xB8z", u"a\uFFFDz"},
      {"UTF-8 cut four-byte sequence", 65001, "a\xF0\x9F\x98z", u"a\uFFFDz"},
      {"UTF-8 bytes that never occur", 65001, "\xFF\xFE", u"\uFFFD\uFFFD"},
      {"UTF-8 cut at the end", 65001, "a\xE4\xB8", u"a\uFFFD"},
      // An undecodable GBK pair becomes one "?".
      {"GBK lead byte with a bad trail byte", 936, "a\x81\x7Fz", u"a?z"},
  };
  for (const ToWideCase& c : cases) {
    EXPECT_EQ(ToWide(c.codePage, c.input), c.expected) << c.name;
  }
}

TEST(MultiByteToWideChar, ZeroTerminatedInputEndsAtTheFirstZeroAndCountsIt) {
  const char input[] = "ab\0cd";
  EXPECT_EQ(MultiByteToWideChar(65001, 0, input, -1, nullptr, 0), 3);
  char16_t out[8] = {u'X', u'X', u'X', u'X', u'X', u'X', u'X', u'X'};
  ASSERT_EQ(MultiByteToWideChar(65001, 0, input, -1, out, 8), 3);
  EXPECT_THAT(std::u16string_view(out, 4), ElementsAreArray(u"ab\0X"sv));
}

TEST(MultiByteToWideChar, NeverWritesPastTheBufferItIsGiven) {
  // Each ill-formed input measured, then converted into a buffer of exactly that size with
  // guard units after it.
  const std::string_view inputs[] = {"\xE4",
                                     "a\xE4",
                                     "\xF0\x9F",
                                     "\xED\xA0\x80",
                                     "\xC0\xAF",
                                     "\xF4\x90\x80\x80",
                                     "\xE4\xB8\xAD\xE6\x96"};
  for (const std::string_view input : inputs) {
    const std::string terminated(input);
    const int size = MultiByteToWideChar(65001, 0, terminated.c_str(), -1, nullptr, 0);
    ASSERT_GT(size, 0);
    std::vector<char16_t> out(static_cast<std::size_t>(size) + 4, u'G');
    EXPECT_EQ(MultiByteToWideChar(65001, 0, terminated.c_str(), -1, out.data(), size), size);
    EXPECT_THAT(std::u16string_view(out.data() + size, 4), ElementsAreArray(u"GGGG"sv));
  }
}

TEST(MultiByteToWideChar, FailsWithoutTheRoomItNeeds) {
  char16_t out[4] = {u'G', u'G', u'G', u'G'};
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", -1, out, 3), 0);
  EXPECT_THAT(std::u16string_view(out + 3, 1), ElementsAreArray(u"G"sv));
}

TEST(MultiByteToWideChar, RefusesEmptyInputAndUnknownCodePages) {
  char16_t out[4];
  EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", 0, out, 4), 0);
  EXPECT_EQ(MultiByteToWideChar(65001, 0, nullptr, -1, nullptr, 0), 0);
  EXPECT_EQ(MultiByteToWideChar(1234, 0, "abc", -1, nullptr, 0), 0);
}

struct ToMultiCase {
  const char* name;
  unsigned codePage;
  std::u16string_view input;
  std::string_view expected;
  bool usedDefault;
};

TEST(WideCharToMultiByte, ConvertsAndStandsInForWhatTheCodePageLacks) {
  const ToMultiCase cases[] = {
      {"Chinese in GBK", 936, u"\u4E2D\u6587", "\xD6\xD0\xCE\xC4", false},
      {"Chinese in the ANSI code page", 0, u"\u4E2D\u6587", "\xD6\xD0\xCE\xC4", false},
      {"right single quote in GBK", 936, u"\u2019", "\xA1\xAF", false},
      {"ASCII in GBK", 936, u"a.txt", "a.txt", false},
      {"Thai letter in GBK", 936, u"\u0E01\u4E2D", "?\xD6\xD0", true},
      {"unpaired surrogate in GBK", 936, u"\xD800z", "?z", true},
      {"pair outside the BMP in GBK", 936, u"\U0001F600", "??", true},
  };
  for (const ToMultiCase& c : cases) {
    bool usedDefault = !c.usedDefault;
    EXPECT_EQ(ToMulti(c.codePage, c.input, &usedDefault), c.expected) << c.name;
    EXPECT_EQ(usedDefault, c.usedDefault) << c.name;
  }
}

TEST(WideCharToMultiByte, WritesUtf8AndReplacesUnpairedSurrogates) {
  EXPECT_EQ(ToMulti(65001, u"\u4E2D\u6587"), "\xE4\xB8\xAD\xE6\x96\x87");
  EXPECT_EQ(ToMulti(65001, u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ToMulti(65001, u"a\xDC00"), "a\xEF\xBF\xBD");
}

TEST(WideCharToMultiByte, UsesTheDefaultCharacterItIsGiven) {
  char out[8] = {};
  const char hash = '#';
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"a\u0E01", -1, out, 8, &hash, nullptr), 3);
  EXPECT_STREQ(out, "a#");
}

TEST(WideCharToMultiByte, FailsWithoutTheRoomItNeedsAndNeverWritesPastTheBuffer) {
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\u4E2D\u6587", -1, nullptr, 0, nullptr, nullptr), 5);
  char out[8] = {'G', 'G', 'G', 'G', 'G', 'G', 'G', 'G'};
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\u4E2D\u6587", -1, out, 3, nullptr, nullptr), 0);
  EXPECT_EQ(std::string_view(out + 3, 5), "GGGGG");
  EXPECT_EQ(WideCharToMultiByte(936, 0, u"\u4E2D\u6587", -1, out, 5, nullptr, nullptr), 5);
  EXPECT_EQ(std::string_view(out, 8), std::string_view("\xD6\xD0\xCE\xC4\0GGG", 8));
}

}  // namespace
}  // namespace quorvel::platform
