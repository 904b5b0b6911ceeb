#pragma once

#include "store/Connection.h"
#include "store/EngineSettings.h"

#include <QString>

// Opening, creating, checking and closing DBKelto/DBKelto.mdb; the connection itself, which the
// data sources use, is store/Connection.h.
namespace Database {
// The path every data source uses, relative to the program's folder.
inline QString relativePath() { return QStringLiteral("DBKelto/DBKelto.mdb"); }

// Opens the database file, creating it with its tables, the 40 item texts and the settings row
// when it does not exist. A file that is not a Kelto database, is damaged, or cannot be written
// is refused and left exactly as it was; errorMessage then holds a Persian message naming it.
// Damage is looked for in the header, the file's size and the tables (and in every page after a
// cut-off write was rolled back); a page damaged deep inside is reported by the read that meets it.
// An open connection is closed first.
bool open(const QString &path, QString *errorMessage);
// Connects to the PostgreSQL server Kelto.ini names (the password from ~/.pgpass or PGPASSWORD).
// On an empty database it makes the four tables, the 40 item texts and the settings row in one
// transaction, which a second workstation starting at the same moment waits for. A database with
// other tables than Kelto's, or Kelto's with fields missing, is refused and nothing is written to
// it; so is a server that cannot be reached, with libpq's reason. errorMessage names the server.
bool openServer(const EngineSettings::Choice &server, QString *errorMessage);
// Whether the file at path, which need not be open, is a whole Kelto database: an SQLite file
// with the four tables and their fields, every page of which passes SQLite's own integrity check.
// It is read as it lies and nothing is made beside it. When it is not, why holds a Persian
// sentence naming the file and what is wrong with it.
bool isKeltoDatabaseFile(const QString &path, QString *why);
// Closes and removes the connection, so that the file can be replaced (restore). Data sources
// that outlive it find no rows until the database is opened again and they are re-read.
void close();
// Whether files can be made in the folder (and so renamed within it); false for a missing folder.
bool folderTakesWrites(const QString &folder);
} // namespace Database
