pagelark_add_test(tst_fittext ${CMAKE_CURRENT_LIST_DIR}/tst_fittext.cpp)
