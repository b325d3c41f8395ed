// The copy and browser buttons: they hand the result box's text, as it stands at the click, to
// the clipboard or to the desktop's browser.
#pragma once

#include "textkit/text.h"

namespace quorvel {

// "复制成功！" (copied successfully), with the full-width exclamation mark.
inline constexpr const char* kCopiedMessage = "\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1";
// "友情提示" (a friendly notice): the caption of that message.
inline constexpr const char* kCopiedCaption = "\xD3\xD1\xC7\xE9\xCC\xE1\xCA\xBE";

// Click handler of the copy button: an empty result box does nothing; otherwise its text goes to
// the clipboard and, once it is there, a message box says so.
void CopyResult();

// Whether `text` begins with "http:" or "https:" (ASCII case ignored).
bool IsWebAddress(const Text& text);

// Click handler of the browser button: the result box's text is handed to the shell to open when
// it is a web address (IsWebAddress). Anything else, the empty text included, is not handed
// over: the box holds text that came from a server, and the shell would also start programs and
// open local or network paths. Nothing is shown either way.
void OpenResultInBrowser();

}  // namespace quorvel
