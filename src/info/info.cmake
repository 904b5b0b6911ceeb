list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/PageRule.cpp ${KELTO_FRAGMENT_DIR}/PageRule.h
    ${KELTO_FRAGMENT_DIR}/Credits.cpp ${KELTO_FRAGMENT_DIR}/Credits.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/Frm2.cpp ${KELTO_FRAGMENT_DIR}/Frm2.h
    ${KELTO_FRAGMENT_DIR}/About.cpp ${KELTO_FRAGMENT_DIR}/About.h)
list(APPEND KELTO_GUI_RESOURCES
    ${KELTO_FRAGMENT_DIR}/pages/page1.html ${KELTO_FRAGMENT_DIR}/pages/page2.html
    ${KELTO_FRAGMENT_DIR}/pages/page3.html ${KELTO_FRAGMENT_DIR}/pages/page4.html
    ${KELTO_FRAGMENT_DIR}/pages/page5.html
    ${KELTO_FRAGMENT_DIR}/pages/pages.css ${KELTO_FRAGMENT_DIR}/pictures/about.svg)
