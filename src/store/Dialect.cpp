#include "store/Dialect.h"

#include "store/Connection.h"
#include "store/Schema.h"

#include <QSqlError>

namespace {
Dialect::Engine current = Dialect::Engine::SqliteFile;

// Codes are kept with ASCII digits (the SQLite file's are folded as it opens); on the server the
// unique index itself folds Persian and Arabic-Indic digits, so that a code written with either and
// the same code in ASCII digits are one code even when two workstations save them at the same
// moment. The field is the codes' field, however qualified ("Code", e."Code").
bool isCodeField(const QString &quotedField) { return quotedField.endsWith(Database::quoted(Schema::code)); }

// translate()'s two lists: the twenty other digits, and the ASCII digit each one is.
QString digitLists() {
    QString others, ascii;
    for (const char16_t zero : {u'\u06F0', u'\u0660'}) {
        for (char16_t digit = 0; digit < 10; ++digit) {
            others += QChar(char16_t(zero + digit));
            ascii += QChar(char16_t(u'0' + digit));
        }
    }
    return QStringLiteral("'%1', '%2'").arg(others, ascii);
}

// What the server compares, and what its look-up indexes hold: the text lowered, and for a code its
// digits as ASCII ones. Both are IMMUTABLE, as an index requires.
QString serverKey(const QString &expression, bool code) {
    static const QString digits = digitLists();
    return code ? QStringLiteral("lower(translate(%1, %2))").arg(expression, digits)
                : QStringLiteral("lower(%1)").arg(expression);
}
} // namespace

namespace Dialect {
Engine engine() { return current; }

void setEngine(Engine engine) { current = engine; }

QString rowId() { return onServer() ? QStringLiteral("\"ID\"") : QStringLiteral("rowid"); }

QString recordName(const QString &table) { return onServer() ? QLatin1Char('"') + table + QLatin1Char('"') : table; }

QString equalsIgnoringCase(const QString &quotedField) {
    // The cast lets numbers (an item's ID) be looked up as text; on a text field it is no cast at
    // all, and the index on lower() serves.
    if (!onServer())
        return QStringLiteral("%1 = ? COLLATE NOCASE").arg(quotedField);
    const bool code = isCodeField(quotedField);
    return serverKey(QStringLiteral("CAST(%1 AS text)").arg(quotedField), code) + QStringLiteral(" = ") +
           serverKey(QStringLiteral("CAST(? AS text)"), code);
}

QString lookUpStatement(const QString &quotedTable, const QString &quotedField, const QString &columns,
                        int *parameterUses) {
    const QString condition = equalsIgnoringCase(quotedField);
    if (onServer() && isCodeField(quotedField)) {
        *parameterUses = 1;
        return QStringLiteral("SELECT count(*) OVER (), %1 FROM %2 WHERE %3 ORDER BY %4 LIMIT 1")
            .arg(columns, quotedTable, condition, rowId());
    }
    *parameterUses = 2;
    return QStringLiteral("SELECT (SELECT COUNT(*) FROM %1 WHERE %2), %3 FROM %1 WHERE %2 ORDER BY %4 LIMIT 1")
        .arg(quotedTable, condition, columns, rowId());
}

QString sameIgnoringCase(const QString &quotedField, const QString &quotedOther) {
    if (!onServer())
        return QStringLiteral("%1 = %2 COLLATE NOCASE").arg(quotedField, quotedOther);
    const bool code = isCodeField(quotedField);
    return serverKey(quotedField, code) + QStringLiteral(" = ") + serverKey(quotedOther, code);
}

QString byCodePoints(const QString &quotedField) {
    return onServer() ? quotedField + QStringLiteral(" COLLATE \"C\"") : quotedField;
}

QString distinctValuesStatement(const QString &quotedTable, const QString &quotedField, const QString &condition) {
    const QString andCondition = condition.isEmpty() ? QString() : QStringLiteral(" AND ") + condition;
    if (!onServer())
        return QStringLiteral("SELECT MIN(%1) FROM %2 WHERE %1 > '' COLLATE NOCASE%3 GROUP BY %1 COLLATE NOCASE")
            .arg(quotedField, quotedTable, andCondition);
    const QString key = serverKey(quotedField, isCodeField(quotedField));
    const QString spelling = byCodePoints(quotedField);
    if (!condition.isEmpty())
        return QStringLiteral("SELECT MIN(%1) FROM %2 WHERE %3 > ''%4 GROUP BY %5")
            .arg(spelling, quotedTable, quotedField, andCondition, key);
    // The index holds the lowered value and then the spelling: its first entry after the last value
    // found is the next value, in the spelling that sorts first. A few hundred names cost as many
    // steps, however many rows hold them.
    return QStringLiteral("WITH RECURSIVE found(k, v) AS ("
                          "(SELECT %1, %2 FROM %3 WHERE %4 > '' ORDER BY 1, 2 LIMIT 1) UNION ALL "
                          "SELECT n.k, n.v FROM found CROSS JOIN LATERAL (SELECT %1 AS k, %2 AS v FROM %3 "
                          "WHERE %1 > found.k AND %4 > '' ORDER BY 1, 2 LIMIT 1) n) SELECT v FROM found")
        .arg(key, spelling, quotedTable, quotedField);
}

bool isDuplicateCode(const QSqlError &error) {
    // PostgreSQL's SQLSTATE unique_violation; the SQLite file has no unique index.
    return onServer() && error.nativeErrorCode() == QLatin1String("23505");
}

QString returningRowId() { return onServer() ? QStringLiteral(" RETURNING \"ID\"") : QString(); }

QString idColumnType(Engine engine) {
    return engine == Engine::PostgresServer ? QStringLiteral("bigint GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY")
                                            : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
}

QString indexStatement(Engine engine, const QString &quotedName, const QString &quotedTable, const QString &quotedField,
                       bool unique) {
    if (engine == Engine::SqliteFile)
        return QStringLiteral("CREATE INDEX %1 ON %2 (%3 COLLATE NOCASE)").arg(quotedName, quotedTable, quotedField);
    // The index of any field but the code also holds the spelling, for the field's list of values.
    const bool code = isCodeField(quotedField);
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(unique ? QStringLiteral("UNIQUE ") : QString(), quotedName, quotedTable,
             code ? serverKey(quotedField, true)
                  : serverKey(quotedField, false) + QStringLiteral(", ") + byCodePoints(quotedField));
}

bool isCurrentIndex(const QString &indexDefinition, const QString &quotedField) {
    return indexDefinition.contains(isCodeField(quotedField) ? QLatin1String("translate(")
                                                             : QLatin1String("COLLATE \"C\""));
}
} // namespace Dialect
