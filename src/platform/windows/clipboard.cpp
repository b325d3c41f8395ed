// The clipboard and global memory on Windows: the system functions themselves.
#include "platform/clipboard.h"

#include <windows.h>

namespace quorvel::platform {
namespace {

static_assert(kCfText == CF_TEXT);
static_assert(kGmemMoveable == GMEM_MOVEABLE && kGmemZeroInit == GMEM_ZEROINIT);

HGLOBAL ToWindows(GlobalHandle memory) {
  return reinterpret_cast<HGLOBAL>(static_cast<std::uintptr_t>(memory));
}
GlobalHandle FromWindows(HANDLE memory) {
  return static_cast<GlobalHandle>(reinterpret_cast<std::uintptr_t>(memory));
}

}  // namespace

bool OpenClipboard() { return ::OpenClipboard(nullptr) != FALSE; }
bool CloseClipboard() { return ::CloseClipboard() != FALSE; }
bool EmptyClipboard() { return ::EmptyClipboard() != FALSE; }
GlobalHandle GetClipboardData(unsigned format) { return FromWindows(::GetClipboardData(format)); }
GlobalHandle SetClipboardData(unsigned format, GlobalHandle memory) {
  return FromWindows(::SetClipboardData(format, ToWindows(memory)));
}

GlobalHandle GlobalAlloc(unsigned flags, std::size_t bytes) {
  return FromWindows(::GlobalAlloc(flags, bytes));
}
void* GlobalLock(GlobalHandle memory) { return ::GlobalLock(ToWindows(memory)); }
bool GlobalUnlock(GlobalHandle memory) { return ::GlobalUnlock(ToWindows(memory)) != FALSE; }
std::size_t GlobalSize(GlobalHandle memory) { return ::GlobalSize(ToWindows(memory)); }
GlobalHandle GlobalFree(GlobalHandle memory) {
  return FromWindows(::GlobalFree(ToWindows(memory)));
}

}  // namespace quorvel::platform
