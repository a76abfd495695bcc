pagelark_add_test(tst_book ${CMAKE_CURRENT_LIST_DIR}/tst_book.cpp)
pagelark_add_test(tst_textcodec ${CMAKE_CURRENT_LIST_DIR}/tst_textcodec.cpp)
pagelark_add_test(tst_bookrules ${CMAKE_CURRENT_LIST_DIR}/tst_bookrules.cpp)
pagelark_add_test(tst_booksearch ${CMAKE_CURRENT_LIST_DIR}/tst_booksearch.cpp)
