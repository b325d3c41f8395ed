#include "resolver/unescape.h"

#include <optional>
#include <string>

#include "platform/script_host.h"
#include "resolver/codepage.h"

namespace quorvel {
namespace {

// Stand-ins for what would break the script's one-line, single-quoted literal. JScript's
// unescape leaves both alone.
constexpr const char* kLineBreakStandIn = "{$}";
constexpr const char* kApostropheStandIn = "\xA1\xAF";  // ’ (U+2019) in code page 936

constexpr int kAnsiCodePage = 0;

// Texts cross to the script host as UTF-16 in the ANSI code page.
std::u16string ToUtf16(const Text& text) { return BytesToUnits(MultiToWide(text, kAnsiCodePage)); }

Text FromUtf16(std::u16string_view units) {
  return WideToMulti(UnitsToBytes(units), kAnsiCodePage);
}

// COM for the calling thread, for as long as this lives. Only an initialisation that worked is
// undone: undoing a failed one would take away one that the caller made.
class ComScope {
 public:
  ComScope() : result_(platform::CoInitialize()) {}
  ~ComScope() {
    if (result_ >= 0) platform::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  std::int32_t result_;
};

// Runs the script function xx, defined by a literal holding `literalText`, and returns its result.
// Every failure leaves the result empty.
Text RunUnescapeScript(const Text& literalText) {
  const ComScope com;
  platform::ScriptHost host(u"ScriptControl");
  host.SetLanguage(u"JScript");
  host.ExecuteStatement(
      ToUtf16(ConcatText({"function xx(){var x='", literalText, "';return unescape(x);}"})));
  const std::optional<std::u16string> result = host.Run(u"xx");
  return result ? FromUtf16(*result) : Text();
}

}  // namespace

Text UnescapeName(const Text& escapedName) {
  constexpr bool kCaseSensitive = true;
  const auto replaceAll = [](const Text& text, const Text& sought, const Text& replacement) {
    return ReplaceText(text, sought, replacement, 1, std::nullopt, kCaseSensitive);
  };
  Text t = replaceAll(escapedName, "\r\n", kLineBreakStandIn);
  if (!t.empty() && t.view().front() == '\r') t = Text(t.view().substr(1));
  // "\u" escapes become unescape's "%u" escapes; a backslash before "U" stays as it is.
  t = replaceAll(t, "\\u", "%u");
  t = replaceAll(t, "'", kApostropheStandIn);
  Text r = RunUnescapeScript(t);
  r = replaceAll(r, kApostropheStandIn, "'");
  return replaceAll(r, kLineBreakStandIn, "\r\n");
}

}  // namespace quorvel
