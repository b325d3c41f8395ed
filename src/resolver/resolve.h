// The resolve command: from a share page's address to the shared file's download address.
#pragma once

#include "textkit/text.h"

namespace quorvel {

// The host of the service's share-download endpoint, reached over plain HTTP.
inline constexpr char kApiHost[] = "pan.baidu.com";

// What the program keeps between two clicks of the resolve button: the last share page, converted
// to code page 936, and the address shown by the last successful resolve.
struct ResolverState {
  Text sharePage;
  Text resolvedAddress;
};

// What a resolve found out about the shared file. The window shows only `address`.
struct ResolvedShare {
  bool succeeded = false;  // the endpoint answered with the error number "0"
  Text address;            // the download link as shown, every "/" removed
  Text fileName;           // the server's file name, its escapes decoded
  Text md5;
  Text size;  // in units of 1024000 bytes, two decimals, followed by "M"
};

// The resolve button's handler. Reads the share box, fetches that page and the endpoint's answer
// from `apiHost`, and writes the download address or the failure message into the result box.
// Updates `state.sharePage` on every run and `state.resolvedAddress` on success only.
ResolvedShare ResolveShareLink(ResolverState& state, const Text& apiHost = kApiHost);

// A plain GET of `url` with the default headers, the platform's cookie handling, redirects
// followed and a direct connection; the body up to its first zero byte. The empty text when
// nothing could be fetched.
Text FetchText(const Text& url);

// The five-line failure message shown in the result box, in code page 936.
Text ResolveFailureMessage();

}  // namespace quorvel
