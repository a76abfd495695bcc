pagelark_add_test(tst_filechecks ${CMAKE_CURRENT_LIST_DIR}/tst_filechecks.cpp)
