// The main window on Windows, driven as a user would: clicks sent to the real buttons
// (BM_CLICK), texts read back from the real controls (WM_GETTEXT), the real clipboard and the
// real message box. Only the shell is faked, so that no browser starts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/boxes.h"
#include "app/commands.h"
#include "app/main_window.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "platform/windows/wide_text.h"
#include "resolver/resolve.h"
#include "support/fake_share_service.h"
#include "support/text_printing.h"

namespace quorvel {

std::vector<Text>* openedByShell = nullptr;

void platform::ShellOpen(const Text& target) {
  if (openedByShell != nullptr) openedByShell->push_back(target);
}

namespace {

using platform::windows::TextFromWide;
using platform::windows::WideFrom936;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing_support::T;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

Text TextOf(HWND window) {
  const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied =
      SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return TextFromWide(text);
}

void SetTextOf(HWND window, const Text& text) {
  SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFrom936(text.view()).c_str()));
}

// The width of an icon's image; 0 for no icon.
int IconSize(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
  DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

struct ChildList {
  HWND parent;
  std::vector<HWND> children;
};

BOOL CALLBACK AddDirectChild(HWND child, LPARAM list) {
  auto* found = reinterpret_cast<ChildList*>(list);
  if (GetAncestor(child, GA_PARENT) == found->parent) found->children.push_back(child);
  return TRUE;
}

// The window's own children, in the order they were created.
std::vector<HWND> ChildrenOf(HWND window) {
  ChildList list{window, {}};
  EnumChildWindows(window, AddDirectChild, reinterpret_cast<LPARAM>(&list));
  return list.children;
}

// Puts `bytes` on the clipboard as CF_TEXT, or empties it for std::nullopt.
void PutOnClipboard(const std::optional<std::string>& bytes) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  if (bytes) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes->size() + 1);
    std::memcpy(GlobalLock(memory), bytes->c_str(), bytes->size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
  }
  CloseClipboard();
}

std::optional<std::string> ClipboardText() {
  if (!OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> text;
  if (HANDLE data = GetClipboardData(CF_TEXT); data != nullptr) {
    text = static_cast<const char*>(GlobalLock(data));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text;
}

// What a message box of this process showed, seen from another thread.
struct SeenMessageBox {
  Text text, caption;
  int buttons = 0;
  bool icon = false;
  bool mainWindowEnabled = true;
};

// Waits on another thread for a message box of this process, notes what it shows and presses
// its OK button. Gives up after a while and then yields nothing.
std::future<std::optional<SeenMessageBox>> DismissNextMessageBox(HWND mainWindow) {
  return std::async(std::launch::async, [mainWindow]() -> std::optional<SeenMessageBox> {
    for (int attempt = 0; attempt < 200; ++attempt) {
      HWND box = nullptr;
      while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(box, &process);
        if (process == GetCurrentProcessId() && IsWindowVisible(box)) break;
      }
      if (box == nullptr) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        continue;
      }
      SeenMessageBox seen;
      seen.caption = TextOf(box);
      seen.mainWindowEnabled = IsWindowEnabled(mainWindow) != FALSE;
      for (HWND child : ChildrenOf(box)) {
        if (!IsWindowVisible(child)) continue;
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (ClassOf(child) == L"Button") ++seen.buttons;
        if (ClassOf(child) == L"Static") {
          if ((style & SS_TYPEMASK) == SS_ICON) {
            seen.icon = seen.icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
          } else if (!TextOf(child).empty()) {
            seen.text = TextOf(child);
          }
        }
      }
      PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return seen;
    }
    return std::nullopt;
  });
}

class WindowsWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    SetCurrentDirectoryW(L"C:\\");  // anywhere but the executable's folder
    gui_ = std::make_unique<platform::GuiThread>();
  }
  static void TearDownTestSuite() { gui_.reset(); }

  void SetUp() override { openedByShell = &opened_; }

  void TearDown() override {
    if (window_ != nullptr) SendMessageW(window_, WM_CLOSE, 0, 0);
    MSG message;  // what the closed window left, its WM_QUIT included
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    openedByShell = nullptr;
  }

  void Open(ClickHandlers handlers = {
                .resolve = {}, .copy = CopyResult, .openInBrowser = OpenResultInBrowser}) {
    ASSERT_TRUE(OpenMainWindow(std::move(handlers)));
    window_ = FindWindowW(L"QuorvelMainWindow", nullptr);
    ASSERT_NE(window_, nullptr);
    controls_ = ChildrenOf(window_);
    ASSERT_EQ(controls_.size(), 7u);
  }

  void Click(int control) { SendMessageW(controls_[control], BM_CLICK, 0, 0); }

  static inline std::unique_ptr<platform::GuiThread> gui_;
  HWND window_ = nullptr;
  std::vector<HWND> controls_;
  std::vector<Text> opened_;
};

TEST_F(WindowsWindow, RunsInTheExecutablesFolder) {
  wchar_t program[MAX_PATH], directory[MAX_PATH];
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  GetCurrentDirectoryW(MAX_PATH, directory);
  std::wstring folder(program);
  folder.resize(folder.find_last_of(L'\\'));
  EXPECT_EQ(std::wstring(directory), folder);
}

TEST_F(WindowsWindow, IsAFixedFrameOf560By366CentredOnTheScreen) {
  Open();
  RECT frame;
  GetWindowRect(window_, &frame);
  EXPECT_EQ(frame.right - frame.left, 560);
  EXPECT_EQ(frame.bottom - frame.top, 366);
  EXPECT_EQ(frame.left, (GetSystemMetrics(SM_CXSCREEN) - 560) / 2);
  EXPECT_EQ(frame.top, (GetSystemMetrics(SM_CYSCREEN) - 366) / 2);
  RECT client;
  GetClientRect(window_, &client);
  std::printf("client area %ldx%ld\n", client.right, client.bottom);

  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU);
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(TextOf(window_), T("Quorvel 2017/05/15 By Dathmere"));
  EXPECT_EQ(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  // The icon resource: its 32-pixel image is the big icon, its 16-pixel one the small icon.
  EXPECT_EQ(IconSize(reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON))), 32);
  EXPECT_EQ(IconSize(reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICONSM))), 16);
}

TEST_F(WindowsWindow, HasTheSevenControlsAtTheirPlacesWithTheirTextsAndStyles) {
  Open();
  struct Expected {
    const wchar_t* windowClass;
    RECT place;  // left, top, right, bottom in the client area
    const char* text;
    LONG styles;
  };
  const Expected expected[] = {
      {L"Button", {5, 5, 550, 65}, "\xB7\xD6\xCF\xED\xB5\xD8\xD6\xB7", BS_GROUPBOX},
      {L"Edit", {12, 24, 544, 54}, "", WS_TABSTOP | ES_CENTER | ES_AUTOHSCROLL},
      {L"Button", {5, 72, 550, 296}, "\xBB\xF1\xC8\xA1\xBD\xE1\xB9\xFB", BS_GROUPBOX},
      {L"Edit",
       {12, 88, 544, 288},
       "",
       WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL},
      {L"Button",
       {56, 304, 184, 334},
       "\xBB\xF1\xC8\xA1\xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7",
       WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE},
      {L"Button",
       {204, 304, 332, 334},
       "\xB8\xB4\xD6\xC6\xB5\xD8\xD6\xB7\xB5\xBD\xBC\xF4\xC7\xD0\xB0\xE5",
       WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE},
      {L"Button",
       {352, 304, 480, 334},
       "\xCA\xB9\xD3\xC3\xE4\xAF\xC0\xC0\xC6\xF7\xCF\xC2\xD4\xD8",
       WS_TABSTOP | BS_CENTER | BS_VCENTER | BS_MULTILINE},
  };
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    HWND control = controls_[i];
    EXPECT_EQ(ClassOf(control), expected[i].windowClass);
    RECT place;
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, window_, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_EQ(place.left, expected[i].place.left);
    EXPECT_EQ(place.top, expected[i].place.top);
    EXPECT_EQ(place.right, expected[i].place.right);
    EXPECT_EQ(place.bottom, expected[i].place.bottom);
    EXPECT_EQ(TextOf(control), T(expected[i].text));
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    EXPECT_EQ(style & expected[i].styles, expected[i].styles);
    EXPECT_TRUE(IsWindowVisible(control) && IsWindowEnabled(control));
    EXPECT_EQ(style & WS_TABSTOP, expected[i].styles & WS_TABSTOP);
    EXPECT_EQ(SendMessageW(control, WM_GETFONT, 0, 0),
              reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    const bool isEdit = ClassOf(control) == L"Edit";
    EXPECT_EQ((GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0, isEdit);
    if (isEdit) {
      EXPECT_EQ(style & (ES_READONLY | ES_PASSWORD | ES_UPPERCASE | ES_LOWERCASE | ES_NOHIDESEL),
                0);
    }
    if (i == kShareBox) {
      EXPECT_EQ(style & (ES_MULTILINE | WS_VSCROLL | WS_HSCROLL), 0);
    }
    if (i == kResultBox) {
      EXPECT_EQ(style & (ES_AUTOHSCROLL | WS_HSCROLL | ES_CENTER), 0);
    }
    if (ClassOf(control) == L"Button" && i != kShareFrame && i != kResultFrame) {
      EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);  // not the default button
    }
  }
  // The share box has the focus first; Tab goes through the boxes and then the buttons.
  EXPECT_EQ(GetFocus(), controls_[kShareBox]);
  HWND next = controls_[kShareBox];
  for (int i : {kResultBox, kResolveButton, kCopyButton, kBrowserButton, kShareBox}) {
    next = GetNextDlgTabItem(window_, next, FALSE);
    EXPECT_EQ(next, controls_[i]);
  }
}

TEST_F(WindowsWindow, BoxTextsAreCodePage936BothWays) {
  Open();
  const Text lines = T("\xBD\xE2\xCE\xF6\r\nline 2\r\n");
  SetBoxText(Box::kResult, lines);
  EXPECT_EQ(TextOf(controls_[kResultBox]), lines);
  EXPECT_EQ(GetBoxText(Box::kResult), lines);
  SetTextOf(controls_[kShareBox], T("typed \xB7\xD6"));  // as the user would type it
  EXPECT_EQ(GetBoxText(Box::kShare), T("typed \xB7\xD6"));
  SetBoxText(Box::kShare, T("a\r\nb"));  // a line break stays in the one-line box
  EXPECT_EQ(GetBoxText(Box::kShare), T("a\r\nb"));
  SetBoxText(Box::kResult, Text());
  EXPECT_EQ(GetBoxText(Box::kResult), Text());
}

TEST_F(WindowsWindow, TakesAShareAddressFromTheClipboardAtStart) {
  const std::pair<std::optional<std::string>, const char*> cases[] = {
      {"http://pan.baidu.com/", "http://pan.baidu.com/"},
      {"http://pan.baidu.com/s/1x\r\n\xB7\xD6\r\n", "http://pan.baidu.com/s/1x\r\n\xB7\xD6\r\n"},
      {"https://pan.baidu.com/s/1x", ""},
      {"HTTP://PAN.BAIDU.COM/s/1x", ""},
      {std::nullopt, ""},
  };
  for (const auto& [clipboard, shareBox] : cases) {
    PutOnClipboard(clipboard);
    Open();
    EXPECT_EQ(TextOf(controls_[kShareBox]), T(shareBox));
    EXPECT_EQ(ClipboardText(), clipboard);  // reading left it alone
    TearDown();
  }
  // A clipboard that holds only a picture.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  SetClipboardData(CF_BITMAP, CreateBitmap(1, 1, 1, 32, nullptr));
  CloseClipboard();
  Open();
  EXPECT_EQ(TextOf(controls_[kShareBox]), Text());
}

TEST_F(WindowsWindow, CopyPutsTheResultBoxOnTheClipboardAndSaysSoInATaskModalBox) {
  Open();
  const Text address = T("http:\\\\d.pcs.baidu.com\\file\\a?fid=1\r\nsecond line");
  SetTextOf(controls_[kResultBox], address);
  for (int click = 0; click < 2; ++click) {
    PutOnClipboard("old");
    auto seen = DismissNextMessageBox(window_);
    Click(kCopyButton);  // returns once the box is dismissed
    const std::optional<SeenMessageBox> box = seen.get();
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->text, T(kCopiedMessage));
    EXPECT_EQ(box->text, T("\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1"));  // 复制成功！
    EXPECT_EQ(box->caption, T("\xD3\xD1\xC7\xE9\xCC\xE1\xCA\xBE"));       // 友情提示
    EXPECT_EQ(box->buttons, 1);
    EXPECT_FALSE(box->icon);
    EXPECT_FALSE(box->mainWindowEnabled);
    EXPECT_EQ(ClipboardText(), address.str());
  }
  EXPECT_TRUE(IsWindowEnabled(window_));
  EXPECT_EQ(TextOf(controls_[kResultBox]), address);
}

TEST_F(WindowsWindow, CopyOfAnEmptyResultBoxDoesNothing) {
  Open();
  PutOnClipboard("old");
  Click(kCopyButton);  // would not return if a message box were shown
  EXPECT_EQ(ClipboardText(), "old");
}

TEST_F(WindowsWindow, TheBrowserButtonOpensOnlyWebAddresses) {
  Open();
  for (const char* text : {"http:\\\\d.pcs.baidu.com\\file\\a?fid=1", "",
                           "C:\\Windows\\notepad.exe", "\\\\server\\share", "HTTPS://host/x"}) {
    SetTextOf(controls_[kResultBox], T(text));
    Click(kBrowserButton);
  }
  EXPECT_THAT(opened_,
              ElementsAre(T("http:\\\\d.pcs.baidu.com\\file\\a?fid=1"), T("HTTPS://host/x")));
}

TEST_F(WindowsWindow, EachButtonRunsTheHandlerItsCallerGave) {
  std::vector<std::string> clicks;
  Open({.resolve = [&] { clicks.push_back("resolve"); },
        .copy = [&] { clicks.push_back("copy"); },
        .openInBrowser = [&] { clicks.push_back("browser"); }});
  for (int control : {kResolveButton, kBrowserButton, kCopyButton, kShareFrame}) Click(control);
  EXPECT_THAT(clicks, ElementsAre("resolve", "browser", "copy"));
}

TEST_F(WindowsWindow, TheResolveButtonShowsTheDownloadAddressOrWhyNot) {
  testing_support::FakeShareService service;
  service.SetAnswer(
      R"({"errno":0,"request_id":1,"list":[{"fs_id":123456789012345,"dlink":"http:\/\/d.pcs.test\/file\/a?fid=1","server_filename":"a.txt","size":1024000,"md5":"m","isdir":0}]})");
  ResolverState state;
  Open({.resolve = [&] { ResolveShareLink(state, Text(service.ApiHost())); },
        .copy = CopyResult,
        .openInBrowser = OpenResultInBrowser});
  SetTextOf(controls_[kShareBox], Text(service.ShareUrl()));
  Click(kResolveButton);
  EXPECT_EQ(TextOf(controls_[kResultBox]), T(R"(http:\\d.pcs.test\file\a?fid=1)"));
  Click(kBrowserButton);
  EXPECT_THAT(opened_, ElementsAre(T(R"(http:\\d.pcs.test\file\a?fid=1)")));

  service.SetAnswer(R"({"errno":-9,"request_id":2})");
  Click(kResolveButton);
  EXPECT_EQ(TextOf(controls_[kResultBox]), ResolveFailureMessage());
}

}  // namespace
}  // namespace quorvel
