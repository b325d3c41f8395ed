// A system function is bound from its library at the first call; one that cannot be found stops
// the program with a message that names the library and the function. The stop is watched in a
// child copy of this test program, which binds what the parent asks for as soon as it starts.
#include "platform/windows/bind_by_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quorvel::platform::windows {
namespace {

constexpr wchar_t kChildVariable[] = L"QUORVEL_BIND_IN_CHILD";  // "library|function"

// In the child: bind what the parent named. The binding must stop the process with exit code 1.
const bool childRan = [] {
  wchar_t request[256] = {};
  if (GetEnvironmentVariableW(kChildVariable, request, 256) == 0) return false;
  std::string library, function;
  bool second = false;
  for (const wchar_t* c = request; *c != 0; ++c) {
    if (*c == L'|') {
      second = true;
    } else {
      (second ? function : library).push_back(static_cast<char>(*c));
    }
  }
  BindByName<void()>(library.c_str(), function.c_str());
  ExitProcess(0);  // bound after all
}();

struct SeenStop {
  std::wstring caption;
  std::wstring text;  // every text of the box's controls, joined
  DWORD exitCode = 0;
};

std::wstring WindowText(HWND window) {
  wchar_t text[1024] = {};
  GetWindowTextW(window, text, 1024);
  return text;
}

BOOL CALLBACK CollectText(HWND control, LPARAM texts) {
  reinterpret_cast<std::wstring*>(texts)->append(WindowText(control)).append(L"\n");
  return TRUE;
}

struct Search {
  DWORD process;
  HWND box = nullptr;
};

BOOL CALLBACK FindBoxOfProcess(HWND window, LPARAM search) {
  auto* s = reinterpret_cast<Search*>(search);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (owner == s->process && std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
    s->box = window;
    return FALSE;
  }
  return TRUE;
}

// Starts a child that binds `function` from `library`, reads the message box it shows, dismisses
// it and waits for the child to end.
SeenStop BindInChild(const std::string& library, const std::string& function) {
  const std::wstring request(library.begin(), library.end());
  std::wstring value = request + L"|" + std::wstring(function.begin(), function.end());
  SetEnvironmentVariableW(kChildVariable, value.c_str());
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring commandLine = L"\"" + std::wstring(self) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION child{};
  const BOOL started = CreateProcessW(self, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                      nullptr, &startup, &child);
  SetEnvironmentVariableW(kChildVariable, nullptr);
  SeenStop seen;
  if (!started) return seen;

  Search search{child.dwProcessId};
  for (int tries = 0; tries < 600 && search.box == nullptr; ++tries) {
    if (WaitForSingleObject(child.hProcess, 100) == WAIT_OBJECT_0) break;  // ended without a box
    EnumWindows(FindBoxOfProcess, reinterpret_cast<LPARAM>(&search));
  }
  if (search.box != nullptr) {
    seen.caption = WindowText(search.box);
    EnumChildWindows(search.box, CollectText, reinterpret_cast<LPARAM>(&seen.text));
    PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  }
  if (WaitForSingleObject(child.hProcess, 60000) != WAIT_OBJECT_0)
    TerminateProcess(child.hProcess, 99);
  GetExitCodeProcess(child.hProcess, &seen.exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  return seen;
}

TEST(BindByName, FindsASystemFunction) {
  ASSERT_FALSE(childRan);
  using GetTickCountFn = DWORD WINAPI();
  auto* bound = BindByName<GetTickCountFn>("kernel32.dll", "GetTickCount");
  EXPECT_EQ(
      reinterpret_cast<void*>(bound),
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetTickCount")));
}

TEST(BindByName, AMissingLibraryOrFunctionStopsTheProgramNamingBoth) {
  const std::pair<std::string, std::string> cases[] = {
      {"quorvel-no-such-library.dll", "InternetOpenA"},
      {"kernel32.dll", "QuorvelNoSuchFunction"},
  };
  for (const auto& [library, function] : cases) {
    SCOPED_TRACE(library + " " + function);
    const SeenStop seen = BindInChild(library, function);
    EXPECT_EQ(seen.caption, L"Quorvel");
    EXPECT_NE(seen.text.find(std::wstring(library.begin(), library.end())), std::wstring::npos);
    EXPECT_NE(seen.text.find(std::wstring(function.begin(), function.end())), std::wstring::npos);
    EXPECT_EQ(seen.exitCode, 1u);
  }
}

}  // namespace
}  // namespace quorvel::platform::windows
