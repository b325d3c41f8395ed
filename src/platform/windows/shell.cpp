// Shell open on Windows.
#include "platform/shell.h"

#include <windows.h>
// Needs <windows.h> before it.
#include <shellapi.h>

namespace quorvel::platform {

void ShellOpen(const Text& target) {
  ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace quorvel::platform
