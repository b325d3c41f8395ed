// The clipboard and the movable memory blocks it trades in, shaped after the Windows functions of
// the same names so that the program runs the same sequence of operations on every platform.
// Every operation fails softly: a false, a null handle, a null pointer or a size of 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorvel::platform {

// A block of movable global memory (HGLOBAL). kNone is the null handle.
enum class GlobalHandle : std::uintptr_t { kNone = 0 };

// 8-bit text in the local code page (CF_TEXT).
inline constexpr unsigned kCfText = 1;
// GlobalAlloc flags: movable (GMEM_MOVEABLE), filled with zero bytes (GMEM_ZEROINIT).
inline constexpr unsigned kGmemMoveable = 0x0002;
inline constexpr unsigned kGmemZeroInit = 0x0040;

// Opens the clipboard for this program, with no owner window.
bool OpenClipboard();
bool CloseClipboard();
// Empties the open clipboard.
bool EmptyClipboard();
// The clipboard's data in `format`; owned by the clipboard, valid while it stays open.
GlobalHandle GetClipboardData(unsigned format);
// Hands `memory` to the open clipboard as its data in `format`: on success the clipboard owns it
// and the result is `memory`; on failure kNone, and the caller still owns it.
GlobalHandle SetClipboardData(unsigned format, GlobalHandle memory);

GlobalHandle GlobalAlloc(unsigned flags, std::size_t bytes);
// The block's first byte, valid until the matching GlobalUnlock; null on failure.
void* GlobalLock(GlobalHandle memory);
bool GlobalUnlock(GlobalHandle memory);
// The usable size of the block in bytes; 0 for an invalid handle.
std::size_t GlobalSize(GlobalHandle memory);
// Frees a block the caller owns; kNone on success.
GlobalHandle GlobalFree(GlobalHandle memory);

}  // namespace quorvel::platform
