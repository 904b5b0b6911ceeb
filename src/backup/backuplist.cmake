# The list of backups offered when the database was refused at start.
list(APPEND KELTO_CORE_SOURCES ${KELTO_FRAGMENT_DIR}/BackupList.cpp ${KELTO_FRAGMENT_DIR}/BackupList.h)
