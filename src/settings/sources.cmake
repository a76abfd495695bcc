target_sources(pagelark_core PRIVATE
    settings/LinesPerPageRule.cpp settings/LinesPerPageRule.h
)
