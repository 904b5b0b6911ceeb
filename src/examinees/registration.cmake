# Examinee registration: the two rows of an examinee (no widgets) and the main window's
# registration panel.
list(APPEND KELTO_CORE_SOURCES ${KELTO_FRAGMENT_DIR}/ExamineeRows.cpp ${KELTO_FRAGMENT_DIR}/ExamineeRows.h
    ${KELTO_FRAGMENT_DIR}/StoredCodeDigits.cpp ${KELTO_FRAGMENT_DIR}/StoredCodeDigits.h)
list(APPEND KELTO_GUI_SOURCES ${KELTO_FRAGMENT_DIR}/RegistrationPanel.cpp ${KELTO_FRAGMENT_DIR}/RegistrationPanel.h)
