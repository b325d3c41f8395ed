// Code page 0 stands for the system's ANSI code page, and the program reads every Text in it:
// the Windows tests only mean something where that is 936.
#include <gtest/gtest.h>
#include <windows.h>

TEST(AnsiCodePage, Is936) { EXPECT_EQ(GetACP(), 936u); }
