#pragma once

#include <QSqlDatabase>
#include <QString>

// The one connection of the process to DBKelto/DBKelto.mdb.
namespace Database {
// The path every data source uses, relative to the program's folder.
inline QString relativePath() { return QStringLiteral("DBKelto/DBKelto.mdb"); }

// Opens the database file, creating it with its tables, the 40 item texts and the settings row
// when it does not exist. A file that is not a Kelto database, is damaged, or cannot be written
// is refused and left exactly as it was; errorMessage then holds a Persian message naming it.
bool open(const QString &path, QString *errorMessage);
void close();
QSqlDatabase connection();
} // namespace Database
