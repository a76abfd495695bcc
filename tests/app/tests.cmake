pagelark_add_test(tst_filechecks ${CMAKE_CURRENT_LIST_DIR}/tst_filechecks.cpp)
pagelark_add_test(tst_commandline ${CMAKE_CURRENT_LIST_DIR}/tst_commandline.cpp)
target_compile_definitions(tst_commandline PRIVATE PAGELARK_PROGRAM="$<TARGET_FILE:pagelark>")
add_dependencies(tst_commandline pagelark)
pagelark_add_test(tst_wholefilewriter ${CMAKE_CURRENT_LIST_DIR}/tst_wholefilewriter.cpp)
add_test(NAME install_tree COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/install_tree.sh
                                    ${PROJECT_BINARY_DIR} ${PROJECT_VERSION})
set_tests_properties(install_tree PROPERTIES ENVIRONMENT "QT_LOGGING_RULES=qt.qpa.*=false")
add_test(NAME metainfo COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/metainfo.sh ${PROJECT_BINARY_DIR}
                               ${PROJECT_VERSION})
add_test(NAME manpage COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/manpage.sh ${PROJECT_BINARY_DIR})
add_test(NAME package COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/package.sh ${PROJECT_BINARY_DIR}
                              ${PROJECT_VERSION} ${CMAKE_CPACK_COMMAND})
