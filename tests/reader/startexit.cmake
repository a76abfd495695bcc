pagelark_add_test(tst_startexit ${CMAKE_CURRENT_LIST_DIR}/tst_startexit.cpp)
