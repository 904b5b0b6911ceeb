#include "examinees/StoredCodeDigits.h"

#include "common/AsciiDigits.h"
#include "store/Database.h"
#include "store/Transaction.h"

#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

namespace {
// Whether a code holds a digit other than an ASCII one: the codes that need folding.
QString nonAsciiDigitTest() {
    QStringList tests;
    for (const ushort first : {ushort(0x06F0), ushort(0x0660)})
        for (ushort digit = first; digit < first + 10; ++digit)
            tests << QStringLiteral("\"Code\" LIKE '%%1%'").arg(QChar(digit));
    return tests.join(QStringLiteral(" OR "));
}

// The codes held in either table, as look-ups compare them: the case of Latin letters aside.
QSet<QString> heldCodes(QSqlQuery &query) {
    QSet<QString> held;
    query.exec(QStringLiteral("SELECT \"Code\" FROM \"IDE\" UNION SELECT \"Code\" FROM \"Answer\""));
    while (query.next())
        held.insert(query.value(0).toString().toLower());
    return held;
}

QStringList codesToFold(QSqlQuery &query) {
    QStringList codes;
    query.exec(QStringLiteral("SELECT \"Code\" FROM \"IDE\" WHERE %1 UNION SELECT \"Code\" FROM \"Answer\" WHERE %1")
                   .arg(nonAsciiDigitTest()));
    while (query.next())
        codes << query.value(0).toString();
    return codes;
}

// The file remembers that its codes were folded (a new file is made so), so that later starts need
// not look through every code again: a restored older backup has not, and is looked through once.
int fileVersion(QSqlQuery &query) {
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next() ? query.value(0).toInt() : 0;
}

bool rewrite(QSqlQuery &query, const QString &table, const QString &from, const QString &to) {
    query.prepare(QStringLiteral("UPDATE \"%1\" SET \"Code\" = ? WHERE \"Code\" = ?").arg(table));
    query.addBindValue(to);
    query.addBindValue(from);
    return query.exec();
}
} // namespace

namespace StoredCodeDigits {
bool foldStoredCodes(QStringList *clashes, QString *error) {
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    if (fileVersion(query) >= Database::asciiCodesVersion)
        return true;
    const QStringList codes = codesToFold(query);
    QSet<QString> held = codes.isEmpty() ? QSet<QString>() : heldCodes(query);
    Transaction transaction;
    for (const QString &code : codes) {
        const QString folded = withAsciiDigits(code);
        if (held.contains(folded.toLower())) {
            if (clashes)
                *clashes << code;
            continue;
        }
        if (!rewrite(query, QStringLiteral("IDE"), code, folded) ||
            !rewrite(query, QStringLiteral("Answer"), code, folded)) {
            if (error)
                *error = query.lastError().text();
            return false;
        }
        held.insert(folded.toLower());
    }
    if (!query.exec(QStringLiteral("PRAGMA user_version = %1").arg(Database::asciiCodesVersion))) {
        if (error)
            *error = query.lastError().text();
        return false;
    }
    if (!transaction.commit()) {
        if (error)
            *error = transaction.lastError();
        return false;
    }
    return true;
}
} // namespace StoredCodeDigits
