// A script host for tests that records what is asked of it and answers as it is told.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing_support {

struct ScriptHostScript {
  std::int32_t coInitializeResult = 0;
  bool creates = true;
  std::optional<std::u16string> runResult;
  std::vector<std::u16string> calls;  // "CoInitialize", "Create ScriptControl", ...
};

// The one recording that the host in this test program writes to.
ScriptHostScript& RecordedScriptHost();

}  // namespace quorvel::testing_support
