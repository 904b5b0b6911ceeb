#include "store/ReadSnapshot.h"

#include "store/Connection.h"
#include "store/Dialect.h"
#include "store/KeptStatement.h"

#include <QSqlError>
#include <QSqlQuery>

#include <QString>

namespace {
bool run(const QString &sql) {
    QString why;
    if (Dialect::onServer()) {
        QSqlQuery query(Database::connection());
        if (!query.exec(sql)) {
            const QSqlError error = query.lastError();
            why = Database::isLostConnection(error)
                      ? Database::reportLostConnection(error.databaseText(), Database::LostIn::Read)
                      : error.text();
        }
    } else if (KeptStatement *statement = KeptStatement::forText(sql, &why)) {
        statement->firstRow({}); // no row: the statement is done
        why = statement->lastError();
    }
    if (!why.isEmpty())
        qWarning("ReadSnapshot: %s", qPrintable(why));
    return why.isEmpty();
}
} // namespace

ReadSnapshot::ReadSnapshot() {
    // On a server a snapshot is a repeatable-read transaction: what others commit meanwhile is not seen.
    if (KeptStatement::outsideTransactions())
        m_begun = run(Dialect::onServer() ? QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ")
                                          : QStringLiteral("BEGIN"));
    if (m_begun && Dialect::onServer())
        KeptStatement::noteServerTransaction(true);
}

ReadSnapshot::~ReadSnapshot() { end(); }

void ReadSnapshot::end() {
    if (m_begun)
        run(QStringLiteral("COMMIT"));
    if (m_begun && Dialect::onServer())
        KeptStatement::noteServerTransaction(false);
    m_begun = false;
}
