include(${CMAKE_CURRENT_LIST_DIR}/session.cmake)
