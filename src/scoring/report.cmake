# The printed result report: its layout as data and the print server's queue (no widgets), and the
# painting, PDF and preview.
list(APPEND KELTO_CORE_SOURCES ${KELTO_FRAGMENT_DIR}/ReportLayout.cpp ${KELTO_FRAGMENT_DIR}/ReportLayout.h
    ${KELTO_FRAGMENT_DIR}/PrintQueue.cpp ${KELTO_FRAGMENT_DIR}/PrintQueue.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/DataRPrint.cpp ${KELTO_FRAGMENT_DIR}/DataRPrint.h
    ${KELTO_FRAGMENT_DIR}/ReportRenderer.cpp ${KELTO_FRAGMENT_DIR}/ReportRenderer.h
    ${KELTO_FRAGMENT_DIR}/ReportSheet.cpp ${KELTO_FRAGMENT_DIR}/ReportSheet.h)
