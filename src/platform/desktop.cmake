target_sources(pagelark_core PRIVATE
    platform/Registry.cpp platform/Registry.h
)
target_sources(pagelark_ui PRIVATE
    platform/Launcher.cpp platform/Launcher.h
)
# The help page is looked for beside the program, then where the install rules put it (relative
# to the installed program, then at the configured prefix), then in the source tree of a build
# that was never installed.
include(GNUInstallDirs)
file(RELATIVE_PATH PAGELARK_DATA_FROM_BIN "${CMAKE_INSTALL_FULL_BINDIR}"
     "${CMAKE_INSTALL_FULL_DATADIR}/pagelark")
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/Launcher.cpp APPEND PROPERTY COMPILE_DEFINITIONS
    PAGELARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    PAGELARK_DATA_DIR="${CMAKE_INSTALL_FULL_DATADIR}/pagelark"
    PAGELARK_DATA_FROM_BIN="${PAGELARK_DATA_FROM_BIN}")
