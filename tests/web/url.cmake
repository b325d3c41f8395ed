quorvel_add_test(url_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/url_test.cpp LIBS quorvel_core)
