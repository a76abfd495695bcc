target_sources(pagelark_ui PRIVATE
    platform/Drives.cpp platform/Drives.h
    platform/FileDrops.cpp platform/FileDrops.h
    platform/FitText.cpp platform/FitText.h
    platform/FontDialog.cpp platform/FontDialog.h
    platform/OleColor.cpp platform/OleColor.h
    platform/Prompts.cpp platform/Prompts.h
    platform/ShortcutsFirst.cpp platform/ShortcutsFirst.h
)
include(platform/desktop.cmake OPTIONAL)
