#include "store/ReadSnapshot.h"

#include "store/KeptStatement.h"

#include <QString>

namespace {
bool run(const QString &sql) {
    QString why;
    KeptStatement *statement = KeptStatement::forText(sql, &why);
    if (!statement) {
        qWarning("ReadSnapshot: %s", qPrintable(why));
        return false;
    }
    statement->firstRow({});
    statement->finish();
    if (!statement->lastError().isEmpty())
        qWarning("ReadSnapshot: %s", qPrintable(statement->lastError()));
    return statement->lastError().isEmpty();
}
} // namespace

ReadSnapshot::ReadSnapshot() {
    if (KeptStatement::outsideTransactions())
        m_begun = run(QStringLiteral("BEGIN"));
}

ReadSnapshot::~ReadSnapshot() { end(); }

void ReadSnapshot::end() {
    if (m_begun)
        run(QStringLiteral("COMMIT"));
    m_begun = false;
}
