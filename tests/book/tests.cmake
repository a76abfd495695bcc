pagelark_add_area_test(tst_book ${CMAKE_CURRENT_LIST_DIR}/tst_book.cpp)
