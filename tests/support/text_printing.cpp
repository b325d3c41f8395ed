#include "support/text_printing.h"

#include <cstdio>

namespace quorvel {

void PrintTo(const Text& text, std::ostream* os) {
  *os << '"';
  for (unsigned char c : text.view()) {
    if (c == '"' || c == '\\') {
      *os << '\\' << c;
    } else if (c >= 0x20 && c < 0x7F) {
      *os << c;
    } else {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      *os << hex;
    }
  }
  *os << '"';
}

namespace testing_support {

Bytes AsBytes(std::string_view bytes) { return Bytes(bytes.begin(), bytes.end()); }

}  // namespace testing_support
}  // namespace quorvel
