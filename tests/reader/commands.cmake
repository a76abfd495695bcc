pagelark_add_test(tst_commands ${CMAKE_CURRENT_LIST_DIR}/tst_commands.cpp)
