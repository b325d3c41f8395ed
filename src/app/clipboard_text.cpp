#include "app/clipboard_text.h"

#include <cstring>
#include <string_view>

#include "platform/clipboard.h"

namespace quorvel {
namespace {

using platform::GlobalHandle;

// Closes the clipboard when it goes out of scope.
class OpenedClipboard {
 public:
  OpenedClipboard() : open_(platform::OpenClipboard()) {}
  ~OpenedClipboard() {
    if (open_) platform::CloseClipboard();
  }
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  explicit operator bool() const { return open_; }

 private:
  bool open_;
};

// A memory block of our own, freed unless it was handed over to the clipboard.
class OwnedMemory {
 public:
  OwnedMemory(unsigned flags, std::size_t bytes) : handle_(platform::GlobalAlloc(flags, bytes)) {}
  ~OwnedMemory() {
    if (handle_ != GlobalHandle::kNone) platform::GlobalFree(handle_);
  }
  OwnedMemory(const OwnedMemory&) = delete;
  OwnedMemory& operator=(const OwnedMemory&) = delete;
  GlobalHandle get() const { return handle_; }
  void release() { handle_ = GlobalHandle::kNone; }

 private:
  GlobalHandle handle_;
};

}  // namespace

Text ReadClipboardText() {
  const OpenedClipboard clipboard;
  if (!clipboard) return Text();
  const GlobalHandle data = platform::GetClipboardData(platform::kCfText);
  if (data == GlobalHandle::kNone) return Text();
  const void* bytes = platform::GlobalLock(data);
  if (bytes == nullptr) return Text();
  // Text stops at the first zero byte; the block's size bounds it when the data holds none.
  Text text(std::string_view(static_cast<const char*>(bytes), platform::GlobalSize(data)));
  platform::GlobalUnlock(data);
  return text;
}

bool WriteClipboardText(const Text& text) {
  const OpenedClipboard clipboard;
  if (!clipboard) return false;
  platform::EmptyClipboard();
  OwnedMemory memory(platform::kGmemMoveable | platform::kGmemZeroInit, text.size() + 1);
  if (memory.get() == GlobalHandle::kNone) return false;
  void* bytes = platform::GlobalLock(memory.get());
  if (bytes == nullptr) return false;
  std::memcpy(bytes, text.c_str(), text.size() + 1);  // with its zero byte
  platform::GlobalUnlock(memory.get());
  if (platform::SetClipboardData(platform::kCfText, memory.get()) == GlobalHandle::kNone) {
    return false;  // still ours: freed on the way out
  }
  memory.release();  // the clipboard owns it now
  return true;
}

}  // namespace quorvel
