#include "store/ReadSnapshot.h"

#include "store/KeptStatement.h"

#include <QString>

namespace {
bool run(const QString &sql) {
    QString why;
    if (KeptStatement *statement = KeptStatement::forText(sql, &why)) {
        statement->firstRow({}); // no row: the statement is done
        why = statement->lastError();
    }
    if (!why.isEmpty())
        qWarning("ReadSnapshot: %s", qPrintable(why));
    return why.isEmpty();
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
