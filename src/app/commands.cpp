#include "app/commands.h"

#include "app/boxes.h"
#include "app/clipboard_text.h"
#include "platform/shell.h"
#include "platform/ui.h"

namespace quorvel {

void CopyResult() {
  const Text text = GetBoxText(Box::kResult);
  if (CompareText(text, Text()) == 0) return;
  if (WriteClipboardText(text)) platform::ShowMessageBox(kCopiedMessage, kCopiedCaption);
}

bool IsWebAddress(const Text& text) {
  return CompareText(ToLower(TextLeft(text, 5)), "http:") == 0 ||
         CompareText(ToLower(TextLeft(text, 6)), "https:") == 0;
}

void OpenResultInBrowser() {
  const Text text = GetBoxText(Box::kResult);
  if (IsWebAddress(text)) platform::ShellOpen(text);
}

}  // namespace quorvel
