# Binding system functions by name, and the stop when one cannot be found (Windows only).
quorvel_add_test(bind_by_name_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/bind_by_name_test.cpp
  WINDOWS_ONLY)
