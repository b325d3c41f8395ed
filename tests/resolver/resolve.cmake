# The resolve command against a fake share service, through the real platform layers.
quorvel_add_test(resolve_test
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/resolve_test.cpp
  LIBS quorvel_core quorvel_platform_internet quorvel_platform_codepage quorvel_platform_script)
