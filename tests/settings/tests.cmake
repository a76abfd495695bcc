pagelark_add_area_test(tst_settings ${CMAKE_CURRENT_LIST_DIR}/tst_settings.cpp)
