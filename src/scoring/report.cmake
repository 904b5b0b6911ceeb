# The printed result report: its layout as data (no widgets), and the painting, PDF and preview.
list(APPEND KELTO_CORE_SOURCES ${KELTO_FRAGMENT_DIR}/ReportLayout.cpp ${KELTO_FRAGMENT_DIR}/ReportLayout.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/DataRPrint.cpp ${KELTO_FRAGMENT_DIR}/DataRPrint.h
    ${KELTO_FRAGMENT_DIR}/ReportRenderer.cpp ${KELTO_FRAGMENT_DIR}/ReportRenderer.h
    ${KELTO_FRAGMENT_DIR}/ReportSheet.cpp ${KELTO_FRAGMENT_DIR}/ReportSheet.h)
