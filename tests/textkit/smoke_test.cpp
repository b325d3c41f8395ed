#include <gtest/gtest.h>
#include "support/text_printing.h"
#ifdef _WIN32
#include <windows.h>
#endif
using namespace quorvel;
TEST(Smoke, TextEndsAtZero) { EXPECT_EQ(Text(std::string_view("a\0b", 3)), Text("a")); }
#ifdef _WIN32
TEST(Smoke, AnsiCodePage) { EXPECT_EQ(GetACP(), 936u); }
#endif
