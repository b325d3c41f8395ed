// The clipboard algorithms, the start-up prefill and the copy and browser commands, run against
// a fake platform that records every call: what is asked of the clipboard, in which order, and
// what reaches the message box and the shell.
#include "app/commands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/boxes.h"
#include "app/clipboard_text.h"
#include "app/main_window.h"
#include "app/prefill.h"
#include "platform/clipboard.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "support/text_printing.h"

namespace quorvel {
namespace {

using platform::GlobalHandle;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using testing_support::T;

// ---- The fake platform -----------------------------------------------------------------------

struct FakePlatform {
  // Clipboard: its data (absent: no CF_TEXT), and the operations that fail.
  std::optional<std::string> clipboard;
  bool openFails = false, allocFails = false, lockFails = false, setFails = false;
  // Block handle -> its bytes, with nothing after them (a std::string would add a zero byte).
  std::map<std::uintptr_t, std::vector<char>> blocks;
  std::uintptr_t nextBlock = 1;
  std::vector<std::string> calls;

  std::map<int, Text> controls;
  std::vector<std::pair<Text, Text>> messages;  // text, caption
  std::vector<Text> opened;
};

FakePlatform* fake = nullptr;

class WithFakePlatform : public ::testing::Test {
 protected:
  void SetUp() override { fake = &platform_; }
  void TearDown() override { fake = nullptr; }
  FakePlatform platform_;
};

}  // namespace

namespace platform {

bool OpenClipboard() {
  fake->calls.push_back("OpenClipboard");
  return !fake->openFails;
}
bool CloseClipboard() {
  fake->calls.push_back("CloseClipboard");
  return true;
}
bool EmptyClipboard() {
  fake->calls.push_back("EmptyClipboard");
  fake->clipboard.reset();
  return true;
}
GlobalHandle GetClipboardData(unsigned format) {
  fake->calls.push_back("GetClipboardData");
  if (format != kCfText || !fake->clipboard) return GlobalHandle::kNone;
  fake->blocks[fake->nextBlock].assign(fake->clipboard->begin(), fake->clipboard->end());
  return static_cast<GlobalHandle>(fake->nextBlock++);
}
GlobalHandle SetClipboardData(unsigned format, GlobalHandle memory) {
  fake->calls.push_back("SetClipboardData");
  if (fake->setFails || format != kCfText) return GlobalHandle::kNone;
  const std::vector<char>& block = fake->blocks.at(static_cast<std::uintptr_t>(memory));
  fake->clipboard = std::string(block.begin(), block.end());
  fake->blocks.erase(static_cast<std::uintptr_t>(memory));
  return memory;
}
GlobalHandle GlobalAlloc(unsigned flags, std::size_t bytes) {
  fake->calls.push_back("GlobalAlloc " + std::to_string(flags) + " " + std::to_string(bytes));
  if (fake->allocFails) return GlobalHandle::kNone;
  fake->blocks[fake->nextBlock].assign(bytes, '\0');
  return static_cast<GlobalHandle>(fake->nextBlock++);
}
void* GlobalLock(GlobalHandle memory) {
  fake->calls.push_back("GlobalLock");
  if (fake->lockFails) return nullptr;
  return fake->blocks.at(static_cast<std::uintptr_t>(memory)).data();
}
bool GlobalUnlock(GlobalHandle) {
  fake->calls.push_back("GlobalUnlock");
  return false;
}
std::size_t GlobalSize(GlobalHandle memory) {
  return fake->blocks.at(static_cast<std::uintptr_t>(memory)).size();
}
GlobalHandle GlobalFree(GlobalHandle memory) {
  fake->calls.push_back("GlobalFree");
  fake->blocks.erase(static_cast<std::uintptr_t>(memory));
  return GlobalHandle::kNone;
}

Text GetControlText(int control) { return fake->controls[control]; }
void SetControlText(int control, const Text& text) { fake->controls[control] = text; }
void ShowMessageBox(const Text& text, const Text& caption) {
  fake->messages.emplace_back(text, caption);
}
void ShellOpen(const Text& target) { fake->opened.push_back(target); }

}  // namespace platform

namespace {

// ---- Clipboard read ----------------------------------------------------------------------------

using ClipboardRead = WithFakePlatform;

TEST_F(ClipboardRead, TakesTheTextUpToItsZeroByteAndClosesTheClipboard) {
  platform_.clipboard = std::string("ab\xB8\xB4\0junk", 8);
  EXPECT_EQ(ReadClipboardText(), T("ab\xB8\xB4"));
  EXPECT_THAT(platform_.calls, ElementsAre("OpenClipboard", "GetClipboardData", "GlobalLock",
                                           "GlobalUnlock", "CloseClipboard"));
  EXPECT_TRUE(platform_.clipboard.has_value());  // reading leaves it as it was
}

TEST_F(ClipboardRead, NeverReadsPastTheEndOfDataWithoutAZeroByte) {
  platform_.clipboard = std::string("http://pan.baidu.com/s/1");  // its block holds no zero byte
  EXPECT_EQ(ReadClipboardText(), T("http://pan.baidu.com/s/1"));
}

TEST_F(ClipboardRead, GivesTheEmptyTextWhenItCannotReadTheText) {
  platform_.openFails = true;
  EXPECT_EQ(ReadClipboardText(), Text());
  EXPECT_THAT(platform_.calls, ElementsAre("OpenClipboard"));

  platform_ = {};  // open, but no text on it
  EXPECT_EQ(ReadClipboardText(), Text());
  EXPECT_THAT(platform_.calls, ElementsAre("OpenClipboard", "GetClipboardData", "CloseClipboard"));

  platform_ = {};
  platform_.clipboard = "text";
  platform_.lockFails = true;
  EXPECT_EQ(ReadClipboardText(), Text());
  EXPECT_THAT(platform_.calls,
              ElementsAre("OpenClipboard", "GetClipboardData", "GlobalLock", "CloseClipboard"));
}

// ---- Clipboard write ---------------------------------------------------------------------------

using ClipboardWrite = WithFakePlatform;

TEST_F(ClipboardWrite, PlacesTheTextWithItsZeroByteInMovableZeroedMemory) {
  platform_.clipboard = "old";
  EXPECT_TRUE(WriteClipboardText(T("a\r\n\xB8\xB4")));
  EXPECT_EQ(platform_.clipboard, std::string("a\r\n\xB8\xB4\0", 6));
  EXPECT_THAT(platform_.calls,
              ElementsAre("OpenClipboard", "EmptyClipboard", "GlobalAlloc 66 6", "GlobalLock",
                          "GlobalUnlock", "SetClipboardData", "CloseClipboard"));
  EXPECT_THAT(platform_.blocks, IsEmpty());
}

TEST_F(ClipboardWrite, AClipboardThatCannotBeOpenedKeepsWhatItHeld) {
  platform_.clipboard = "old";
  platform_.openFails = true;
  EXPECT_FALSE(WriteClipboardText(T("new")));
  EXPECT_EQ(platform_.clipboard, "old");
  EXPECT_THAT(platform_.calls, ElementsAre("OpenClipboard"));
}

TEST_F(ClipboardWrite, WithoutMemoryTheClipboardIsLeftEmptyAndClosed) {
  platform_.clipboard = "old";
  platform_.allocFails = true;
  EXPECT_FALSE(WriteClipboardText(T("new")));
  EXPECT_FALSE(platform_.clipboard.has_value());
  EXPECT_THAT(platform_.calls,
              ElementsAre("OpenClipboard", "EmptyClipboard", "GlobalAlloc 66 4", "CloseClipboard"));
}

TEST_F(ClipboardWrite, MemoryTheClipboardRefusesIsFreedAndReportedAsFailure) {
  platform_.setFails = true;
  EXPECT_FALSE(WriteClipboardText(T("new")));
  EXPECT_THAT(platform_.calls,
              ElementsAre("OpenClipboard", "EmptyClipboard", "GlobalAlloc 66 4", "GlobalLock",
                          "GlobalUnlock", "SetClipboardData", "GlobalFree", "CloseClipboard"));
  EXPECT_THAT(platform_.blocks, IsEmpty());

  platform_ = {};
  platform_.lockFails = true;
  EXPECT_FALSE(WriteClipboardText(T("new")));
  EXPECT_THAT(platform_.calls, ElementsAre("OpenClipboard", "EmptyClipboard", "GlobalAlloc 66 4",
                                           "GlobalLock", "GlobalFree", "CloseClipboard"));
}

// ---- Prefill -----------------------------------------------------------------------------------

struct PrefillCase {
  std::optional<std::string> clipboard;
  const char* shareBox;
};

class Prefill : public WithFakePlatform, public ::testing::WithParamInterface<PrefillCase> {};

TEST_P(Prefill, TakesOnlyAShareAddressAndTakesItWhole) {
  platform_.clipboard = GetParam().clipboard;
  PrefillShareBox();
  EXPECT_EQ(platform_.controls[kShareBox], T(GetParam().shareBox));
  EXPECT_EQ(platform_.controls[kResultBox], Text());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Prefill,
    ::testing::Values(PrefillCase{"http://pan.baidu.com/", "http://pan.baidu.com/"},
                      PrefillCase{"http://pan.baidu.com/s/1abc\r\nsecond line\r\n",
                                  "http://pan.baidu.com/s/1abc\r\nsecond line\r\n"},
                      PrefillCase{"http://pan.baidu.com/s/ \xB7\xD6 ",
                                  "http://pan.baidu.com/s/ \xB7\xD6 "},
                      PrefillCase{"http://pan.baidu.com", ""},       // shorter than the prefix
                      PrefillCase{"https://pan.baidu.com/s/1", ""},  // another scheme
                      PrefillCase{"HTTP://pan.baidu.com/s/1", ""},   // letter case counts
                      PrefillCase{"http://PAN.baidu.com/s/1", ""},
                      PrefillCase{" http://pan.baidu.com/s/1", ""},  // a space before it
                      PrefillCase{"", ""},                           // empty text
                      PrefillCase{std::nullopt, ""}));               // no text at all (a picture)

TEST_F(WithFakePlatform, PrefillLeavesTheShareBoxAloneWhenTheClipboardCannotBeOpened) {
  platform_.openFails = true;
  platform_.controls[kShareBox] = T("typed");
  PrefillShareBox();
  EXPECT_EQ(platform_.controls[kShareBox], T("typed"));
}

// ---- Copy --------------------------------------------------------------------------------------

using Copy = WithFakePlatform;

TEST_F(Copy, CopiesAnyTextTheResultBoxHoldsAndConfirmsEachTime) {
  for (const char* text :
       {"http:\\\\d.pcs.baidu.com\\file\\x?fid=1", "  ", "\r\n", "line 1\r\nline 2"}) {
    platform_.controls[kResultBox] = T(text);
    platform_.messages.clear();
    CopyResult();
    CopyResult();
    EXPECT_EQ(platform_.clipboard, std::string(text) + '\0');
    ASSERT_EQ(platform_.messages.size(), 2u) << text;
    // "复制成功！" with the full-width exclamation mark A3 A1, under "友情提示".
    EXPECT_EQ(platform_.messages[1].first, T("\xB8\xB4\xD6\xC6\xB3\xC9\xB9\xA6\xA3\xA1"));
    EXPECT_EQ(platform_.messages[1].second, T("\xD3\xD1\xC7\xE9\xCC\xE1\xCA\xBE"));
    EXPECT_EQ(platform_.controls[kResultBox], T(text));  // the box is only read
  }
}

TEST_F(Copy, DoesNothingForAnEmptyBoxAndShowsNothingWhenTheWriteFails) {
  platform_.clipboard = "old";
  CopyResult();
  EXPECT_THAT(platform_.calls, IsEmpty());
  EXPECT_THAT(platform_.messages, IsEmpty());

  platform_.controls[kResultBox] = T("address");
  platform_.openFails = true;
  CopyResult();
  EXPECT_EQ(platform_.clipboard, "old");
  EXPECT_THAT(platform_.messages, IsEmpty());
}

// ---- Browser -----------------------------------------------------------------------------------

class Browser : public WithFakePlatform,
                public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(Browser, HandsOnlyWebAddressesToTheShell) {
  const auto [text, opened] = GetParam();
  platform_.controls[kResultBox] = T(text);
  OpenResultInBrowser();
  if (opened) {
    EXPECT_THAT(platform_.opened, ElementsAre(T(text)));
  } else {
    EXPECT_THAT(platform_.opened, IsEmpty());
  }
  EXPECT_THAT(platform_.messages, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Browser,
    ::testing::Values(std::pair{"http://d.pcs.baidu.com/file/x?fid=1", true},
                      std::pair{"http:\\\\d.pcs.baidu.com\\file\\x?fid=1", true},
                      std::pair{"HTTPS://host/a\r\nsecond line", true}, std::pair{"hTtP:", true},
                      std::pair{"", false}, std::pair{"http", false},
                      std::pair{" http://host/", false}, std::pair{"httpx://host/", false},
                      std::pair{"file:///etc/passwd", false},
                      std::pair{"C:\\Windows\\System32\\calc.exe", false},
                      std::pair{"\\\\server\\share\\run.exe", false}, std::pair{"calc", false},
                      std::pair{"javascript:alert(1)", false},
                      // The failure message that a failed resolve leaves there.
                      std::pair{"\xBD\xE2\xCE\xF6\xCA\xA7\xB0\xDC\xA3\xBA\r\n", false}));

}  // namespace
}  // namespace quorvel
