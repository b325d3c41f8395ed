#include "app/prefill.h"

#include "app/boxes.h"
#include "app/clipboard_text.h"

namespace quorvel {

void PrefillShareBox() {
  const Text prefix(kSharePrefix);
  const Text head = TextLeft(ReadClipboardText(), TextLength(prefix));
  if (CompareText(head, prefix) != 0) return;
  // Read again: the box receives the clipboard's text as it is now.
  SetBoxText(Box::kShare, ReadClipboardText());
}

}  // namespace quorvel
