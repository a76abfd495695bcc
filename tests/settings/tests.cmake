pagelark_add_test(tst_recordcodec ${CMAKE_CURRENT_LIST_DIR}/tst_recordcodec.cpp)
pagelark_add_test(tst_settingsfile ${CMAKE_CURRENT_LIST_DIR}/tst_settingsfile.cpp)
include(${CMAKE_CURRENT_LIST_DIR}/options.cmake OPTIONAL)
