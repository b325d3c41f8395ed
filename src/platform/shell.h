// Opening a document or an address with the program the desktop associates with it.
#pragma once

#include "textkit/text.h"

namespace quorvel::platform {

// Asks the shell to open `target` (code page 936) with its verb "open", owned by no window,
// shown normally. Fire and forget: whether anything opens is not reported.
void ShellOpen(const Text& target);

}  // namespace quorvel::platform
