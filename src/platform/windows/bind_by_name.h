// System functions that the program binds by name at their first call instead of importing them.
// A library or function that cannot be found stops the program with a message naming both: the
// program cannot do anything useful without them.
#pragma once

#include <windows.h>

namespace quorvel::platform::windows {

[[noreturn]] inline void StopForMissingFunction(const char* library, const char* function) {
  wchar_t message[512];
  wsprintfW(message,
            L"无法在 %hs 中找到函数 %hs，程序无法继续运行。\r\n"
            L"The function %hs could not be found in %hs.",
            library, function, function, library);
  MessageBoxW(nullptr, message, L"Quorvel", MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ExitProcess(1);
}

// The address of `function` in `library`, as a pointer of type Fn*. Callers keep it in a
// function-local static so that the lookup happens once, at the first call.
template <typename Fn>
Fn* BindByName(const char* library, const char* function) {
  HMODULE module = LoadLibraryA(library);
  if (module == nullptr) StopForMissingFunction(library, function);
  FARPROC address = GetProcAddress(module, function);
  if (address == nullptr) StopForMissingFunction(library, function);
  return reinterpret_cast<Fn*>(reinterpret_cast<void*>(address));
}

}  // namespace quorvel::platform::windows
