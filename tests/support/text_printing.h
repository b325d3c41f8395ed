// How GoogleTest shows the core's values in failure messages, and short ways to write them.
#pragma once

#include <ostream>
#include <string_view>

#include "textkit/text.h"

namespace quorvel {

// Shows a text as a quoted C string, bytes of 0x80 and above and control bytes as \xNN.
void PrintTo(const Text& text, std::ostream* os);

namespace testing_support {

// The bytes of a literal, zero bytes included: AsBytes(std::string_view("a\0b", 3)).
Bytes AsBytes(std::string_view bytes);

// A text from a literal that may hold any byte but zero (e.g. code-page-936 bytes "\xD6\xD0").
inline Text T(std::string_view bytes) { return Text(bytes); }

}  // namespace testing_support
}  // namespace quorvel
