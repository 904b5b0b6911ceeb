# Enter on buttons and the names of controls for assistive tools, in both programs.
list(APPEND KELTO_GUI_SOURCES ${KELTO_FRAGMENT_DIR}/KeyboardAccess.cpp ${KELTO_FRAGMENT_DIR}/KeyboardAccess.h)
list(APPEND KELTOUPDATE_GUI_SOURCES ${KELTO_FRAGMENT_DIR}/KeyboardAccess.cpp ${KELTO_FRAGMENT_DIR}/KeyboardAccess.h)
