pagelark_add_test(tst_captions ${CMAKE_CURRENT_LIST_DIR}/tst_captions.cpp)
