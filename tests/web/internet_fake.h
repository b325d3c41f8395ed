// A recording fake of the internet client, linked in place of the real layer.
//
// Each call is recorded as one readable line with its arguments, for example
//   HttpOpenRequestA(h2, "GET", "/", "HTTP/1.1", null, null, 0x80004010, 0)
// Handles are numbered h1, h2, ... in the order they are handed out; "null" is a null pointer;
// texts are quoted with \r, \n, \\, \" and \xNN escapes; a buffer handed to be filled shows as
// [1024 zero bytes] or [5000 spaces] when it was so, else as [N bytes].
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing_support {

struct FakeInternet {
  // What the fake answers.
  bool failOpen = false;
  bool failConnect = false;
  bool failRequest = false;
  // The body, handed out by InternetReadFile piece by piece (a piece larger than the size asked
  // for is cut), then 0 bytes.
  std::vector<std::string> bodyPieces;
  // The raw header block that HttpQueryInfoA delivers, with the buffer rule of WinInet (it must
  // fit with its terminating zero); none: the query fails and leaves the buffer as it is.
  std::optional<std::string> rawHeaders;

  // What it was asked.
  std::vector<std::string> calls;
  int handlesGiven = 0;
};

// The one fake of the test program; tests reset it with `Fake() = FakeInternet{}`.
FakeInternet& Fake();

}  // namespace quorvel::testing_support
