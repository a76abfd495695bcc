target_sources(pagelark_core PRIVATE
    texttools/CombineCommand.cpp texttools/CombineCommand.h
    texttools/Combiner.cpp texttools/Combiner.h
    texttools/FileDeletion.cpp texttools/FileDeletion.h
    texttools/FolderListing.cpp texttools/FolderListing.h
    texttools/HtmlConversion.cpp texttools/HtmlConversion.h
    texttools/ToolProgress.h
)
target_sources(pagelark_ui PRIVATE
    platform/BusyCursor.h
    texttools/frmTextTool.cpp texttools/frmTextTool.h
    texttools/frmTextToolCommands.cpp
    texttools/frmTextToolLayout.cpp
)
