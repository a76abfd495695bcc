pagelark_add_test(tst_htmlpage ${CMAKE_CURRENT_LIST_DIR}/tst_htmlpage.cpp)
pagelark_add_test(tst_fileoperations ${CMAKE_CURRENT_LIST_DIR}/tst_fileoperations.cpp)
pagelark_add_test(tst_texttools ${CMAKE_CURRENT_LIST_DIR}/tst_texttools.cpp)
