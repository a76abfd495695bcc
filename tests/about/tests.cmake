# The About box and the desktop layer it stands on.
pagelark_add_area_test(tst_about
    ${CMAKE_CURRENT_LIST_DIR}/tst_about.cpp
    ${CMAKE_CURRENT_LIST_DIR}/../platform/tst_desktop.cpp
)
