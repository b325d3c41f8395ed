// Taking a share address that the clipboard already holds when the program starts.
#pragma once

#include "textkit/text.h"

namespace quorvel {

// The start of every share page's address: "http://", the share host and one slash (21 bytes).
inline constexpr const char* kSharePrefix = "http://pan.baidu.com/";

// The creation handler of the main window: when the clipboard's text begins with kSharePrefix
// (letter case counting), the share box receives that whole text unchanged, line breaks included;
// otherwise the share box stays as it is.
void PrefillShareBox();

}  // namespace quorvel
