# Backup and restore: the copy routine, sealed backups and the database copies (no widgets), the exit dialog and
# the backup window.
list(APPEND KELTO_CORE_SOURCES
    ${KELTO_FRAGMENT_DIR}/CopyRoutine.cpp ${KELTO_FRAGMENT_DIR}/CopyRoutine.h
    ${KELTO_FRAGMENT_DIR}/DatabaseCopies.cpp ${KELTO_FRAGMENT_DIR}/DatabaseCopies.h
    ${KELTO_FRAGMENT_DIR}/BackupFileName.h
    ${KELTO_FRAGMENT_DIR}/SealedBackup.cpp ${KELTO_FRAGMENT_DIR}/SealedBackup.h)
list(APPEND KELTO_GUI_SOURCES
    ${KELTO_FRAGMENT_DIR}/Frmbackup.cpp ${KELTO_FRAGMENT_DIR}/Frmbackup.h
    ${KELTO_FRAGMENT_DIR}/exitpro.cpp ${KELTO_FRAGMENT_DIR}/exitpro.h)
