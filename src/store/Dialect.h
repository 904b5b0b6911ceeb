#pragma once

#include <QString>
#include <QStringList>

class QSqlError;

// The SQL that differs between the two engines the store runs on, in one place: the SQLite file
// (the default) and a PostgreSQL server (a clinic's shared register). Every function answers for
// the engine of the open connection.
namespace Dialect {
enum class Engine { SqliteFile, PostgresServer };
// The engine of the connection being opened or open; set by Database as it opens one.
Engine engine();
void setEngine(Engine engine);
inline bool onServer() { return engine() == Engine::PostgresServer; }

// The column that numbers a table's rows in the order they were added: SQLite's rowid; on the
// server every table's "ID".
QString rowId();
// The name QSqlDatabase::record() takes for a table: the server's driver folds a bare name to
// lower case, so it is given quoted there.
QString recordName(const QString &table);
// The look-up of the rows whose field equals one value (equalsIgnoringCase): their count and the
// first of them in row order, the given columns after the count, in one statement; no row when none
// match. parameterUses says how many times the statement takes the value. On the server a code's
// rows (at most one, under its unique index) are counted along the one walk that finds them.
QString lookUpStatement(const QString &quotedTable, const QString &quotedField, const QString &columns,
                        int *parameterUses);
// A field equal to one bound text without regard to the case of Latin letters, along the index
// made for it: COLLATE NOCASE on SQLite, lower() on both sides on the server; there a code's
// Persian and Arabic-Indic digits count as the ASCII digits they are, as its unique index has them.
QString equalsIgnoringCase(const QString &quotedField);
// The same for a field of another table in a join (the answer row of an examinee).
QString sameIgnoringCase(const QString &quotedField, const QString &quotedOther);
// A text field compared by its code points, as the SQLite file compares texts: on the server, whose
// database may order texts by a locale of its own (a clinic's created under Persian or English
// rules), so that both engines give one text order. Name lists are put in Persian order by the
// program itself (common/PersianOrder).
QString byCodePoints(const QString &quotedField);
// The statement that gives each non-empty value of a text field once (Latin case aside), in the
// spelling that sorts first by code points, over the rows meeting the condition (empty: every row),
// whose parameters it keeps. Along the field's index: on the server, without a condition, a walk
// from one value to the next rather than through every row.
QString distinctValuesStatement(const QString &quotedTable, const QString &quotedField, const QString &condition);
// Whether a write was refused because another row holds the same code (the server's unique index
// on the lowered code; two workstations registering one code at the same moment).
bool isDuplicateCode(const QSqlError &error);
// What follows an INSERT so that it hands back the new row's number (empty: the driver's
// lastInsertId gives it).
QString returningRowId();

// The type of a table's automatic row number "ID", in CREATE TABLE. These two answer for the engine
// given: a backup of a register on a server is an SQLite file, made while the server is open.
QString idColumnType(Engine engine);
// Makes an index on one field for look-ups without regard to the case of Latin letters; unique on
// the server, where two workstations may register the same code at once.
QString indexStatement(Engine engine, const QString &quotedName, const QString &quotedTable, const QString &quotedField,
                       bool unique);
// On the server: whether an index as the server describes it (pg_indexes.indexdef) is the one
// indexStatement makes for the field now. An earlier version made the code's without folding digits
// and the others on the lowered field alone.
bool isCurrentIndex(const QString &indexDefinition, const QString &quotedField);
} // namespace Dialect
