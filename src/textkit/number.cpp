#include "textkit/number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace quorvel {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The white space that the readers skip before a number: space, tab, line feed, vertical tab,
// form feed and carriage return.
bool IsLeadingSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string_view SkipLeadingSpace(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size() && IsLeadingSpace(s[i])) ++i;
  return s.substr(i);
}

struct DecimalPrefix {
  // The number in a form that std::from_chars reads: an optional '-' (a '+' is dropped), the
  // integer digits ("0" when there are none), the fraction digits after a point when there are
  // any, and 'e' with its sign and digits when the text has a complete exponent ('d' and 'D'
  // introduce one as well). Empty when the prefix holds no mantissa digit.
  std::string decimal;
  // The decimal exponent of the first non-zero mantissa digit plus the written exponent,
  // saturated: tells an overflow from an underflow.
  long long leadExponent = 0;
};

DecimalPrefix ReadDecimalPrefix(std::string_view s) {
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const std::size_t integerStart = i;
  while (i < s.size() && IsDigit(s[i])) ++i;
  const std::string_view integer = s.substr(integerStart, i - integerStart);
  std::string_view fraction;
  if (i < s.size() && s[i] == '.') {
    std::size_t j = i + 1;
    while (j < s.size() && IsDigit(s[j])) ++j;
    fraction = s.substr(i + 1, j - i - 1);
    // A point belongs to the number when a digit stands before or after it.
    if (!integer.empty() || !fraction.empty()) i = j;
  }
  if (integer.empty() && fraction.empty()) return {};

  std::string out;
  if (negative) out.push_back('-');
  if (integer.empty()) {
    out.push_back('0');
  } else {
    out.append(integer);
  }
  if (!fraction.empty()) {
    out.push_back('.');
    out.append(fraction);
  }

  long long lead = 0;
  if (const std::size_t first = integer.find_first_not_of('0'); first != std::string_view::npos) {
    lead = static_cast<long long>(integer.size() - first) - 1;
  } else if (const std::size_t firstFraction = fraction.find_first_not_of('0');
             firstFraction != std::string_view::npos) {
    lead = -static_cast<long long>(firstFraction) - 1;
  }

  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    std::size_t j = i + 1;
    bool negativeExponent = false;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      negativeExponent = s[j] == '-';
      ++j;
    }
    if (j < s.size() && IsDigit(s[j])) {
      out.push_back('e');
      if (negativeExponent) out.push_back('-');
      long long exponent = 0;
      for (; j < s.size() && IsDigit(s[j]); ++j) {
        out.push_back(s[j]);
        if (exponent < 1'000'000'000) exponent = exponent * 10 + (s[j] - '0');
      }
      lead += negativeExponent ? -exponent : exponent;
    }
  }
  return {std::move(out), lead};
}

// 10^k for 0 <= k, correctly rounded; infinity beyond the range of a double. Read from its
// decimal form so that every platform gets the same bits.
double PowerOfTen(long long k) {
  if (k > std::numeric_limits<double>::max_exponent10) return HUGE_VAL;
  const std::string decimal = "1e" + std::to_string(k);
  double value = 0;
  std::from_chars(decimal.data(), decimal.data() + decimal.size(), value);
  return value;
}

}  // namespace

Text ToHalfWidth(const Text& text) {
  const std::string_view s = text.view();
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size();) {
    const auto lead = static_cast<unsigned char>(s[i]);
    if (lead < 0x80) {
      out.push_back(s[i]);
      ++i;
      continue;
    }
    if (i + 1 == s.size()) break;  // a lead byte with nothing after it
    const auto trail = static_cast<unsigned char>(s[i + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
      out.push_back(static_cast<char>(trail - 0x80));
    } else if (lead == 0xA1 && trail == 0xA1) {
      out.push_back(' ');
    } else if (lead == 0xA1 && trail == 0xAB) {
      out.push_back('~');
    } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
      out.push_back('*');
    } else {
      out.append(s.substr(i, 2));
    }
    i += 2;
  }
  return Text(std::move(out));
}

double ToNumber(const Text& value) {
  const Text halfWidth = ToHalfWidth(value);
  const auto [prefix, leadExponent] = ReadDecimalPrefix(SkipLeadingSpace(halfWidth.view()));
  if (prefix.empty()) return 0;
  double result = 0;
  const std::from_chars_result parsed =
      std::from_chars(prefix.data(), prefix.data() + prefix.size(), result);
  if (parsed.ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: infinity when the value is large, zero when it is tiny.
    result = leadExponent >= 0 ? HUGE_VAL : 0.0;
    if (prefix.front() == '-') result = -result;
  }
  return result;
}

double ToNumber(std::int32_t value) { return value; }

std::int32_t ToInt(const Text& text) {
  const Text halfWidth = ToHalfWidth(text);
  const std::string_view s = SkipLeadingSpace(halfWidth.view());
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;  // unsigned: wraps modulo 2^32
  for (; i < s.size() && IsDigit(s[i]); ++i) {
    value = value * 10u + static_cast<std::uint32_t>(s[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<std::int32_t>(value);
}

std::int32_t NumberToInt(double x) {
  if (!std::isfinite(x)) return 0;
  // fmod is exact, and its result lies within +-2^32, so the conversions below are defined.
  const double low = std::fmod(std::trunc(x), 4294967296.0);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::int64_t>(low)));
}

double RoundNumber(double x, int digits) {
  if (x == 0) return x;
  const bool negative = std::signbit(x);
  const double m = std::fabs(x);
  double p = 1;
  double t = m;
  if (digits > 0) {
    p = PowerOfTen(digits);
    t = m * p;
  } else if (digits < 0) {
    p = PowerOfTen(-static_cast<long long>(digits));
    t = m / p;
  }
  // A value already too large to scale has no places to round away (this covers infinity and
  // not-a-number as well); rounding to a power of ten beyond the range of a double leaves 0.
  if (!std::isfinite(t)) return x;
  if (!std::isfinite(p)) return negative ? -0.0 : 0.0;
  double w = 0;
  const double f = std::modf(t + 1e-12, &w);
  if (f >= 0.5) w += 1;
  double rounded = w;
  if (digits > 0) {
    rounded = w / p;
  } else if (digits < 0) {
    rounded = w * p;
  }
  return negative ? -rounded : rounded;
}

Text NumberToText(double x) {
  if (std::isnan(x)) return Text("nan");
  if (std::isinf(x)) return Text(x < 0 ? "-inf" : "inf");
  if (x == 0) return Text("0");

  // 17 significant digits, d.dddddddddddddddde+XX, from the C++ library's own conversion, which
  // does not depend on the C library's printf.
  std::array<char, 40> buffer{};
  const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(x),
                                     std::chars_format::scientific, 16);
  const std::string_view scientific(buffer.data(),
                                    static_cast<std::size_t>(written.ptr - buffer.data()));
  std::string digits;
  digits.push_back(scientific[0]);
  digits.append(scientific.substr(2, 16));
  const std::size_t e = scientific.find('e');
  int exponent = 0;
  std::from_chars(scientific.data() + e + 2, scientific.data() + scientific.size(), exponent);
  if (scientific[e + 1] == '-') exponent = -exponent;

  // Round the 17 digits to 13; a carry out of the first digit adds a digit in front.
  const bool roundUp = digits[13] >= '5';
  digits.resize(13);
  if (roundUp) {
    int i = 12;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
      digits[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++digits[static_cast<std::size_t>(i)];
    } else {
      digits = "1" + digits.substr(0, 12);
      ++exponent;
    }
  }
  const std::size_t significant = digits.find_last_not_of('0') + 1;
  digits.resize(significant);

  std::string out;
  if (x < 0) out.push_back('-');
  if (exponent < -4 || exponent >= 13) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back('.');
      out.append(digits, 1);
    }
    out.push_back('e');
    out.push_back(exponent < 0 ? '-' : '+');
    const int magnitude = exponent < 0 ? -exponent : exponent;
    out.push_back(static_cast<char>('0' + magnitude / 100));
    out.push_back(static_cast<char>('0' + magnitude / 10 % 10));
    out.push_back(static_cast<char>('0' + magnitude % 10));
  } else if (exponent >= 0) {
    const auto units = static_cast<std::size_t>(exponent) + 1;
    if (digits.size() <= units) {
      out.append(digits);
      out.append(units - digits.size(), '0');
    } else {
      out.append(digits, 0, units);
      out.push_back('.');
      out.append(digits, units);
    }
  } else {
    out.append("0.");
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits);
  }
  return Text(std::move(out));
}

}  // namespace quorvel
