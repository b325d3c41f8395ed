quorvel_add_test(number_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/number_test.cpp LIBS quorvel_core)
