#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlQuery;

// The one connection of the process to DBKelto/DBKelto.mdb.
namespace Database {
// The path every data source uses, relative to the program's folder.
inline QString relativePath() { return QStringLiteral("DBKelto/DBKelto.mdb"); }

// An identifier (table or field name) quoted for SQL: "Group", "1".
inline QString quoted(const QString &identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

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
// Whether the file at path, which need not be open, is a whole Kelto database: an SQLite file
// with the four tables and their fields, every page of which passes SQLite's own integrity check.
// It is read as it lies and nothing is made beside it. When it is not, why holds a Persian
// sentence naming the file and what is wrong with it.
bool isKeltoDatabaseFile(const QString &path, QString *why);
// Whether every page of the file at path passes SQLite's quick check: the file read once through,
// without comparing the indexes with their tables. It is read as it lies (no lock is taken, so it
// must not be written meanwhile, as a copy that nobody else knows of). Pending events are
// processed every few milliseconds while it runs on a thread of its own.
bool pagesAreWhole(const QString &path);
// Whether an SQLite result code (primary or extended) says that the file is damaged.
bool isDamage(int sqliteCode);
// A read or write of the open database met damage; detail gives SQLite's words. It is logged, and
// the listener hears of it once for each opening of the database (the windows then say so).
void reportDamage(const QString &detail);
using DamageListener = std::function<void(const QString &detail)>;
void setDamageListener(DamageListener listener);
// Closes and removes the connection, so that the file can be replaced (restore). Data sources
// that outlive it find no rows until the database is opened again and they are re-read.
void close();
// Whether files can be made in the folder (and so renamed within it); false for a missing folder.
bool folderTakesWrites(const QString &folder);
QSqlDatabase connection();
bool isOpen();
// The absolute path of the open file; empty when none is open.
QString filePath();
} // namespace Database
