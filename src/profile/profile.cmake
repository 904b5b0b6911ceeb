# The score profile and the export for statistics: the profile's numbers and the CSV writing (no
# widgets), the profile's page as drawn, its window and the export's dialogs.
list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/ScoreProfile.cpp ${KELTO_FRAGMENT_DIR}/ScoreProfile.h
    ${KELTO_FRAGMENT_DIR}/ExamineeExport.cpp ${KELTO_FRAGMENT_DIR}/ExamineeExport.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/ProfileSheet.cpp ${KELTO_FRAGMENT_DIR}/ProfileSheet.h
    ${KELTO_FRAGMENT_DIR}/ProfileWindow.cpp ${KELTO_FRAGMENT_DIR}/ProfileWindow.h
    ${KELTO_FRAGMENT_DIR}/ExportDialogs.cpp ${KELTO_FRAGMENT_DIR}/ExportDialogs.h)
