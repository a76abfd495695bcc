pagelark_add_test(tst_filechecks ${CMAKE_CURRENT_LIST_DIR}/tst_filechecks.cpp)
pagelark_add_test(tst_commandline ${CMAKE_CURRENT_LIST_DIR}/tst_commandline.cpp)
target_compile_definitions(tst_commandline PRIVATE PAGELARK_PROGRAM="$<TARGET_FILE:pagelark>")
add_dependencies(tst_commandline pagelark)
