// File-name unescaping. A file name in the service's answer holds JSON-style escapes ("\u"
// and four hexadecimal digits, or a backslash before another character). The script host's
// JScript engine decodes them: the name becomes a string literal of a one-line script whose
// function returns unescape() of it.
#pragma once

#include "textkit/text.h"

namespace quorvel {

// `escapedName` with its escapes decoded, in the ANSI code page. CR LF pairs survive; a
// carriage return at the very start is dropped. The empty text when the script host is not
// available or rejects the script (for instance for a line feed without a carriage return
// before it, a carriage return elsewhere, or a final single backslash).
Text UnescapeName(const Text& escapedName);

}  // namespace quorvel
