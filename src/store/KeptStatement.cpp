#include "store/KeptStatement.h"

#include "store/Connection.h"
#include "store/Dialect.h"

#include <QCoreApplication>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <sqlite3.h>

#include <map>
#include <memory>

namespace {
// The statements by their text, for the one connection.
std::map<QString, std::unique_ptr<KeptStatement>> &keptStatements() {
    static auto *statements = new std::map<QString, std::unique_ptr<KeptStatement>>;
    return *statements;
}

// The SQLite connection under Qt's: its driver hands it out as "sqlite3*".
sqlite3 *openHandle() {
    const QSqlDatabase db = Database::connection();
    if (!db.isOpen())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

bool serverTransactionOpen = false;
} // namespace

KeptStatement *KeptStatement::forText(const QString &sql, QString *why, Database::LostIn lostIn) {
    // A statement kept from a lost session would fail for ever: the store connects again first,
    // which drops them all (when no transaction is open).
    if (Dialect::onServer() && Database::connectionLost())
        Database::connection();
    auto &statements = keptStatements();
    if (const auto kept = statements.find(sql); kept != statements.end())
        return kept->second.get();
    if (Dialect::onServer()) {
        if (!Database::isOpen()) {
            *why = Database::isLostConnection(QSqlError()) ? Database::reportLostConnection({}, lostIn)
                                                           : QStringLiteral("no database is open");
            return nullptr;
        }
        auto query = std::make_unique<QSqlQuery>(Database::connection());
        query->setForwardOnly(true);
        if (!query->prepare(sql)) {
            const QSqlError error = query->lastError();
            *why = Database::isLostConnection(error)
                       ? Database::reportLostConnection(error.databaseText(), lostIn)
                       : error.text();
            return nullptr;
        }
        auto &kept = statements[sql];
        kept.reset(new KeptStatement(std::move(query)));
        return kept.get();
    }
    sqlite3 *db = openHandle();
    if (!db) {
        *why = QStringLiteral("no database is open");
        return nullptr;
    }
    // Qt's driver closes the connection as the process ends, after main(): by then no statement of
    // ours may be left, or SQLite refuses to close the connection.
    static const bool finalizedAtExit = (qAddPostRoutine(&KeptStatement::finalizeAll), true);
    Q_UNUSED(finalizedAtExit)
    sqlite3_stmt *statement = nullptr;
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v3(db, utf8.constData(), int(utf8.size()), SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
        SQLITE_OK) {
        *why = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        return nullptr;
    }
    auto &kept = statements[sql];
    kept.reset(new KeptStatement(statement));
    return kept.get();
}

QSqlQuery *KeptStatement::serverQuery(const QString &sql, QString *why) {
    if (!Dialect::onServer()) {
        *why = QStringLiteral("no server is open");
        return nullptr;
    }
    KeptStatement *statement = forText(sql, why, Database::LostIn::Write);
    return statement ? statement->m_query.get() : nullptr;
}

void KeptStatement::finalizeAll() { keptStatements().clear(); }

bool KeptStatement::outsideTransactions() {
    // A lost connection counts as open: statements on it fail and say so.
    if (Dialect::onServer())
        return Database::connection().isValid() && !serverTransactionOpen;
    sqlite3 *db = openHandle();
    return db && sqlite3_get_autocommit(db);
}

void KeptStatement::noteServerTransaction(bool open) { serverTransactionOpen = open; }

bool KeptStatement::dropForNewSession() {
    if (serverTransactionOpen)
        return false;
    finalizeAll();
    return true;
}

KeptStatement::KeptStatement(sqlite3_stmt *statement) : m_statement(statement) {}

KeptStatement::KeptStatement(std::unique_ptr<QSqlQuery> query) : m_query(std::move(query)) {}

KeptStatement::~KeptStatement() { sqlite3_finalize(m_statement); }

bool KeptStatement::firstRow(const QStringList &parameters) {
    m_lastError.clear();
    m_lastErrorCode = 0;
    if (m_query) {
        for (int i = 0; i < parameters.size(); ++i)
            m_query->bindValue(i, parameters.at(i));
        if (m_query->exec() && m_query->next())
            return true;
        const QSqlError error = m_query->lastError();
        if (Database::isLostConnection(error))
            m_lastError = Database::reportLostConnection(error.databaseText(), Database::LostIn::Read);
        else if (error.isValid())
            m_lastError = error.text();
        finish();
        return false;
    }
    sqlite3_reset(m_statement);
    for (int i = 0; i < parameters.size(); ++i) {
        const QByteArray value = parameters.at(i).toUtf8();
        sqlite3_bind_text(m_statement, i + 1, value.constData(), int(value.size()), SQLITE_TRANSIENT);
    }
    const int result = sqlite3_step(m_statement);
    if (result == SQLITE_ROW)
        return true;
    if (result != SQLITE_DONE) {
        m_lastErrorCode = sqlite3_extended_errcode(sqlite3_db_handle(m_statement));
        m_lastError = QString::fromUtf8(sqlite3_errmsg(sqlite3_db_handle(m_statement)));
    }
    finish();
    return false;
}

qint64 KeptStatement::integer(int column) const {
    return m_query ? m_query->value(column).toLongLong() : sqlite3_column_int64(m_statement, column);
}

QString KeptStatement::text(int column) const {
    if (m_query)
        return m_query->value(column).toString();
    const auto *utf8 = reinterpret_cast<const char *>(sqlite3_column_text(m_statement, column));
    return utf8 ? QString::fromUtf8(utf8, sqlite3_column_bytes(m_statement, column)) : QString();
}

void KeptStatement::finish() {
    if (m_query) {
        m_query->finish();
        return;
    }
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}
