#include "store/Transaction.h"

#include "store/Connection.h"
#include "store/DataSource.h"
#include "store/Dialect.h"
#include "store/KeptStatement.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
int depth = 0; // open transactions of the program's one connection (one user-interface thread)
}

// On the SQLite file a savepoint outside a transaction begins one. On a server the outermost
// transaction is the server's own, begun here unless a read snapshot already holds one: a savepoint
// inside it would cost two more round trips to the server at every registration.
Transaction::Transaction() : m_savepoint(QStringLiteral("kelto_%1").arg(depth + 1)) {
    m_began = Dialect::onServer() && KeptStatement::outsideTransactions();
    m_active = run(m_began ? QStringLiteral("BEGIN") : QStringLiteral("SAVEPOINT ") + m_savepoint);
    if (!m_active) {
        m_began = false;
        return;
    }
    ++depth;
    if (m_began)
        KeptStatement::noteServerTransaction(true);
}

Transaction::~Transaction() { rollback(); }

bool Transaction::isActive() const { return m_active; }

bool Transaction::commit() {
    if (!m_active) {
        if (m_lastError.isEmpty())
            m_lastError = QStringLiteral("no transaction");
        return false;
    }
    if (!m_began && !run(QStringLiteral("RELEASE ") + m_savepoint))
        return false;
    m_active = false;
    --depth;
    return endServerTransaction(QStringLiteral("COMMIT"));
}

void Transaction::rollback() {
    if (!m_active)
        return;
    // The rollback takes rows away (or brings them back): snapshots still owed their count take
    // it first. SAVEPOINT and RELEASE leave the rows as this connection sees them.
    DataSource::takePendingCounts();
    // ROLLBACK TO keeps the savepoint open; RELEASE then ends it.
    if (!m_began) {
        run(QStringLiteral("ROLLBACK TO ") + m_savepoint);
        run(QStringLiteral("RELEASE ") + m_savepoint);
    }
    m_active = false;
    --depth;
    endServerTransaction(QStringLiteral("ROLLBACK"));
}

// The transaction counts as open until its end has run: on a lost connection the COMMIT must fail,
// never run on a session made anew (where it would pass, having nothing to commit).
bool Transaction::endServerTransaction(const QString &statement) {
    if (!m_began)
        return true;
    m_began = false;
    const bool ended = run(statement);
    if (!ended)
        run(QStringLiteral("ROLLBACK")); // a COMMIT refused by the server leaves nothing written
    KeptStatement::noteServerTransaction(false);
    return ended;
}

QString Transaction::lastError() const { return m_lastError; }

bool Transaction::run(const QString &statement) {
    QSqlQuery query(Database::connection());
    if (query.exec(statement))
        return true;
    // A write's failure is shown by its window; once the connection is lost, the first reason stays.
    const QSqlError error = query.lastError();
    if (Database::isLostConnection(error)) {
        const QString message = Database::reportLostConnection(error.databaseText(), Database::LostIn::Write);
        if (m_lastError.isEmpty())
            m_lastError = message;
    } else {
        m_lastError = error.text();
    }
    return false;
}
