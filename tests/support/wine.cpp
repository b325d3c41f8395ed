#include "support/wine.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvel::testing_support {

bool RunningUnderWine() {
#ifdef _WIN32
  // Wine's ntdll exports a function of its own that Windows' does not have.
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace quorvel::testing_support
