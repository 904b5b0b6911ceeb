# The list of backups offered when the database was refused at start, and the restore's safe
# replacement of the database file.
list(APPEND KELTO_CORE_SOURCES ${KELTO_FRAGMENT_DIR}/BackupList.cpp ${KELTO_FRAGMENT_DIR}/BackupList.h
    ${KELTO_FRAGMENT_DIR}/SafeRestore.cpp ${KELTO_FRAGMENT_DIR}/SafeRestore.h)
