quorvel_add_test(cookies_test SOURCES ${CMAKE_CURRENT_LIST_DIR}/cookies_test.cpp LIBS quorvel_core)
