pagelark_add_test(tst_about ${CMAKE_CURRENT_LIST_DIR}/tst_about.cpp)
