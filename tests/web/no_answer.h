// What a web request leaves in its response headers when no answer came.
#pragma once

#include <gtest/gtest.h>

#include "support/text_printing.h"
#include "support/wine.h"
#include "textkit/text.h"

namespace quorvel::testing_support {

// Without an answer the header buffer keeps its 5000 spaces. Under Wine the check is skipped (the
// calling test is marked skipped after its other checks), since Wine's WinInet differs there.
inline void ExpectNoAnswerHeaders(const Text& headers) {
  if (RunningUnderWine()) {
    EXPECT_EQ(headers, "\r\n");
    GTEST_SKIP() << "Wine's WinInet answers the header query of a request that got no answer "
                    "with the block \"\\r\\n\" instead of failing";
  }
  EXPECT_EQ(headers, BlankText(5000));
}

}  // namespace quorvel::testing_support
