pagelark_add_area_test(tst_reader ${CMAKE_CURRENT_LIST_DIR}/tst_textarea.cpp)
pagelark_add_test(tst_bookloading ${CMAKE_CURRENT_LIST_DIR}/tst_bookloading.cpp)
include(${CMAKE_CURRENT_LIST_DIR}/session.cmake)
pagelark_add_test(tst_launches ${CMAKE_CURRENT_LIST_DIR}/tst_launches.cpp)
