// The two edit boxes of the main window. Every command reads its input and shows its result only
// through these two operations.
#pragma once

#include "textkit/text.h"

namespace quorvel {

enum class Box { kShare, kResult };

// The whole current text of the box in code page 936, as the user left it; lines of the result
// box are separated by CR LF. The empty text for an empty box.
Text GetBoxText(Box box);

// Replaces the whole text of the box; the empty text empties it.
void SetBoxText(Box box, const Text& text);

}  // namespace quorvel
