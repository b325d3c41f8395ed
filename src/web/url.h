// Taking an address apart for a request: host, port and object name. Plain text work on the
// address as it stands, with no validation.
#pragma once

#include <optional>

#include "textkit/text.h"

namespace quorvel {

// The lower-cased host of `url`.
// Address mode (`dotCount` absent): what stands between the scheme ("https://", else the first
// "http://" anywhere, which is put in front when there is none) and the next "/"; with
// `mainDomain`, only its last two dot-separated labels.
// Label mode (`dotCount` given, 0 included): schemes removed, cut at the first "/", then reduced
// to its last dotCount + 1 labels with `mainDomain`, or dotCount + 2 without it.
// In both modes a ":" and what follows it is cut off unless `keepPort`.
Text UrlHost(const Text& url, bool mainDomain = false, bool keepPort = false,
             std::optional<int> dotCount = std::nullopt);

// The explicit port (the leading digits after the host's last ":", 0 when none), else 443 for an
// address that begins with "https" in any case, else 80.
int UrlPort(const Text& url);

// The object name: from the first "/" after the host to the end, in the address's own case;
// "/" when there is none.
Text UrlPath(const Text& url);

}  // namespace quorvel
