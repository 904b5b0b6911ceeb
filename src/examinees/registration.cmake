# Examinee registration: the examinee's fields and two rows (no widgets) and the main window's
# registration panel.
list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/ExamineeFields.cpp ${KELTO_FRAGMENT_DIR}/ExamineeFields.h
    ${KELTO_FRAGMENT_DIR}/ExamineeRows.cpp ${KELTO_FRAGMENT_DIR}/ExamineeRows.h)
list(APPEND KELTO_GUI_SOURCES ${KELTO_FRAGMENT_DIR}/RegistrationPanel.cpp ${KELTO_FRAGMENT_DIR}/RegistrationPanel.h)
