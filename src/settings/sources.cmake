target_sources(pagelark_core PRIVATE
    settings/LinesPerPageRule.cpp settings/LinesPerPageRule.h
)
target_sources(pagelark_ui PRIVATE
    settings/frmOptions.cpp settings/frmOptions.h
)
