# The scoring key and its computation (no widgets), and the result sheet window.
list(APPEND KELTO_CORE_SOURCES ${KELTO_FRAGMENT_DIR}/ScoringKey.cpp ${KELTO_FRAGMENT_DIR}/ScoringKey.h)
list(APPEND KELTO_GUI_SOURCES ${KELTO_FRAGMENT_DIR}/FrmkLID.cpp ${KELTO_FRAGMENT_DIR}/FrmkLID.h)
