pagelark_add_test(tst_navigation ${CMAKE_CURRENT_LIST_DIR}/tst_navigation.cpp)
