// Text on the clipboard, as 8-bit text in code page 936 (the clipboard format CF_TEXT).
#pragma once

#include "textkit/text.h"

namespace quorvel {

// The clipboard's text: opens the clipboard with no owner, takes its CF_TEXT data, locks it and
// copies its bytes up to the first zero byte (never past the end of the block), unlocks it and
// closes the clipboard. The empty text when the clipboard cannot be opened or holds no text.
// The clipboard is never changed.
Text ReadClipboardText();

// Replaces the clipboard's contents by `text` in the one format CF_TEXT. True when the text was
// placed there. When the clipboard cannot be opened it keeps what it held; when the memory for
// the text cannot be had or the clipboard refuses it, the clipboard is left empty.
bool WriteClipboardText(const Text& text);

}  // namespace quorvel
