#pragma once

#include <QString>

// Puts a backup in the database's place: the backup must be a whole Kelto database; its bytes go
// into a temporary file beside the database, which is renamed over it only once it is complete
// and flushed, so that a failed restore leaves the database as it was. The database must be
// closed. error holds the reason on failure.
bool restoreDatabaseFile(const QString &backupPath, const QString &databasePath, QString *error);
