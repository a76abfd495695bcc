target_sources(pagelark_core PRIVATE
    app/StringTable.cpp app/StringTable.h
)
target_sources(pagelark_ui PRIVATE
    app/Captions.cpp app/Captions.h
)
qt_add_resources(pagelark_ui "strings"
    PREFIX "/strings"
    BASE "${PROJECT_SOURCE_DIR}/resources"
    FILES "${PROJECT_SOURCE_DIR}/resources/strings.txt"
)
