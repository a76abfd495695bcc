pagelark_add_area_test(tst_reader
    ${CMAKE_CURRENT_LIST_DIR}/tst_textarea.cpp
    ${CMAKE_CURRENT_LIST_DIR}/tst_readerwindow.cpp
)
