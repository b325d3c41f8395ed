// Code-page conversion: the two Windows functions that turn multibyte text in a code page into
// UTF-16 and back, with their arguments and results. UTF-16 units are char16_t.
//
// Code pages are Windows code-page numbers. The program uses 65001 (UTF-8), 936 (simplified
// Chinese, GBK) and 0 (the system's ANSI code page, which is 936 on the systems the program is
// made for).
//
// Both functions read `inputLength` units, or up to and including the first zero unit when it is
// -1. With an output size of 0 they write nothing and return the size the output needs; otherwise
// they write the output and return its size. They return 0 when the input is empty, a parameter
// is invalid, the code page is unknown or the output does not fit; what the output buffer then
// holds is unspecified (Windows may have written part of the output). Input that the code page
// cannot represent does not stop a conversion: it turns into a default character.
#pragma once

#include <cstdint>

namespace quorvel::platform {

inline constexpr unsigned kCodePageAnsi = 0;      // CP_ACP
inline constexpr unsigned kCodePageUtf8 = 65001;  // CP_UTF8
inline constexpr unsigned kCodePageGbk = 936;

// `multiByte` in `codePage` to UTF-16, into `wide` (room for `wideSize` units). Byte sequences
// that are not valid in the code page become the code page's default character (U+FFFD for
// UTF-8).
int MultiByteToWideChar(unsigned codePage, std::uint32_t flags, const char* multiByte,
                        int multiByteLength, char16_t* wide, int wideSize);

// UTF-16 `wide` to `codePage`, into `multiByte` (room for `multiByteSize` bytes). A character
// the code page lacks becomes `defaultChar` (null: the code page's own, "?" for 936), and
// `*usedDefaultChar` (when not null) tells whether that happened. For UTF-8 both must be null;
// unpaired surrogates then become U+FFFD.
int WideCharToMultiByte(unsigned codePage, std::uint32_t flags, const char16_t* wide,
                        int wideLength, char* multiByte, int multiByteSize, const char* defaultChar,
                        bool* usedDefaultChar);

}  // namespace quorvel::platform
