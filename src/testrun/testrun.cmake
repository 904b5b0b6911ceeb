# The test window and the test run that opens it from the main window.
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/FrmTest.cpp ${KELTO_FRAGMENT_DIR}/FrmTest.h
    ${KELTO_FRAGMENT_DIR}/TestRun.cpp ${KELTO_FRAGMENT_DIR}/TestRun.h)
