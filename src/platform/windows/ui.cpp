// The main window on Windows: a plain USER window with standard EDIT and BUTTON controls.
#include "platform/ui.h"

#include <windows.h>
// Needs <windows.h> before it.
#include <ole2.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/windows/wide_text.h"

namespace quorvel::platform {
namespace {

using windows::TextFromWide;
using windows::WideFrom936;

constexpr wchar_t kWindowClass[] = L"QuorvelMainWindow";
// Control identifiers start above IDOK and IDCANCEL, which the dialog keys send.
constexpr int kFirstControlId = 100;

// The one main window of the program.
struct MainWindow {
  HWND window = nullptr;
  WindowDescription description{};
  WindowEvents events;
  std::vector<HWND> controls;
  HWND lastFocus = nullptr;
};

MainWindow& TheWindow() {
  static MainWindow main;
  return main;
}

HWND ControlWindow(int control) {
  const MainWindow& main = TheWindow();
  if (main.window == nullptr || control < 0 || control >= static_cast<int>(main.controls.size())) {
    return nullptr;
  }
  return main.controls[static_cast<std::size_t>(control)];
}

HWND CreateControl(HWND parent, const ControlDescription& control, int id) {
  DWORD style = WS_CHILD | WS_VISIBLE | (control.tabStop ? WS_TABSTOP : 0);
  DWORD exStyle = 0;
  const wchar_t* windowClass = L"BUTTON";
  switch (control.kind) {
    case ControlKind::kGroupBox:
      style |= BS_GROUPBOX;
      break;
    case ControlKind::kPushButton:
      style |= BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE;
      break;
    case ControlKind::kEditBox: {
      const EditSettings& edit = control.edit;
      windowClass = L"EDIT";
      exStyle = WS_EX_CLIENTEDGE;
      style |= edit.centred ? ES_CENTER : ES_LEFT;
      if (edit.multiLine) style |= ES_MULTILINE;
      if (edit.autoHScroll) style |= ES_AUTOHSCROLL;
      if (edit.autoVScroll) style |= ES_AUTOVSCROLL;
      if (edit.wantReturn) style |= ES_WANTRETURN;
      if (edit.verticalScrollBar) style |= WS_VSCROLL;
      break;
    }
  }
  const std::wstring text = WideFrom936(control.text);
  HWND child = CreateWindowExW(exStyle, windowClass, text.c_str(), style, control.x, control.y,
                               control.width, control.height, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
  if (child == nullptr) return nullptr;
  SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  if (control.kind == ControlKind::kEditBox) SendMessageW(child, EM_SETLIMITTEXT, 0, 0);
  return child;
}

HWND FirstTabStop() {
  const MainWindow& main = TheWindow();
  for (std::size_t i = 0; i < main.controls.size(); ++i) {
    if (main.description.controls[i].tabStop) return main.controls[i];
  }
  return nullptr;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MainWindow& main = TheWindow();
  switch (message) {
    case WM_CREATE: {
      main.window = window;
      int id = kFirstControlId;
      for (const ControlDescription& control : main.description.controls) {
        HWND child = CreateControl(window, control, id++);
        if (child == nullptr) return -1;  // CreateWindowExW fails
        main.controls.push_back(child);
      }
      if (main.events.created) main.events.created();
      return 0;
    }
    case WM_COMMAND: {
      const int control = LOWORD(wParam) - kFirstControlId;
      if (HIWORD(wParam) == BN_CLICKED && ControlWindow(control) != nullptr &&
          main.description.controls[static_cast<std::size_t>(control)].kind ==
              ControlKind::kPushButton &&
          main.events.clicked) {
        main.events.clicked(control);
      }
      return 0;
    }
    case WM_CTLCOLOREDIT:  // black on white, whatever the colour scheme
      SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
      SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
      return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
    case WM_ACTIVATE:  // keep the focused control across deactivation
      if (LOWORD(wParam) == WA_INACTIVE) main.lastFocus = GetFocus();
      return 0;
    case WM_SETFOCUS: {
      HWND focus = main.lastFocus != nullptr && IsChild(window, main.lastFocus) ? main.lastFocus
                                                                                : FirstTabStop();
      if (focus != nullptr) SetFocus(focus);
      return 0;
    }
    case WM_DESTROY:
      main.window = nullptr;
      main.controls.clear();
      main.lastFocus = nullptr;
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

bool RegisterWindowClass() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kWindowClass, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = static_cast<HICON>(
      LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR | LR_SHARED));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR | LR_SHARED));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  windowClass.lpszClassName = kWindowClass;
  return RegisterClassExW(&windowClass) != 0;
}

void DestroyMainWindow() {
  if (TheWindow().window != nullptr) DestroyWindow(TheWindow().window);
}

}  // namespace

struct GuiThread::State {
  bool oleInitialised = false;
};

GuiThread::GuiThread() : state_(std::make_unique<State>()) {
  const HRESULT ole = OleInitialize(nullptr);
  state_->oleInitialised = SUCCEEDED(ole);
  // The working directory becomes the folder that holds the executable.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return;
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  if (const auto slash = path.find_last_of(L"\\/"); slash != std::wstring::npos) {
    path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);  // keep "C:\" whole
    SetCurrentDirectoryW(path.c_str());
  }
}

GuiThread::~GuiThread() {
  DestroyMainWindow();
  if (state_->oleInitialised) OleUninitialize();
}

bool CreateMainWindow(const WindowDescription& description, WindowEvents events) {
  DestroyMainWindow();
  MSG quit;  // a destroyed window posts WM_QUIT; it must not end the new window's loop
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  if (!RegisterWindowClass()) return false;
  MainWindow& main = TheWindow();
  main.description = description;
  main.events = std::move(events);
  const std::wstring caption = WideFrom936(description.caption);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - description.width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - description.height) / 2;
  HWND window = CreateWindowExW(
      0, kWindowClass, caption.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, left, top,
      description.width, description.height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return false;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  if (HWND first = FirstTabStop(); first != nullptr) SetFocus(first);
  return true;
}

void RunMessageLoop() {
  MSG message;
  while (TheWindow().window != nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Tab and Shift+Tab move between the tab stops as in a dialog.
    if (TheWindow().window != nullptr && IsDialogMessageW(TheWindow().window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

Text GetControlText(int control) {
  HWND child = ControlWindow(control);
  if (child == nullptr) return Text();
  const int length = GetWindowTextLengthW(child);
  if (length <= 0) return Text();
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = GetWindowTextW(child, text.data(), length + 1);
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return TextFromWide(text);
}

void SetControlText(int control, const Text& text) {
  HWND child = ControlWindow(control);
  if (child == nullptr) return;
  SetWindowTextW(child, WideFrom936(text.view()).c_str());
}

void ShowMessageBox(const Text& text, const Text& caption) {
  MessageBoxW(nullptr, WideFrom936(text.view()).c_str(), WideFrom936(caption.view()).c_str(),
              MB_OK | MB_TASKMODAL);
}

}  // namespace quorvel::platform
