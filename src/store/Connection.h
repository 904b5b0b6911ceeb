#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

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

// Whether an SQLite result code (primary or extended) says that the file is damaged.
bool isDamage(int sqliteCode);
// A read or write of the open database met damage; detail gives SQLite's words. It is logged, and
// the listener hears of it once for each opening of the database (the windows then say so).
void reportDamage(const QString &detail);
using DamageListener = std::function<void(const QString &detail)>;
void setDamageListener(DamageListener listener);
// A new opening of the database: its listener hears of damage again.
void forgetReportedDamage();
} // namespace Database
