target_sources(pagelark_testsupport PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/FakeDrives.h ${CMAKE_CURRENT_LIST_DIR}/FileSizeLimit.h
    ${CMAKE_CURRENT_LIST_DIR}/ReaderFixture.cpp ${CMAKE_CURRENT_LIST_DIR}/ReaderFixture.h
)
