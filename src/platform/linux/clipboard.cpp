// The clipboard on Linux: the desktop's clipboard through Qt, with the Windows clipboard's
// functions and global memory blocks emulated on top of it. CF_TEXT is 8-bit text in code page
// 936 whose lines end in CR LF; on the desktop's clipboard it is Unicode text with LF.
#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cstring>
#include <map>
#include <string_view>
#include <vector>

#include "platform/linux/qt_text.h"

namespace quorvel::platform {
namespace {

struct Block {
  std::vector<unsigned char> bytes;
  int locks = 0;
};

// The emulated global memory and the clipboard's state, as the system would keep them.
struct Emulation {
  std::map<std::uintptr_t, Block> blocks;
  std::uintptr_t nextHandle = 0x1000;
  bool open = false;
  GlobalHandle clipboardData = GlobalHandle::kNone;  // owned by the clipboard
};

Emulation& State() {
  static Emulation state;
  return state;
}

Block* Find(GlobalHandle memory) {
  auto found = State().blocks.find(static_cast<std::uintptr_t>(memory));
  return found == State().blocks.end() ? nullptr : &found->second;
}

QClipboard* DesktopClipboard() {
  return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
             ? QGuiApplication::clipboard()
             : nullptr;
}

void DropClipboardData() {
  if (State().clipboardData != GlobalHandle::kNone) {
    State().blocks.erase(static_cast<std::uintptr_t>(State().clipboardData));
    State().clipboardData = GlobalHandle::kNone;
  }
}

}  // namespace

bool OpenClipboard() {
  if (State().open || DesktopClipboard() == nullptr) return false;
  State().open = true;
  return true;
}

bool CloseClipboard() {
  if (!State().open) return false;
  State().open = false;
  DropClipboardData();
  return true;
}

bool EmptyClipboard() {
  if (!State().open) return false;
  DropClipboardData();
  DesktopClipboard()->clear();
  return true;
}

GlobalHandle GetClipboardData(unsigned format) {
  if (!State().open || format != kCfText) return GlobalHandle::kNone;
  const QMimeData* data = DesktopClipboard()->mimeData();
  if (data == nullptr || !data->hasText()) return GlobalHandle::kNone;
  DropClipboardData();
  QString text = data->text();
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
  const Text bytes = qt::ToText(text);
  const GlobalHandle memory = GlobalAlloc(kGmemMoveable | kGmemZeroInit, bytes.size() + 1);
  std::memcpy(Find(memory)->bytes.data(), bytes.c_str(), bytes.size());
  State().clipboardData = memory;
  return memory;
}

GlobalHandle SetClipboardData(unsigned format, GlobalHandle memory) {
  Block* block = Find(memory);
  if (!State().open || format != kCfText || block == nullptr) return GlobalHandle::kNone;
  const std::string_view bytes(reinterpret_cast<const char*>(block->bytes.data()),
                               block->bytes.size());
  QString text = qt::FromText(Text(bytes).view());  // up to the first zero byte
  DesktopClipboard()->setText(text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  // The desktop's clipboard keeps its own copy: the block is the clipboard's, and dropped.
  State().blocks.erase(static_cast<std::uintptr_t>(memory));
  return memory;
}

GlobalHandle GlobalAlloc(unsigned /*flags: every block is movable and zeroed*/, std::size_t bytes) {
  const std::uintptr_t handle = State().nextHandle++;
  State().blocks[handle].bytes.assign(bytes, 0);
  return static_cast<GlobalHandle>(handle);
}

void* GlobalLock(GlobalHandle memory) {
  Block* block = Find(memory);
  if (block == nullptr) return nullptr;
  ++block->locks;
  return block->bytes.data();
}

bool GlobalUnlock(GlobalHandle memory) {
  Block* block = Find(memory);
  if (block == nullptr || block->locks == 0) return false;
  return --block->locks > 0;
}

std::size_t GlobalSize(GlobalHandle memory) {
  const Block* block = Find(memory);
  return block == nullptr ? 0 : block->bytes.size();
}

GlobalHandle GlobalFree(GlobalHandle memory) {
  if (Find(memory) == nullptr || memory == State().clipboardData) return memory;
  State().blocks.erase(static_cast<std::uintptr_t>(memory));
  return GlobalHandle::kNone;
}

}  // namespace quorvel::platform
