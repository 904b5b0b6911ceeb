list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/Connection.cpp ${KELTO_FRAGMENT_DIR}/Connection.h
    ${KELTO_FRAGMENT_DIR}/Dialect.cpp ${KELTO_FRAGMENT_DIR}/Dialect.h
    ${KELTO_FRAGMENT_DIR}/EngineSettings.cpp ${KELTO_FRAGMENT_DIR}/EngineSettings.h
    ${KELTO_FRAGMENT_DIR}/Database.cpp ${KELTO_FRAGMENT_DIR}/Database.h
    ${KELTO_FRAGMENT_DIR}/DataSource.cpp ${KELTO_FRAGMENT_DIR}/DataSource.h
    ${KELTO_FRAGMENT_DIR}/DataSourceModel.cpp ${KELTO_FRAGMENT_DIR}/DataSourceModel.h
    ${KELTO_FRAGMENT_DIR}/DistinctValuesModel.cpp ${KELTO_FRAGMENT_DIR}/DistinctValuesModel.h
    ${KELTO_FRAGMENT_DIR}/KeptStatement.cpp ${KELTO_FRAGMENT_DIR}/KeptStatement.h
    ${KELTO_FRAGMENT_DIR}/ReadSnapshot.cpp ${KELTO_FRAGMENT_DIR}/ReadSnapshot.h
    ${KELTO_FRAGMENT_DIR}/Transaction.cpp ${KELTO_FRAGMENT_DIR}/Transaction.h
    ${KELTO_FRAGMENT_DIR}/ItemTexts.cpp ${KELTO_FRAGMENT_DIR}/ItemTexts.h
    ${KELTO_FRAGMENT_DIR}/RefusedDatabase.cpp ${KELTO_FRAGMENT_DIR}/RefusedDatabase.h
    ${KELTO_FRAGMENT_DIR}/WholeFileCheck.cpp ${KELTO_FRAGMENT_DIR}/WholeFileCheck.h
    ${KELTO_FRAGMENT_DIR}/StoreMessages.h ${KELTO_FRAGMENT_DIR}/FieldValues.h
    ${KELTO_FRAGMENT_DIR}/SideConnection.cpp ${KELTO_FRAGMENT_DIR}/SideConnection.h
    ${KELTO_FRAGMENT_DIR}/ServerCopy.cpp ${KELTO_FRAGMENT_DIR}/ServerCopy.h
    ${KELTO_FRAGMENT_DIR}/Schema.h)
