#include "web/url.h"

#include "resolver/markers.h"
#include "textkit/number.h"

namespace quorvel {
namespace {

// Position of the first byte of the host in `url`: after a leading "https://", else after the
// first "http://" anywhere, else the first byte (any ASCII case, as `UrlHost` lower-cases first).
int HostStart(const Text& url) {
  if (ToLower(TextLeft(url, 8)) == Text("https://")) return 9;
  const int http = FindText(url, "http://", 1, true);
  return http == -1 ? 1 : http + 7;
}

// `s` reduced to its last labels: the dot-walk of label mode.
Text LastLabels(const Text& s, bool mainDomain, int dotCount) {
  int p = TextLength(s);
  // Once no "." is left, further steps change nothing.
  for (int i = 0; i < dotCount && p != -1; ++i) p = FindTextReverse(s, ".", p);
  const int q = FindTextReverse(s, ".", p);
  if (mainDomain) return TextRight(s, TextLength(s) - q);
  if (q == -1) return s;
  const int r = FindTextReverse(s, ".", q);
  return r == -1 ? s : TextRight(s, TextLength(s) - r);
}

}  // namespace

Text UrlHost(const Text& url, bool mainDomain, bool keepPort, std::optional<int> dotCount) {
  Text s = ToLower(url);
  if (!dotCount.has_value()) {
    if (TextRight(s, 1) != Text("/")) s = ConcatText({s, "/"});
    if (TextLeft(s, 8) == Text("https://")) {
      s = TextBetween(s, "https://", "/");
    } else {
      if (FindText(s, "http://") == -1) s = ConcatText({"http://", s});
      s = TextBetween(s, "http://", "/");
    }
    if (mainDomain) {
      const TextArray labels = SplitText(s, ".");
      const int n = ArrayCount(labels);
      if (n > 1) s = ConcatText({ArrayItem(labels, n - 1), ".", ArrayItem(labels, n)});
    }
  } else {
    s = ReplaceText(s, "http://", Text(), 1, std::nullopt, true);
    s = ReplaceText(s, "https://", Text(), 1, std::nullopt, true);
    if (const int slash = FindText(s, "/"); slash != -1) s = TextLeft(s, slash - 1);
    s = LastLabels(s, mainDomain, *dotCount);
  }
  if (!keepPort) {
    if (const int colon = FindText(s, ":"); colon != -1) s = TextLeft(s, colon - 1);
  }
  return s;
}

int UrlPort(const Text& url) {
  const Text host = UrlHost(url, false, true);
  if (const int colon = FindTextReverse(host, ":"); colon != -1) {
    return ToInt(TextRight(host, TextLength(host) - colon));
  }
  return ToLower(TextLeft(url, 5)) == Text("https") ? 443 : 80;
}

Text UrlPath(const Text& url) {
  // The host stands right after the scheme, so the path is the first "/" from there on. Looking
  // for the host text from the first byte instead would find a short host such as "t" or "p"
  // inside the scheme itself and hand back "//t/x" for "http://t/x".
  const int slash = FindText(url, "/", HostStart(url));
  if (slash == -1) return "/";
  return TextRight(url, TextLength(url) - slash + 1);
}

}  // namespace quorvel
