#pragma once

#include "store/Connection.h"
#include "store/EngineSettings.h"

#include <QString>

#include <functional>

class QSqlQuery;

// Opening, creating, checking and closing DBKelto/DBKelto.mdb; the connection itself, which the
// data sources use, is store/Connection.h.
namespace Database {
// The path every data source uses, relative to the program's folder.
inline QString relativePath() { return QStringLiteral("DBKelto/DBKelto.mdb"); }

// The file's format version (SQLite's user_version): 1 since every code is stored with ASCII
// digits. A file Kelto creates has it; an older one is brought to it once as it opens.
constexpr int asciiCodesVersion = 1;

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
// Whether the server can be reached with these parameters, on a connection of its own (the
// program's own is left as it is); message holds a Persian sentence naming the server, with
// libpq's reason when it cannot. Events are processed while it waits.
bool reachServer(const EngineSettings::Choice &server, QString *message);
// Whether the file at path, which need not be open, is a whole Kelto database: an SQLite file
// with the four tables and their fields, every page of which passes SQLite's own integrity check.
// It is read as it lies and nothing is made beside it. When it is not, why holds a Persian
// sentence naming the file and what is wrong with it.
bool isKeltoDatabaseFile(const QString &path, QString *why);
// Makes a Kelto database of the empty SQLite file at path, with the rows fillRows writes into its
// tables (through the connection it is given) in place of the item texts and the settings row of a
// new database: a backup of a register kept on a server. The tables are those open() makes for a
// new file; the indexes come after the rows, being made faster over them than row by row, on a
// thread of their own while pending events run. On failure (error says why) the file is no Kelto
// database: its maker throws it away.
bool makeFileOf(const QString &path, const std::function<bool(QSqlDatabase file, QString *error)> &fillRows,
                QString *error);
// Whether every page of the file at path passes SQLite's quick check: the file read once through,
// without comparing the indexes with their tables. It is read as it lies (no lock is taken, so it
// must not be written meanwhile, as a copy that nobody else knows of). Pending events are
// processed every few milliseconds while it runs on a thread of its own.
bool pagesAreWhole(const QString &path);
// Counts the openings of the database: a check begun on one opening says nothing of the next.
int opening();
// The file of the given opening passed SQLite's check of every page. The program is the file's one
// writer and writes only through SQLite, so the file stays whole while it is open: a backup copied
// from it byte for byte needs no second read of its own to prove it.
void noteProvenWhole(int checkedOpening);
bool provenWhole();
// Closes and removes the connection, so that the file can be replaced (restore). Data sources
// that outlive it find no rows until the database is opened again and they are re-read.
void close();
// Whether files can be made in the folder (and so renamed within it); false for a missing folder.
bool folderTakesWrites(const QString &folder);
} // namespace Database
