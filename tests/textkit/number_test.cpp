#include "textkit/number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "support/text_printing.h"

namespace quorvel {
namespace {

using testing_support::T;

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(ToHalfWidthTest, MapsFullWidthFormsAndKeepsOtherUnits) {
  const struct {
    Text in;
    Text out;
  } cases[] = {
      {T("\xA3\xB1\xA3\xB2\xA3\xB3"), "123"},           // １２３
      {T("\xA3\xAD\xA3\xAE\xA3\xA1\xA3\xFE"), "-.!~"},  // －．！ and the last form A3 FE
      {T("x\xA1\xA1y"), "x y"},                         // full-width space
      {T("\xA1\xAB\xA1\xEE\xA1\xEF"), "~**"},           // ～ and the two stars
      {T("\xD6\xD0\xA3\xA0\xA1\xA2"), T("\xD6\xD0\xA3\xA0\xA1\xA2")},  // 中, A3 A0, 、 stay
      {T("7\xD6"), "7"},  // a final lone lead byte goes
      // Units are formed from the start: D6 A3 is one character, B1 is a lone final byte.
      {T("\xD6\xA3\xB1"), T("\xD6\xA3")},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(ToHalfWidth(c.in), c.out) << ::testing::PrintToString(c.in);
}

TEST(ToNumberTest, ReadsTheLongestDecimalPrefix) {
  const struct {
    Text in;
    double out;
  } cases[] = {
      {"12.5abc", 12.5},
      {"1e3", 1000},
      {"1d3", 1000},
      {"1D+3x", 1000},
      {"2E-2", 0.02},
      {".5", 0.5},
      {"-.5", -0.5},
      {"+4", 4},
      {"-3e2", -300},
      {"1.e2", 100},
      {"7.", 7},
      {"1e", 1},  // an exponent letter without digits is not part of the number
      {"1e+", 1},
      {"1.5.6", 1.5},
      {"", 0},
      {".", 0},
      {"-", 0},
      {"+-1", 0},
      {"- 1", 0},
      {"e5", 0},
      {"0x1A", 0},
      {"inf", 0},
      {"nan", 0},
      {" \t\r\n\v\f12", 12},
      {T("\xA1\xA1+8"), 8},                           // full-width space, then +8
      {T("\xA3\xB1\xA3\xB2\xA3\xB3"), 123},           // １２３
      {T("\xA3\xAD\xA3\xB1\xA3\xAE\xA3\xB5"), -1.5},  // －１．５
      {"1.005", 1.005},
      {"0.1", 0.1},
      {"123456789012345678901234567890", 1.2345678901234568e29},
      {"2.2250738585072011e-308", 2.2250738585072009e-308},
      {"0.000000000000000000000000000000000000000000001e45", 1},
      {"1e400", kInf},
      {"-1e400", -kInf},
      {"1000000000000000000000000000000000e300", kInf},
      {"1e-400", 0},
      {"0.0001e-320", 0},
      {"1e99999999999999999999", kInf},
  };
  for (const auto& c : cases) EXPECT_EQ(ToNumber(c.in), c.out) << ::testing::PrintToString(c.in);
}

TEST(ToNumberTest, ConvertsIntegersExactly) {
  EXPECT_EQ(ToNumber(kMin), -2147483648.0);
  EXPECT_EQ(ToNumber(kMax), 2147483647.0);
  EXPECT_EQ(ToNumber(0), 0.0);
}

TEST(ToIntTest, ReadsLeadingDigitsWithWrapAround) {
  const struct {
    Text in;
    std::int32_t out;
  } cases[] = {
      {"81", 81},
      {" 443 ", 443},
      {"\t\n7", 7},
      {"3.9", 3},
      {"1e3", 1},
      {"-1", -1},
      {"+5", 5},
      {"- 5", 0},
      {"", 0},
      {"abc", 0},
      {"0x10", 0},
      {T("\xA3\xB1\xA3\xB2\xA3\xB3"), 123},  // １２３
      {T("\xA1\xA1\xA3\xAD\xA3\xB9"), -9},   // full-width space, then －９
      {"2147483647", kMax},
      {"2147483648", kMin},
      {"-2147483648", kMin},
      {"4294967296", 0},
      {"4294967297", 1},
      {"99999999999999999999", 1661992959},  // 10^20 - 1 modulo 2^32
      {"100000000000000000000", 1661992960},
  };
  for (const auto& c : cases) EXPECT_EQ(ToInt(c.in), c.out) << ::testing::PrintToString(c.in);
}

TEST(NumberToIntTest, TruncatesAndKeepsTheLow32Bits) {
  const struct {
    double in;
    std::int32_t out;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {0.0, 0},
      {-0.5, 0},
      {2147483647.9, kMax},
      {-2147483648.5, kMin},
      {2147483648.0, kMin},
      {4294967296.0 + 5, 5},
      {-4294967296.0 - 5, -5},
      {1e20, 1661992960},
      {1e300, 0},
      {kInf, 0},
      {-kInf, 0},
      {kNaN, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToInt(c.in), c.out) << c.in;
}

TEST(RoundNumberTest, RoundsHalfAwayFromZero) {
  const struct {
    double x;
    int digits;
    double out;
  } cases[] = {
      {2.5, 0, 3},
      {-2.5, 0, -3},
      {2.4, 0, 2},
      {0.125, 2, 0.13},
      {1.005, 2, 1.01},
      {3.14159, 3, 3.142},
      {-3.14159, 3, -3.142},
      {1234.5, -2, 1200},
      {1250, -2, 1300},
      {0.4999999999995, 0, 1},  // the added 1e-12 lifts it to a half
      {0.49, 0, 0},
      {50.0 * 1024 * 1024 / 1024000, 2, 51.2},
      {1e8 / 1024000, 2, 97.66},
      {0, 5, 0},
      // Scaling that leaves the range of a double: nothing to round away, or nothing left.
      {1e300, 10, 1e300},
      {1.5, 400, 1.5},
      {1.5, std::numeric_limits<int>::max(), 1.5},
      {5, -400, 0},
      {-5, std::numeric_limits<int>::min(), -0.0},
      {kInf, 2, kInf},
      {-kInf, 0, -kInf},
  };
  for (const auto& c : cases) {
    const double rounded = RoundNumber(c.x, c.digits);
    EXPECT_EQ(rounded, c.out) << c.x << " to " << c.digits;
    EXPECT_EQ(std::signbit(rounded), std::signbit(c.out)) << c.x << " to " << c.digits;
  }
  EXPECT_TRUE(std::isnan(RoundNumber(kNaN, 2)));
  EXPECT_TRUE(std::signbit(RoundNumber(-0.0)));
}

TEST(NumberToTextTest, WritesThirteenDigitsWithAThreeDigitExponent) {
  const struct {
    double x;
    Text out;
  } cases[] = {
      {1024000, "1024000"},
      {51.2, "51.2"},
      {0.1 + 0.2, "0.3"},
      {100, "100"},
      {2.0 / 3, "0.6666666666667"},
      {-2.5, "-2.5"},
      {0.0001, "0.0001"},
      {0.00001, "1e-005"},
      {1.5e-7, "1.5e-007"},
      {9999999999999, "9999999999999"},
      {1e13, "1e+013"},
      {1125899906842624, "1.125899906843e+015"},  // 2^50
      {1e100, "1e+100"},
      {-1e-100, "-1e-100"},
      {1e12, "1000000000000"},
      {123456.7, "123456.7"},
      {0.00012345678901234, "0.0001234567890123"},
      {9999999999999.5, "1e+013"},  // the carry adds a digit and raises the exponent
      {0.99999999999995, "1"},
      {1.0000000000005, "1.000000000001"},
      // The 17 digits are 1.0000000042535000, so the thirteenth rounds up, although the exact
      // binary value lies below the half.
      {1.0000000042535, "1.000000004254"},
      {std::numeric_limits<double>::max(), "1.797693134862e+308"},
      {std::numeric_limits<double>::denorm_min(), "4.940656458412e-324"},
      {0.0, "0"},
      {-0.0, "0"},
      {kInf, "inf"},
      {-kInf, "-inf"},
      {kNaN, "nan"},
  };
  for (const auto& c : cases) EXPECT_EQ(NumberToText(c.x), c.out) << c.x;
}

TEST(NumberTest, SizesInTheServiceAnswerComeOutWithTwoPlaces) {
  EXPECT_EQ(NumberToText(RoundNumber(ToNumber(Text("52428800")) / 1024000, 2)), Text("51.2"));
  EXPECT_EQ(NumberToText(RoundNumber(ToNumber(Text("100000000")) / 1024000, 2)), Text("97.66"));
}

TEST(BitOrTest, CombinesAllThirtyTwoBits) {
  constexpr std::int32_t top = static_cast<std::int32_t>(0x80000000u);
  constexpr std::int32_t both = BitOr(top, 16);
  static_assert(both < 0);
  EXPECT_EQ(static_cast<std::uint32_t>(both), 0x80000010u);
  EXPECT_EQ(BitOr(1, 2, 4, 1), 7);
  EXPECT_EQ(BitOr(-1, 0), -1);
}

}  // namespace
}  // namespace quorvel
