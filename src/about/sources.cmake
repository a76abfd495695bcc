target_sources(pagelark_core PRIVATE
    about/SysInfo.cpp about/SysInfo.h
)
target_sources(pagelark_ui PRIVATE
    about/frmAbout.cpp about/frmAbout.h
)
qt_add_resources(pagelark_ui "icons"
    PREFIX "/icons"
    BASE "${PROJECT_SOURCE_DIR}/resources/icons"
    FILES
        "${PROJECT_SOURCE_DIR}/resources/icons/pagelark.svg"
        "${PROJECT_SOURCE_DIR}/resources/icons/picture1.svg"
        "${PROJECT_SOURCE_DIR}/resources/icons/globe.svg"
)
