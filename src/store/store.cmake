list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/Database.cpp ${KELTO_FRAGMENT_DIR}/Database.h
    ${KELTO_FRAGMENT_DIR}/DataSource.cpp ${KELTO_FRAGMENT_DIR}/DataSource.h
    ${KELTO_FRAGMENT_DIR}/DataSourceModel.cpp ${KELTO_FRAGMENT_DIR}/DataSourceModel.h
    ${KELTO_FRAGMENT_DIR}/Transaction.cpp ${KELTO_FRAGMENT_DIR}/Transaction.h
    ${KELTO_FRAGMENT_DIR}/ItemTexts.cpp ${KELTO_FRAGMENT_DIR}/ItemTexts.h
    ${KELTO_FRAGMENT_DIR}/StoreMessages.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/FieldBinding.cpp ${KELTO_FRAGMENT_DIR}/FieldBinding.h)
