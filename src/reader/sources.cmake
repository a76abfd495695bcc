target_sources(pagelark_ui PRIVATE
    reader/TextArea.cpp reader/TextArea.h
    reader/Twips.h
    reader/frmMain.cpp reader/frmMain.h
)
