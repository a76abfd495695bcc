pagelark_add_area_test(tst_texttools ${CMAKE_CURRENT_LIST_DIR}/tst_htmlpage.cpp ${CMAKE_CURRENT_LIST_DIR}/tst_toolcommands.cpp ${CMAKE_CURRENT_LIST_DIR}/tst_texttools.cpp)
