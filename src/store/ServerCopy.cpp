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
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdlib>
#include <memory>

// Rows go between the two engines through their own libraries, libpq and SQLite, on the very
// connections Qt opened: through Qt every field of every row became a QVariant twice over, which
// made a backup take several times as long as pg_dump of the same database.
namespace {
using Database::quoted;

// Rows fetched from the server at a time.
constexpr int rowsPerFetch = 2000;
// Bytes of rows sent to the server at a time in a restore.
constexpr qsizetype bytesPerSend = 256 * 1024;

struct ResultFree {
    void operator()(PGresult *result) const { PQclear(result); }
};
using Result = std::unique_ptr<PGresult, ResultFree>;

struct StatementFree {
    void operator()(sqlite3_stmt *statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementFree>;

// The libraries' own handles under Qt's connections, known by their type's name (PGconn is named
// by the struct it stands for, or by itself).
template <typename Handle> Handle *handleOf(const QSqlDatabase &db, std::initializer_list<const char *> typeNames) {
    const QVariant handle = db.driver()->handle();
    for (const char *typeName : typeNames)
        if (handle.isValid() && qstrcmp(handle.typeName(), typeName) == 0)
            return *static_cast<Handle *const *>(handle.constData());
    return nullptr;
}

PGconn *server() { return handleOf<PGconn>(Database::connection(), {"pg_conn*", "PGconn*"}); }

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

// The place of the code among the columns (after the row number); -1 for a table without one.
int codeColumn(const Schema::Table &table) {
    const int field = table.textFields.indexOf(QString(Schema::code));
    return field < 0 ? -1 : field + 1;
}

bool serverFailed(PGconn *server, QString *error) {
    *error = server ? QString::fromUtf8(PQerrorMessage(server)).trimmed() : QStringLiteral("no server connection");
    return false;
}

bool fileFailed(sqlite3 *file, QString *error) {
    // A full disk is said in the words a full disk is said in everywhere else.
    *error = sqlite3_errcode(file) == SQLITE_FULL ? StoreMessages::diskFull() : QString::fromUtf8(sqlite3_errmsg(file));
    return false;
}

// Runs a statement on the server; true when it gave the status expected.
bool serverRun(PGconn *server, const QString &sql, ExecStatusType expected, QString *error) {
    const Result result(PQexec(server, sql.toUtf8().constData()));
    return PQresultStatus(result.get()) == expected || serverFailed(server, error);
}

// Writes the rows of one fetched batch into the file.
bool insertBatch(const PGresult *batch, sqlite3_stmt *insert, EventTurns &turns, QString *error) {
    const int columns = PQnfields(batch);
    for (int row = 0; row < PQntuples(batch); ++row) {
        turns.turn();
        sqlite3_bind_int64(insert, 1, std::strtoll(PQgetvalue(batch, row, 0), nullptr, 10));
        for (int column = 1; column < columns; ++column) {
            if (PQgetisnull(batch, row, column))
                sqlite3_bind_null(insert, column + 1);
            else
                sqlite3_bind_text(insert, column + 1, PQgetvalue(batch, row, column), PQgetlength(batch, row, column),
                                  SQLITE_STATIC);
        }
        const bool written = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
        if (!written)
            return fileFailed(sqlite3_db_handle(insert), error);
    }
    return true;
}

// The whole result of the query sent last; libpq then tells with a null that nothing more comes.
Result awaitResult(PGconn *server) {
    Result result(PQgetResult(server));
    while (PGresult *more = PQgetResult(server))
        PQclear(more);
    return result;
}

// One table of the server into the file, read through a cursor a batch at a time (the server would
// otherwise hand over the whole table at once). The next batch is asked for before this one is
// written, so that the server makes it meanwhile; a read that events start on the connection during
// those writes is refused by libpq, and this one goes on unharmed.
bool copyTableToFile(const Schema::Table &table, PGconn *server, sqlite3 *file, EventTurns &turns, QString *error) {
    const QStringList places(table.textFields.size() + 1, QStringLiteral("?"));
    const QByteArray insertText = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                      .arg(quoted(table.name), columnList(table, false), places.join(QLatin1Char(',')))
                                      .toUtf8();
    sqlite3_stmt *prepared = nullptr;
    if (sqlite3_prepare_v2(file, insertText.constData(), -1, &prepared, nullptr) != SQLITE_OK)
        return fileFailed(file, error);
    const Statement insert(prepared);
    if (!serverRun(server,
                   QStringLiteral("DECLARE kelto_backup NO SCROLL CURSOR FOR SELECT %1 FROM %2 ORDER BY %3")
                       .arg(columnList(table, true), quoted(table.name), quoted(Schema::id)),
                   PGRES_COMMAND_OK, error))
        return false;
    const QByteArray fetch = QByteArrayLiteral("FETCH FORWARD ") + QByteArray::number(rowsPerFetch) +
                             QByteArrayLiteral(" FROM kelto_backup");
    bool asked = PQsendQuery(server, fetch.constData()) == 1;
    while (asked) {
        const Result batch = awaitResult(server);
        if (PQresultStatus(batch.get()) != PGRES_TUPLES_OK)
            return serverFailed(server, error);
        const bool last = PQntuples(batch.get()) < rowsPerFetch;
        asked = !last && PQsendQuery(server, fetch.constData()) == 1;
        if (!last && !asked)
            break;
        if (!insertBatch(batch.get(), insert.get(), turns, error)) {
            if (asked)
                awaitResult(server);
            return false;
        }
        if (last)
            return serverRun(server, QStringLiteral("CLOSE kelto_backup"), PGRES_COMMAND_OK, error);
    }
    return serverFailed(server, error);
}

// A field in the server's COPY text format: \N for a null, the text with its backslashes, tabs and
// line ends escaped.
void appendField(QByteArray &line, const char *text, int length) {
    if (!text) {
        line += "\\N";
        return;
    }
    for (int i = 0; i < length; ++i) {
        switch (text[i]) {
        case '\\':
            line += "\\\\";
            break;
        case '\t':
            line += "\\t";
            break;
        case '\n':
            line += "\\n";
            break;
        case '\r':
            line += "\\r";
            break;
        default:
            line += text[i];
        }
    }
}

// The code a refused COPY held, as the server's unique index names it (lowered).
QString clashingCode(const PGresult *refusal) {
    static const QRegularExpression key(QStringLiteral("\\)=\\((.*)\\) already exists"));
    const QString detail = QString::fromUtf8(PQresultErrorField(refusal, PG_DIAG_MESSAGE_DETAIL));
    const QRegularExpressionMatch match = key.match(detail);
    return match.hasMatch() ? match.captured(1) : detail;
}

// Ends a COPY (abandoned with a reason, or whole) and tells how the server took it.
ServerCopy::Replaced endCopy(PGconn *server, const char *abandoned, QString *error) {
    ServerCopy::Replaced outcome = ServerCopy::Replaced::Done;
    if (PQputCopyEnd(server, abandoned) != 1)
        outcome = ServerCopy::Replaced::Failed;
    while (PGresult *raw = PQgetResult(server)) {
        const Result result(raw);
        if (PQresultStatus(raw) == PGRES_COMMAND_OK || outcome != ServerCopy::Replaced::Done)
            continue;
        const QSqlError refusal(QString(), QString::fromUtf8(PQresultErrorMessage(raw)), QSqlError::StatementError,
                                QString::fromLatin1(PQresultErrorField(raw, PG_DIAG_SQLSTATE)));
        outcome = Dialect::isDuplicateCode(refusal) ? ServerCopy::Replaced::CodesClash : ServerCopy::Replaced::Failed;
        *error = outcome == ServerCopy::Replaced::CodesClash ? StoreMessages::codesClash(clashingCode(raw))
                                                             : refusal.databaseText().trimmed();
    }
    if (outcome == ServerCopy::Replaced::Failed && error->isEmpty())
        serverFailed(server, error);
    return outcome;
}

// One table of the file onto the server, through COPY: rows go a few hundred kilobytes at a time.
ServerCopy::Replaced copyTableToServer(const Schema::Table &table, sqlite3 *file, PGconn *server, bool foldCodes,
                                       EventTurns &turns, QString *error) {
    sqlite3_stmt *prepared = nullptr;
    const QByteArray select =
        QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(columnList(table, false), quoted(table.name)).toUtf8();
    if (sqlite3_prepare_v2(file, select.constData(), -1, &prepared, nullptr) != SQLITE_OK) {
        fileFailed(file, error);
        return ServerCopy::Replaced::Failed;
    }
    const Statement rows(prepared);
    if (!serverRun(server, QStringLiteral("COPY %1 (%2) FROM STDIN").arg(quoted(table.name), columnList(table, true)),
                   PGRES_COPY_IN, error))
        return ServerCopy::Replaced::Failed;
    const int columns = sqlite3_column_count(prepared);
    const int code = foldCodes ? codeColumn(table) : -1;
    QByteArray lines;
    int step;
    while ((step = sqlite3_step(prepared)) == SQLITE_ROW) {
        turns.turn();
        for (int column = 0; column < columns; ++column) {
            if (column > 0)
                lines += '\t';
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(prepared, column));
            const int length = sqlite3_column_bytes(prepared, column);
            if (column == code && text) {
                const QByteArray folded = withAsciiDigits(QString::fromUtf8(text, length)).toUtf8();
                appendField(lines, folded.constData(), int(folded.size()));
            } else {
                appendField(lines, text, length);
            }
        }
        lines += '\n';
        if (lines.size() >= bytesPerSend) {
            if (PQputCopyData(server, lines.constData(), int(lines.size())) != 1)
                return endCopy(server, "", error);
            lines.clear();
        }
    }
    if (step != SQLITE_DONE) {
        QString unread;
        fileFailed(file, &unread);
        endCopy(server, "the backup could not be read", error);
        *error = unread;
        return ServerCopy::Replaced::Failed;
    }
    if (!lines.isEmpty() && PQputCopyData(server, lines.constData(), int(lines.size())) != 1)
        return endCopy(server, "", error);
    return endCopy(server, nullptr, error);
}

// The file's format version (SQLite's user_version): below asciiCodesVersion its codes may hold
// Persian or Arabic-Indic digits.
int fileVersion(QSqlDatabase file) {
    QSqlQuery query(file);
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next() ? query.value(0).toInt() : 0;
}

bool failed(const QSqlQuery &query, QString *error) {
    *error = query.lastError().text();
    return false;
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
    PGconn *connection = server();
    if (!connection)
        return serverFailed(connection, error);
    EventTurns turns;
    return Database::makeFileOf(
        path,
        [&](QSqlDatabase file, QString *error) {
            sqlite3 *handle = handleOf<sqlite3>(file, {"sqlite3*"});
            if (!handle) {
                *error = QStringLiteral("no SQLite connection");
                return false;
            }
            for (const Schema::Table &table : Schema::tables())
                if (!copyTableToFile(table, connection, handle, turns, error))
                    return false;
            return true;
        },
        error);
}

Replaced replaceFromFile(const QString &path, const std::function<bool(QString *error)> &beforeCommit, QString *error) {
    const SideConnection side(path, SideConnection::Access::AsItLies);
    QSqlDatabase file = side.db();
    if (!file.open()) {
        *error = file.lastError().text();
        return Replaced::Failed;
    }
    const bool foldCodes = fileVersion(file) < Database::asciiCodesVersion;
    PGconn *connection = server();
    sqlite3 *handle = handleOf<sqlite3>(file, {"sqlite3*"});
    if (!connection || !handle) {
        serverFailed(connection, error);
        return Replaced::Failed;
    }
    Transaction replacing;
    QSqlQuery statements(Database::connection());
    if (!replacing.isActive()) {
        *error = replacing.lastError();
        return Replaced::Failed;
    }
    if (!removeServerRows(statements, error))
        return Replaced::Failed;
    EventTurns turns;
    for (const Schema::Table &table : Schema::tables()) {
        const Replaced copied = copyTableToServer(table, handle, connection, foldCodes, turns, error);
        if (copied != Replaced::Done)
            return copied;
        if (!moveNumbering(statements, table, error))
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
