// Whether a Windows test program runs under Wine, for the few places where Wine's components
// behave differently from Windows' own.
#pragma once

#ifdef _WIN32
#include <windows.h>
#endif

namespace quorvel::testing_support {

inline bool RunningUnderWine() {
#ifdef _WIN32
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
  return false;
#endif
}

}  // namespace quorvel::testing_support
