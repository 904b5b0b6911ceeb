#pragma once

#include "store/EngineSettings.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class QSqlError;

// The one connection of the process to the database, as every data source and kept statement
// reaches it. Opening and closing it is Database's (store/Database.h), which stands above them.
namespace Database {
// The name of the process's connection in QSqlDatabase's list.
QString connectionName();

// An identifier (table or field name) quoted for SQL: "Group", "1".
inline QString quoted(const QString &identifier) {
    return QLatin1Char('"') + QString(identifier).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

// The connection for a statement: on a server whose connection was lost it is made again first
// (see reportLostConnection).
QSqlDatabase connection();
// Whether the connection is open; false on a server whose connection is lost.
bool isOpen();
// The absolute path of the open file; empty when none is open, or the register is on a server.
QString filePath();

// Adds a connection to the server under the given name, with the server's parameters (the password
// from ~/.pgpass or PGPASSWORD, as libpq takes it); not yet opened. Invalid when Qt's driver for the
// server is missing.
QSqlDatabase addServerConnection(const QString &name, const EngineSettings::Choice &server);
// The server the open connection stands on; onServer is false on the SQLite file.
EngineSettings::Choice serverInUse();

// What a read or write met that the windows must hear of: damage in the file, or the connection to
// the server lost. detail is the words of SQLite, or the Persian message naming the server.
enum class Trouble { Damage, LostServer };
using TroubleListener = std::function<void(Trouble trouble, const QString &detail)>;
void setTroubleListener(TroubleListener listener);

// Whether an SQLite result code (primary or extended) says that the file is damaged.
bool isDamage(int sqliteCode);
// A read or write of the open database met damage; detail gives SQLite's words. It is logged, and
// the listener hears of it once for each opening of the database (the windows then say so).
void reportDamage(const QString &detail);
// A new opening of the database: its listener hears of damage again.
void forgetReportedDamage();

// Whether the connection to the server is gone, after a statement that failed with the given error:
// libpq's own status (QPSQL then counts the connection as closed, and later statements fail without
// an error of their own), or the server's last word, a connection error (class 08) or its shutting
// down (57P01 to 57P03), which libpq may not yet count as the end.
bool isLostConnection(const QSqlError &error);
// A statement met the connection to the server lost; reason holds libpq's words, when it gave any
// (the reason first heard, or that of a failed attempt to connect again, stands in). It is logged and
// the Persian message naming the server and the reason is given back, for a write saying that
// nothing was stored. A read's loss is heard by the listener once for each loss; a write's failure
// is shown by its window, and the loss counts as told. QPSQL does not connect again by itself: the
// next statement outside a transaction does, once for each turn of the event loop while the server
// stays away. Inside a transaction nothing connects again: its writes went with the lost session
// and must fail whole, never go on in a new one.
enum class LostIn { Read, Write };
QString reportLostConnection(const QString &reason, LostIn lostIn);
// Whether the connection is lost and not yet made again.
bool connectionLost();
// True once for a loss the user has not yet been told of; it then counts as told.
bool tellOfLostConnection();
// Before the store connects again: false while a transaction is open on the lost session;
// otherwise it drops what lived on that session (statements prepared there). Set by Database as it
// opens a server.
void setBeforeReconnect(std::function<bool()> beforeReconnect);
} // namespace Database
