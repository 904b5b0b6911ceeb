list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/FileNameRule.cpp ${KELTO_FRAGMENT_DIR}/FileNameRule.h
    ${KELTO_FRAGMENT_DIR}/DownloadResponse.cpp ${KELTO_FRAGMENT_DIR}/DownloadResponse.h)
list(APPEND KELTOUPDATE_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/FileDownloader.cpp ${KELTO_FRAGMENT_DIR}/FileDownloader.h
    ${KELTO_FRAGMENT_DIR}/InstallerSignature.cpp ${KELTO_FRAGMENT_DIR}/InstallerSignature.h
    ${KELTO_FRAGMENT_DIR}/ReleaseKey.h
    ${KELTO_FRAGMENT_DIR}/Progress.cpp ${KELTO_FRAGMENT_DIR}/Progress.h)
set(KELTOUPDATE_MAIN ${KELTO_FRAGMENT_DIR}/main.cpp)
