#pragma once

#include <QSqlDatabase>
#include <QString>

// The one connection of the process to the database, as every data source and kept statement
// reaches it. Opening and closing it is Database's (store/Database.h), which stands above them.
namespace Database {
// The name of the process's connection in QSqlDatabase's list.
QString connectionName();

// An identifier (table or field name) quoted for SQL: "Group", "1".
inline QString quoted(const QString &identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QSqlDatabase connection();
bool isOpen();
// The absolute path of the open file; empty when none is open, or the register is on a server.
QString filePath();
} // namespace Database
