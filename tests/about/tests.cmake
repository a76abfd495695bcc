pagelark_add_test(tst_about ${CMAKE_CURRENT_LIST_DIR}/tst_about.cpp)
pagelark_add_test(tst_desktop ${CMAKE_CURRENT_LIST_DIR}/../platform/tst_desktop.cpp)
target_compile_definitions(tst_desktop PRIVATE PAGELARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
