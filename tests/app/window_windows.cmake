# The real Windows window, clipboard and message box, under Wine; the shell is faked.
if(WIN32)
  enable_language(RC)
  quorvel_add_test(app_window_windows_tests
                   SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_windows_test.cpp
                           ${PROJECT_SOURCE_DIR}/src/app/res/quorvel.rc
                   LIBS quorvel_core quorvel_platform_ui quorvel_platform_clipboard
                        quorvel_platform_internet quorvel_platform_codepage quorvel_platform_script
                   WINDOWS_ONLY)
endif()
