pagelark_add_test(tst_badinput ${CMAKE_CURRENT_LIST_DIR}/tst_badinput.cpp)
