list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/SingleInstanceGuard.cpp ${KELTO_FRAGMENT_DIR}/SingleInstanceGuard.h
    ${KELTO_FRAGMENT_DIR}/DesktopCalculator.cpp ${KELTO_FRAGMENT_DIR}/DesktopCalculator.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/Frm1.cpp ${KELTO_FRAGMENT_DIR}/Frm1.h
    ${KELTO_FRAGMENT_DIR}/KeltoStart.cpp ${KELTO_FRAGMENT_DIR}/KeltoStart.h
    ${KELTO_FRAGMENT_DIR}/SitePicture.cpp ${KELTO_FRAGMENT_DIR}/SitePicture.h
    ${KELTO_FRAGMENT_DIR}/WebPageOpener.cpp ${KELTO_FRAGMENT_DIR}/WebPageOpener.h)
list(APPEND KELTO_GUI_RESOURCES ${KELTO_FRAGMENT_DIR}/pictures/help.svg)
set(KELTO_MAIN ${KELTO_FRAGMENT_DIR}/main.cpp)
