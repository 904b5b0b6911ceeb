# The examinee's fields and two rows (no widgets), codes stored with other digits than ASCII ones;
# which box shows each field, the details form of the result sheet and the test window, and the
# main window's registration panel.
list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/ExamineeFields.cpp ${KELTO_FRAGMENT_DIR}/ExamineeFields.h
    ${KELTO_FRAGMENT_DIR}/ExamineeRows.cpp ${KELTO_FRAGMENT_DIR}/ExamineeRows.h
    ${KELTO_FRAGMENT_DIR}/StoredCodeDigits.cpp ${KELTO_FRAGMENT_DIR}/StoredCodeDigits.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/ExamineeBoxes.cpp ${KELTO_FRAGMENT_DIR}/ExamineeBoxes.h
    ${KELTO_FRAGMENT_DIR}/ExamineeDetailsForm.cpp ${KELTO_FRAGMENT_DIR}/ExamineeDetailsForm.h
    ${KELTO_FRAGMENT_DIR}/RegistrationPanel.cpp ${KELTO_FRAGMENT_DIR}/RegistrationPanel.h)
