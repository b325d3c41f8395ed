// System functions that the program binds by name at their first call instead of importing them.
// A library or function that cannot be found stops the program with a message naming both: the
// program cannot do anything useful without them.
#pragma once

#include <windows.h>

#include <string>

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
// The library from the system folder, so that a DLL of the same name beside the program or in
// the working directory is never taken in its place.
inline HMODULE LoadSystemLibrary(const char* library) {
  char directory[MAX_PATH];
  const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::string path = std::string(directory, length) + "\\" + library;
  return LoadLibraryA(path.c_str());
}

template <typename Fn>
Fn* BindByName(const char* library, const char* function) {
  HMODULE module = LoadSystemLibrary(library);
  if (module == nullptr) StopForMissingFunction(library, function);
  FARPROC address = GetProcAddress(module, function);
  if (address == nullptr) StopForMissingFunction(library, function);
  return reinterpret_cast<Fn*>(reinterpret_cast<void*>(address));
}

}  // namespace quorvel::platform::windows
