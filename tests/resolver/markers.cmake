quorvel_add_test(markers_tests SOURCES ${CMAKE_CURRENT_LIST_DIR}/markers_test.cpp LIBS quorvel_core)
