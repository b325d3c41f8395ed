quorvel_add_test(text_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/text_test.cpp LIBS quorvel_core)
