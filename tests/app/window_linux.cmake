# The real Qt window, clipboard, message box and shell open, on Qt's offscreen platform.
if(NOT WIN32)
  find_package(Qt6 REQUIRED COMPONENTS Test)
  quorvel_add_test(app_window_linux_tests
                   SOURCES ${CMAKE_CURRENT_LIST_DIR}/window_linux_test.cpp
                   LIBS quorvel_core quorvel_platform_ui quorvel_platform_clipboard
                        quorvel_platform_shell quorvel_platform_internet
                        quorvel_platform_codepage quorvel_platform_script Qt6::Test
                   ENVIRONMENT QT_QPA_PLATFORM=offscreen
                   LINUX_ONLY)
  set_target_properties(app_window_linux_tests PROPERTIES AUTOMOC ON)
endif()
