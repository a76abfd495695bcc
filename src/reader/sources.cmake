target_sources(pagelark_ui PRIVATE
    reader/BookPrinter.cpp reader/BookPrinter.h
    reader/ContentsPanel.cpp reader/ContentsPanel.h
    reader/ContentsWorker.cpp reader/ContentsWorker.h
    reader/PageFitter.cpp reader/PageFitter.h
    reader/PageFormatter.cpp reader/PageFormatter.h
    reader/PlacementStore.cpp reader/PlacementStore.h
    reader/ReaderLayout.cpp reader/ReaderLayout.h
    reader/RecentBooksMenu.cpp reader/RecentBooksMenu.h
    reader/SidePanel.cpp reader/SidePanel.h
    reader/EncodingMenu.cpp reader/EncodingMenu.h
    reader/FilePanel.cpp reader/FilePanel.h
    reader/KeptPanelStyle.cpp reader/KeptPanelStyle.h
    reader/LabelSlot.cpp reader/LabelSlot.h
    reader/TextArea.cpp reader/TextArea.h
    reader/TextItemDelegate.cpp reader/TextItemDelegate.h
    reader/ToolbarIcons.cpp reader/ToolbarIcons.h
    reader/Twips.h
    reader/frmMain.cpp reader/frmMain.h
    reader/frmBookmarks.cpp reader/frmBookmarks.h
    reader/frmFindAll.cpp reader/frmFindAll.h
    reader/frmPageLayout.cpp reader/frmPageLayout.h
    reader/frmMainFind.cpp
    reader/frmMainBookmarks.cpp
    reader/frmMainCommands.cpp
    reader/frmMainContents.cpp
    reader/frmMainFit.cpp
    reader/frmMainLayout.cpp
    reader/frmMainLook.cpp
    reader/frmMainSession.cpp
)
qt_add_resources(pagelark_ui "toolbar_icons"
    PREFIX "/toolbar"
    BASE "${PROJECT_SOURCE_DIR}/resources/toolbar"
    FILES
        "${PROJECT_SOURCE_DIR}/resources/toolbar/align-left.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/align-right.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/back1.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/bold.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/center.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/close.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/copy.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/find.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/front.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/italic.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/larger.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/open.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/print.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/properties.svg"
        "${PROJECT_SOURCE_DIR}/resources/toolbar/smaller.svg"
)
