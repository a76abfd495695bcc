pagelark_add_area_test(tst_app ${CMAKE_CURRENT_LIST_DIR}/tst_app.cpp)
target_compile_definitions(tst_app PRIVATE PAGELARK_PROGRAM="$<TARGET_FILE:pagelark>")
add_dependencies(tst_app pagelark)
add_test(NAME install_tree
         COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/install_tree.sh ${PROJECT_BINARY_DIR})
set_tests_properties(install_tree PROPERTIES ENVIRONMENT "QT_LOGGING_RULES=qt.qpa.*=false")
