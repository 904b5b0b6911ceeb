#include "store/ServerCopy.h"

#include "common/AsciiDigits.h"
#include "common/EventTurns.h"
#include "store/Database.h"
#include "store/Dialect.h"
#include "store/Schema.h"
#include "store/SideConnection.h"
#include "store/StoreMessages.h"
#include "store/Transaction.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {
using Database::quoted;

// Rows fetched from the server at a time.
constexpr int rowsPerFetch = 2000;

// The column that numbers a table's rows: "ID" on the server and in a file's tables that have it;
// a file's settings row has only SQLite's rowid, which keeps the server's number all the same.
QString idColumn(const Schema::Table &table, bool onServer) {
    return onServer || table.hasId ? quoted(Schema::id) : QStringLiteral("rowid");
}

// The row number, then every field, on one side.
QString columnList(const Schema::Table &table, bool onServer) {
    QStringList columns{idColumn(table, onServer)};
    for (const QString &field : table.textFields)
        columns << quoted(field);
    return columns.join(QStringLiteral(", "));
}

QString insertStatement(const Schema::Table &table, bool onServer) {
    const QStringList places(table.textFields.size() + 1, QStringLiteral("?"));
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(quoted(table.name), columnList(table, onServer), places.join(QStringLiteral(", ")));
}

// The place of the code among the columns (after the row number); -1 for a table without one.
int codeColumn(const Schema::Table &table) {
    const int field = table.textFields.indexOf(QString(Schema::code));
    return field < 0 ? -1 : field + 1;
}

bool failed(const QSqlQuery &query, QString *error) {
    *error = query.lastError().text();
    return false;
}

// Writes the rows that `from` has still to give through `insert`, one by one; false when a write
// fails, with `from` left on the row that was refused.
bool copyRows(QSqlQuery &from, QSqlQuery &insert, int foldedColumn, EventTurns &turns, QString *error) {
    const int columns = from.record().count();
    while (from.next()) {
        turns.turn();
        for (int column = 0; column < columns; ++column) {
            const QVariant value = from.value(column);
            insert.bindValue(column, column == foldedColumn && !value.isNull() ? withAsciiDigits(value.toString())
                                                                               : value);
        }
        if (!insert.exec())
            return failed(insert, error);
    }
    return from.lastError().isValid() ? failed(from, error) : true;
}

// One table of the server into the file, read through a cursor a batch at a time: the server's
// driver would otherwise hand over the whole result at once. Each batch is taken whole (the query is
// not forward-only): a read that events start on the connection meanwhile cannot cut it short.
bool copyTableToFile(const Schema::Table &table, QSqlDatabase file, EventTurns &turns, QString *error) {
    QSqlQuery server(Database::connection());
    QSqlQuery insert(file);
    if (!insert.prepare(insertStatement(table, false)))
        return failed(insert, error);
    if (!server.exec(QStringLiteral("DECLARE kelto_backup NO SCROLL CURSOR FOR SELECT %1 FROM %2 ORDER BY %3")
                         .arg(columnList(table, true), quoted(table.name), quoted(Schema::id))))
        return failed(server, error);
    const QString fetch = QStringLiteral("FETCH FORWARD %1 FROM kelto_backup").arg(rowsPerFetch);
    do {
        if (!server.exec(fetch))
            return failed(server, error);
        if (!copyRows(server, insert, -1, turns, error))
            return false;
    } while (server.size() == rowsPerFetch);
    return server.exec(QStringLiteral("CLOSE kelto_backup")) || failed(server, error);
}

// The file's format version (SQLite's user_version): below asciiCodesVersion its codes may hold
// Persian or Arabic-Indic digits.
int fileVersion(QSqlDatabase file) {
    QSqlQuery query(file);
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next() ? query.value(0).toInt() : 0;
}

// The code a refused insert held, as the server's unique index names it (lowered), else as read.
QString clashingCode(const QSqlError &refusal, const QString &code) {
    static const QRegularExpression key(QStringLiteral("\\)=\\((.*)\\) already exists"));
    const QRegularExpressionMatch match = key.match(refusal.text());
    return match.hasMatch() ? match.captured(1) : code;
}

// The server's rows of every table gone, in the transaction under way; other workstations wait to
// write (they still read the rows as they were) until it ends.
bool removeServerRows(QSqlQuery &server, QString *error) {
    QStringList tables;
    for (const Schema::Table &table : Schema::tables())
        tables << quoted(table.name);
    if (!server.exec(QStringLiteral("LOCK TABLE %1 IN EXCLUSIVE MODE").arg(tables.join(QStringLiteral(", ")))))
        return failed(server, error);
    for (const QString &table : std::as_const(tables))
        if (!server.exec(QStringLiteral("DELETE FROM %1").arg(table)))
            return failed(server, error);
    return true;
}

// The next automatic number of the table: one past its highest ID.
bool moveNumbering(QSqlQuery &server, const Schema::Table &table, QString *error) {
    const QString id = quoted(Schema::id);
    return server.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), COALESCE(max(%3), 0) + 1, "
                                      "false) FROM %1")
                           .arg(quoted(table.name), QString(Schema::id), id)) ||
           failed(server, error);
}
} // namespace

namespace ServerCopy {

bool writeToFile(const QString &path, QString *error) {
    const SideConnection side(path);
    QSqlDatabase file = side.db();
    if (!file.open()) {
        *error = file.lastError().text();
        return false;
    }
    // Nobody knows of the file until it is whole, and it is put on the disk once written: its
    // journal needs to undo nothing but a failure, and in memory.
    QSqlQuery settings(file);
    if (!settings.exec(QStringLiteral("PRAGMA journal_mode=MEMORY")) ||
        !settings.exec(QStringLiteral("PRAGMA synchronous=OFF")))
        return failed(settings, error);
    EventTurns turns;
    return Database::makeFileOf(
        file,
        [&](QString *error) {
            for (const Schema::Table &table : Schema::tables())
                if (!copyTableToFile(table, file, turns, error))
                    return false;
            return true;
        },
        error);
}

Replaced replaceFromFile(const QString &path, const std::function<bool(QString *error)> &beforeCommit,
                         QString *error) {
    const SideConnection side(path, SideConnection::Access::AsItLies);
    QSqlDatabase file = side.db();
    if (!file.open()) {
        *error = file.lastError().text();
        return Replaced::Failed;
    }
    const bool foldCodes = fileVersion(file) < Database::asciiCodesVersion;
    Transaction replacing;
    QSqlQuery server(Database::connection());
    if (!replacing.isActive()) {
        *error = replacing.lastError();
        return Replaced::Failed;
    }
    if (!removeServerRows(server, error))
        return Replaced::Failed;
    EventTurns turns;
    for (const Schema::Table &table : Schema::tables()) {
        QSqlQuery rows(file);
        rows.setForwardOnly(true);
        QSqlQuery insert(Database::connection());
        if (!rows.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(table, false), quoted(table.name))) ||
            !insert.prepare(insertStatement(table, true))) {
            *error = rows.lastError().isValid() ? rows.lastError().text() : insert.lastError().text();
            return Replaced::Failed;
        }
        const int code = codeColumn(table);
        if (!copyRows(rows, insert, foldCodes ? code : -1, turns, error)) {
            // Ended while the insert is still prepared, so that the server can let go of it.
            replacing.rollback();
            if (!Dialect::isDuplicateCode(insert.lastError()))
                return Replaced::Failed;
            *error = StoreMessages::codesClash(clashingCode(insert.lastError(), rows.value(code).toString()));
            return Replaced::CodesClash;
        }
        if (!moveNumbering(server, table, error))
            return Replaced::Failed;
    }
    if (beforeCommit && !beforeCommit(error))
        return Replaced::Failed;
    if (!replacing.commit()) {
        *error = replacing.lastError();
        return Replaced::Failed;
    }
    return Replaced::Done;
}

} // namespace ServerCopy
