# The clipboard algorithms, the prefill and the two commands against a fake platform.
quorvel_add_test(app_commands_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/commands_test.cpp
                 LIBS quorvel_core)
