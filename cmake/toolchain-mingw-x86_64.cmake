# Cross build for 64-bit Windows with the posix-thread variant of mingw-w64. The program ships as
# the 32-bit build; this one exists to run the Windows tests under a 64-bit-only Wine on hosts
# that cannot execute 32-bit code.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QUORVEL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
