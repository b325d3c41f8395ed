# File-name unescaping: the script host on its own, UnescapeName over it, and UnescapeName's
# steps against a host that records them.
quorvel_add_test(script_host_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/script_host_test.cpp
  LIBS quorvel_platform_script)
quorvel_add_test(unescape_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/unescape_test.cpp
  LIBS quorvel_core quorvel_platform_codepage quorvel_platform_script)
quorvel_add_test(unescape_steps_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/unescape_steps_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/recording_script_host.cpp
  LIBS quorvel_core quorvel_platform_codepage)
