list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/PersianCalendar.cpp ${KELTO_FRAGMENT_DIR}/PersianCalendar.h)
