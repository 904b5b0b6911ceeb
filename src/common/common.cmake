list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/TextValue.cpp ${KELTO_FRAGMENT_DIR}/TextValue.h
    ${KELTO_FRAGMENT_DIR}/AsciiDigits.cpp ${KELTO_FRAGMENT_DIR}/AsciiDigits.h
    ${KELTO_FRAGMENT_DIR}/PersianOrder.cpp ${KELTO_FRAGMENT_DIR}/PersianOrder.h
    ${KELTO_FRAGMENT_DIR}/Twips.h ${KELTO_FRAGMENT_DIR}/AppVersion.h ${KELTO_FRAGMENT_DIR}/Hosts.h
    ${KELTO_FRAGMENT_DIR}/Hosts.cpp
    ${KELTO_FRAGMENT_DIR}/LeftoverFiles.cpp ${KELTO_FRAGMENT_DIR}/LeftoverFiles.h
    ${KELTO_FRAGMENT_DIR}/PersianFonts.h ${KELTO_FRAGMENT_DIR}/EventTurns.h)
