# Code-page conversion: the platform layer on its own, and the conversions built on it.
quorvel_add_test(codepage_platform_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/codepage_platform_test.cpp
  LIBS quorvel_platform_codepage)
quorvel_add_test(codepage_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/codepage_test.cpp
  LIBS quorvel_core quorvel_platform_codepage)
quorvel_add_test(ansi_code_page_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/ansi_code_page_test.cpp
  WINDOWS_ONLY)
