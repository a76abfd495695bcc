pagelark_add_test(tst_layout ${CMAKE_CURRENT_LIST_DIR}/tst_layout.cpp)
pagelark_add_test(tst_navigation ${CMAKE_CURRENT_LIST_DIR}/tst_navigation.cpp)
pagelark_add_test(tst_filepanel ${CMAKE_CURRENT_LIST_DIR}/tst_filepanel.cpp)
