pagelark_add_test(tst_options ${CMAKE_CURRENT_LIST_DIR}/tst_options.cpp)
