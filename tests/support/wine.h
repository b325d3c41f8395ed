// Whether a Windows test program runs under Wine rather than Windows, for the few checks where
// Wine's system libraries are known to behave differently (each such check says how).
#pragma once

namespace quorvel::testing_support {

// False on Linux and on Windows itself.
bool RunningUnderWine();

}  // namespace quorvel::testing_support
