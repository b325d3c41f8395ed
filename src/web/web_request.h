// The program's one way onto the network: a complete HTTP or HTTPS exchange through the internet
// client, returning the body.
#pragma once

#include "textkit/text.h"

namespace quorvel {

// Performs one request for `url` and returns the response body exactly as received. The empty
// result is the only sign of a failed exchange. Each call opens and closes its own handles;
// only the platform's cookie store outlives it.
//
// Optional parameters that the routine writes back are passed as pointers; nullptr means the
// parameter was omitted (an omitted `sendCookies` differs from one given as the empty text).
//   method           1: "POST"; any other value: "GET". Any value but 0 sends a body.
//   postText         the body as text, used when a body is sent and `postBytes` is empty.
//   sendCookies      in/out. Given (even empty): the platform's cookie store is not used, a
//                    non-empty value goes out on a "Cookie: " line, and afterwards the received
//                    cookies are merged into it.
//   receivedCookies  out: the cookies the answer set, "name=value" items joined by "; ".
//   extraHeaders     in/out: request header lines separated by CR LF; on return the whole header
//                    block that was sent, completed with the default lines.
//   responseHeaders  out: the raw response header block with "Set-Cookie" in that case, or 5000
//                    spaces when there was no answer or the block did not fit in 5000 bytes.
//   noRedirect       a redirect answer is not followed but is itself the result.
//   postBytes        in/out: the body as bytes, ahead of `postText`; set to the bytes of
//                    `postText` when a body is sent and it is empty.
//   proxy            a proxy server "host:port"; empty for a direct connection.
//
// A `url` holding a byte below 0x20 (a line break would split the request line and the Referer
// line that carry it), or a port outside 0 to 65535, is not sent: the result is empty and nothing
// is written back, as when no internet handle could be obtained.
Bytes WebRequest(const Text& url, int method = 0, const Text& postText = Text(),
                 Text* sendCookies = nullptr, Text* receivedCookies = nullptr,
                 Text* extraHeaders = nullptr, Text* responseHeaders = nullptr,
                 bool noRedirect = false, Bytes* postBytes = nullptr, const Text& proxy = Text());

// The part of a header line after its first ":", trimmed; the empty text when there is no ":".
Text HeaderValue(const Text& line);

}  // namespace quorvel
