// Code-page conversion over iconv, behaving as the Windows functions do for the code pages the
// program uses: 65001 (UTF-8), 936 (GBK) and 0, the ANSI code page, which is 936 here because the
// program is made for simplified-Chinese systems.
//
// Each call converts its whole input into a buffer of its own first, so that measuring and
// converting give the same size and nothing is written to the caller's buffer unless all of it
// fits.
#include "platform/codepage.h"

#include <errno.h>
#include <iconv.h>

#include <bit>
#include <climits>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace quorvel::platform {
namespace {

constexpr char16_t kReplacementCharacter = 0xFFFD;
constexpr char kDefaultChar = '?';

enum class Charset { kUtf8, kGbk };

std::optional<Charset> CharsetOf(unsigned codePage) {
  switch (codePage) {
    case kCodePageUtf8:
      return Charset::kUtf8;
    case kCodePageAnsi:
    case kCodePageGbk:
      return Charset::kGbk;
    default:
      return std::nullopt;
  }
}

const char* IconvName(Charset charset) { return charset == Charset::kUtf8 ? "UTF-8" : "CP936"; }

const char* Utf16Name() {
  return std::endian::native == std::endian::little ? "UTF-16LE" : "UTF-16BE";
}

// One iconv conversion descriptor.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Iconv() {
    if (ok()) iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts as much of [*in, *in + *inLeft) as it can, appending the output to `out`. Returns 0
  // when all of the input was converted, otherwise errno (EILSEQ or EINVAL) with *in at the
  // sequence that could not be converted.
  template <typename Out>
  int Convert(const char** in, std::size_t* inLeft, Out& out) {
    using Unit = typename Out::value_type;
    Unit chunk[1024];
    while (*inLeft > 0) {
      char* outPtr = reinterpret_cast<char*>(chunk);
      std::size_t outLeft = sizeof chunk;
      const std::size_t result = iconv(cd_, const_cast<char**>(in), inLeft, &outPtr, &outLeft);
      out.append(chunk, (sizeof chunk - outLeft) / sizeof(Unit));
      if (result != static_cast<std::size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      const int error = errno;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
      return error;
    }
    return 0;
  }

 private:
  iconv_t cd_;
};

// The length of the longest start of a well-formed UTF-8 sequence at `bytes`, at least 1: the
// bytes that together become one U+FFFD.
std::size_t IllFormedUtf8Length(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  std::size_t trailing = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  std::size_t length = 1;
  while (length <= trailing && length < bytes.size()) {
    const auto next = static_cast<unsigned char>(bytes[length]);
    if (next < low || next > high) break;
    low = 0x80;
    high = 0xBF;
    ++length;
  }
  return length;
}

// How many bytes of an undecodable GBK sequence become one default character: a lead byte takes
// the byte after it along, unless that is the end or a zero.
std::size_t UndecodableGbkLength(std::string_view bytes) {
  const auto lead = static_cast<unsigned char>(bytes[0]);
  if (lead >= 0x81 && lead <= 0xFE && bytes.size() > 1 && bytes[1] != '\0') return 2;
  return 1;
}

std::optional<std::u16string> Decode(Charset charset, std::string_view input) {
  Iconv converter(Utf16Name(), IconvName(charset));
  if (!converter.ok()) return std::nullopt;
  std::u16string units;
  const char* in = input.data();
  std::size_t inLeft = input.size();
  while (converter.Convert(&in, &inLeft, units) != 0) {
    const std::string_view rest(in, inLeft);
    const std::size_t skipped =
        charset == Charset::kUtf8 ? IllFormedUtf8Length(rest) : UndecodableGbkLength(rest);
    units.push_back(charset == Charset::kUtf8 ? kReplacementCharacter : char16_t{kDefaultChar});
    in += skipped;
    inLeft -= skipped;
  }
  return units;
}

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

std::optional<std::string> Encode(Charset charset, std::u16string_view input, char defaultChar,
                                  bool* usedDefaultChar) {
  Iconv converter(IconvName(charset), Utf16Name());
  if (!converter.ok()) return std::nullopt;
  std::string bytes;
  const char* in = reinterpret_cast<const char*>(input.data());
  std::size_t inLeft = input.size() * sizeof(char16_t);
  while (converter.Convert(&in, &inLeft, bytes) != 0) {
    // An unpaired surrogate, or a character the code page lacks. In a code page other than
    // UTF-8 each unit of a surrogate pair becomes a default character of its own.
    const std::size_t at = input.size() - inLeft / sizeof(char16_t);
    const bool pair =
        IsHighSurrogate(input[at]) && at + 1 < input.size() && IsLowSurrogate(input[at + 1]);
    const std::size_t skipped = charset == Charset::kGbk && pair ? 2 : 1;
    if (charset == Charset::kUtf8) {
      bytes.append("\xEF\xBF\xBD");  // U+FFFD
    } else {
      bytes.append(skipped, defaultChar);
      if (usedDefaultChar != nullptr) *usedDefaultChar = true;
    }
    in += skipped * sizeof(char16_t);
    inLeft -= skipped * sizeof(char16_t);
  }
  return bytes;
}

// The size to report, and the output written, for a conversion result `out`.
template <typename Unit>
int Deliver(const std::basic_string<Unit>& out, Unit* buffer, int bufferSize) {
  if (out.size() > static_cast<std::size_t>(INT_MAX)) return 0;
  const int size = static_cast<int>(out.size());
  if (bufferSize == 0) return size;
  if (bufferSize < size) return 0;  // ERROR_INSUFFICIENT_BUFFER
  std::memcpy(buffer, out.data(), out.size() * sizeof(Unit));
  return size;
}

}  // namespace

int MultiByteToWideChar(unsigned codePage, std::uint32_t flags, const char* multiByte,
                        int multiByteLength, char16_t* wide, int wideSize) {
  if (multiByte == nullptr || multiByteLength == 0 || wideSize < 0 ||
      (wide == nullptr && wideSize != 0)) {
    return 0;  // ERROR_INVALID_PARAMETER
  }
  if (flags != 0) return 0;  // ERROR_INVALID_FLAGS: no flag is supported
  const std::optional<Charset> charset = CharsetOf(codePage);
  if (!charset) return 0;
  const std::string_view input =
      multiByteLength < 0 ? std::string_view(multiByte, std::strlen(multiByte) + 1)
                          : std::string_view(multiByte, static_cast<std::size_t>(multiByteLength));
  const std::optional<std::u16string> units = Decode(*charset, input);
  return units ? Deliver(*units, wide, wideSize) : 0;
}

int WideCharToMultiByte(unsigned codePage, std::uint32_t flags, const char16_t* wide,
                        int wideLength, char* multiByte, int multiByteSize, const char* defaultChar,
                        bool* usedDefaultChar) {
  if (wide == nullptr || wideLength == 0 || multiByteSize < 0 ||
      (multiByte == nullptr && multiByteSize != 0)) {
    return 0;  // ERROR_INVALID_PARAMETER
  }
  if (flags != 0) return 0;  // ERROR_INVALID_FLAGS
  const std::optional<Charset> charset = CharsetOf(codePage);
  if (!charset) return 0;
  if (*charset == Charset::kUtf8 && (defaultChar != nullptr || usedDefaultChar != nullptr)) {
    return 0;  // ERROR_INVALID_PARAMETER: UTF-8 has no default character
  }
  std::u16string_view input;
  if (wideLength < 0) {
    input = std::u16string_view(wide);
    input = std::u16string_view(wide, input.size() + 1);
  } else {
    input = std::u16string_view(wide, static_cast<std::size_t>(wideLength));
  }
  if (usedDefaultChar != nullptr) *usedDefaultChar = false;
  const char substitute = defaultChar != nullptr ? *defaultChar : kDefaultChar;
  const std::optional<std::string> bytes = Encode(*charset, input, substitute, usedDefaultChar);
  return bytes ? Deliver(*bytes, multiByte, multiByteSize) : 0;
}

}  // namespace quorvel::platform
