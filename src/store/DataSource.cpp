#include "store/DataSource.h"

#include "store/Connection.h"
#include "store/Dialect.h"
#include "store/KeptStatement.h"
#include "store/Schema.h"
#include "store/StoreMessages.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

#include <functional>
#include <utility>

using Database::quoted;

namespace {
// The data sources whose count is still to be taken (one user-interface thread uses the store).
QList<const DataSource *> &pendingCounts() {
    static QList<const DataSource *> sources;
    return sources;
}
} // namespace

DataSource::DataSource(const QString &table, QObject *parent) : QObject(parent), m_table(table) { reread(); }

DataSource::~DataSource() { forgetPendingCount(); }

void DataSource::takePendingCounts() {
    const QList<const DataSource *> sources = std::exchange(pendingCounts(), {});
    for (const DataSource *source : sources)
        source->takeCount();
}

// A count of 100,000 rows reads the whole table: a write to the answer rows leaves the counts owed
// on the examinee rows alone, and the writing source's own count stays owed (its own writes are
// counted as they go into the table; see ownWriteCounted).
void DataSource::takePendingCounts(const QString &table, const DataSource *writer) {
    QList<const DataSource *> &pending = pendingCounts();
    for (qsizetype i = pending.size() - 1; i >= 0; --i) {
        if (pending.at(i)->m_table == table && pending.at(i) != writer)
            pending.takeAt(i)->takeCount();
    }
}

// A source's own new row or delete counts on top of its owed count until it is written; once
// written, the count when taken sees it in the table.
void DataSource::ownWriteCounted(int rowsAdded) {
    if (m_countPending)
        m_count -= rowsAdded;
}

QString DataSource::table() const { return m_table; }

void DataSource::refresh() {
    m_filterField.clear();
    m_filterValue.clear();
    m_filterMatchesNothing = false;
    reread();
    emit currentRowChanged();
}

void DataSource::setFilter(const QString &field, const QString &value) {
    loadFields();
    m_filterField = knownField(field);
    m_filterValue = value;
    m_filterMatchesNothing = m_filterField.isEmpty();
    reread();
    emit currentRowChanged();
}

DataSource::Filter DataSource::filter() const { return {m_filterField, m_filterValue, m_filterMatchesNothing}; }

int DataSource::recordCount() const {
    if (m_countPending) {
        forgetPendingCount();
        takeCount();
    }
    return m_count;
}

// Known without the count: the snapshot's first row is read at once, and added or deleted rows
// move the current row.
bool DataSource::noCurrentRow() const { return !m_hasRow; }

void DataSource::addNew() {
    if (!m_newRow)
        ++m_count;
    clearRow();
    m_hasRow = true;
    m_newRow = true;
    emit currentRowChanged();
}

bool DataSource::isNewRow() const { return m_newRow; }

QString DataSource::value(const QString &field) const {
    // Bound controls ask by the table's own spelling, at every row change: found without a look-up
    // of the name.
    const auto found = m_values.constFind(field);
    return found != m_values.cend() ? *found : m_values.value(knownField(field));
}

void DataSource::setValue(const QString &field, const QString &value) {
    const QString name = knownField(field);
    if (name.isEmpty())
        return;
    if (!m_hasRow) {
        qWarning("DataSource(%s): no current row to set %s on", qPrintable(m_table), qPrintable(name));
        return;
    }
    if (m_values.value(name) == value)
        return;
    m_values.insert(name, value);
    if (!m_changed.contains(name))
        m_changed << name;
    emit valueChanged(name, value);
}

bool DataSource::save() {
    m_duplicateCode = false;
    if (!m_hasRow) {
        m_lastError = StoreMessages::noCurrentRow(m_table);
        return false;
    }
    if (!m_newRow && m_changed.isEmpty())
        return true;
    takePendingCounts(m_table, this);
    QStringList quotedFields;
    for (const QString &name : std::as_const(m_changed))
        quotedFields << quoted(name);
    QString sql;
    if (m_newRow && m_changed.isEmpty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES%2").arg(quoted(m_table), Dialect::returningRowId());
    } else if (m_newRow) {
        const QStringList marks(quotedFields.size(), QStringLiteral("?"));
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)%4")
                  .arg(quoted(m_table), quotedFields.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")),
                       Dialect::returningRowId());
    } else {
        sql = QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 = ?")
                  .arg(quoted(m_table), quotedFields.join(QStringLiteral(" = ?, ")), Dialect::rowId());
    }
    QSqlQuery fresh(Database::connection());
    QSqlQuery *writing = writeQuery(sql, fresh);
    if (!writing)
        return false;
    QSqlQuery &query = *writing;
    int position = 0;
    for (const QString &name : std::as_const(m_changed))
        query.bindValue(position++, m_values.value(name));
    if (!m_newRow)
        query.bindValue(position, m_rowId);
    if (!query.exec()) {
        noteReadError(query, Database::LostIn::Write);
        m_duplicateCode = Dialect::isDuplicateCode(query.lastError());
        return false;
    }
    if (!m_newRow && query.numRowsAffected() == 0) {
        m_lastError = StoreMessages::rowGone(m_table);
        return false;
    }
    m_changed.clear();
    if (m_newRow) {
        ownWriteCounted(1);
        m_newRow = false;
        // The server hands the new row's number back from the INSERT itself.
        m_rowId = query.next() ? query.value(0).toLongLong() : query.lastInsertId().toLongLong();
        query.finish();
        // ID is the table's row number: the database has just filled it. Show it like any other
        // change of the row.
        const QString id = fieldName(Schema::id);
        if (!id.isEmpty() && m_values.value(id).isEmpty()) {
            m_values.insert(id, QString::number(m_rowId));
            emit valueChanged(id, m_values.value(id));
        }
    }
    return true;
}

// The query a write runs: on the server one kept prepared there for the connection's life (a
// statement prepared anew costs two more round trips at every run); on the file, fresh prepared.
// Null when the server could not prepare it, its error noted.
QSqlQuery *DataSource::writeQuery(const QString &sql, QSqlQuery &fresh) {
    if (!Dialect::onServer()) {
        fresh.prepare(sql);
        return &fresh;
    }
    QString why;
    QSqlQuery *kept = KeptStatement::serverQuery(sql, &why);
    if (!kept)
        noteReadError(why);
    return kept;
}

bool DataSource::deleteCurrent() {
    if (!m_hasRow) {
        m_lastError = StoreMessages::noCurrentRow(m_table);
        return false;
    }
    if (!m_newRow) {
        takePendingCounts(m_table, this);
        QSqlQuery fresh(Database::connection());
        QSqlQuery *query =
            writeQuery(QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(quoted(m_table), Dialect::rowId()), fresh);
        if (!query)
            return false;
        query->bindValue(0, m_rowId);
        if (!query->exec()) {
            noteReadError(*query, Database::LostIn::Write);
            return false;
        }
        ownWriteCounted(-1);
    }
    --m_count;
    // Stand on the row after the deleted one, or else on the one before it.
    const qint64 deleted = m_rowId;
    const bool wasNew = m_newRow;
    m_newRow = false;
    if (wasNew)
        loadRow(QString(), 0, false);
    else if (!loadRow(Dialect::rowId() + QStringLiteral(" > ?"), deleted, false))
        loadRow(Dialect::rowId() + QStringLiteral(" < ?"), deleted, true);
    emit currentRowChanged();
    return true;
}

QString DataSource::lastError() const { return m_lastError; }

QStringList DataSource::unsavedFields() const { return m_changed; }

void DataSource::markUnsaved(const QStringList &fields) {
    for (const QString &field : fields) {
        const QString name = knownField(field);
        if (!name.isEmpty() && m_hasRow && !m_changed.contains(name))
            m_changed << name;
    }
}

QString DataSource::fieldName(const QString &field) const { return m_fieldByLower.value(field.toLower()); }

QStringList DataSource::fieldValues(const QString &field, bool distinct) const {
    const QString name = knownField(field);
    if (name.isEmpty() || m_filterMatchesNothing)
        return {};
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    const QString column = distinct ? Dialect::byCodePoints(quoted(name)) : quoted(name);
    query.prepare(QStringLiteral("SELECT %1%2 FROM %3%4 ORDER BY %5")
                      .arg(distinct ? QStringLiteral("DISTINCT ") : QString(), column, quoted(m_table), filterSql(),
                           distinct ? column : Dialect::rowId()));
    bindFilter(query);
    return firstColumn(query);
}

QList<QStringList> DataSource::rows(const QStringList &fields, int offset, int limit) const {
    QList<QStringList> result;
    QStringList columns;
    for (const QString &field : fields) {
        const QString name = knownField(field);
        columns << (name.isEmpty() ? QStringLiteral("NULL") : quoted(name));
    }
    if (columns.isEmpty() || m_filterMatchesNothing)
        return result;
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4 LIMIT ? OFFSET ?")
                      .arg(columns.join(QStringLiteral(", ")), quoted(m_table), filterSql(), Dialect::rowId()));
    bindFilter(query);
    query.addBindValue(limit);
    query.addBindValue(offset);
    if (query.exec()) {
        while (query.next()) {
            QStringList row;
            for (int i = 0; i < columns.size(); ++i)
                row << query.value(i).toString();
            result << row;
        }
    }
    noteReadError(query);
    return result;
}

QStringList DataSource::distinctValues(const QString &field) const {
    const QString name = knownField(field);
    if (name.isEmpty() || m_filterMatchesNothing)
        return {};
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    query.prepare(Dialect::distinctValuesStatement(quoted(m_table), quoted(name),
                                                   m_filterField.isEmpty() ? QString() : filterCondition()));
    bindFilter(query);
    return firstColumn(query);
}

// Runs the prepared query and reads its first column (nothing when the read fails, its error noted).
QStringList DataSource::firstColumn(QSqlQuery &query) const {
    QStringList values;
    if (query.exec()) {
        while (query.next())
            values << query.value(0).toString();
    }
    noteReadError(query);
    return values;
}

QString DataSource::filterSql() const {
    // Look-ups ignore the case of Latin letters ("c1" is the examinee "C1"), as stored files expect;
    // the indexes are made with the same collation, so the look-up stays indexed.
    return m_filterField.isEmpty() ? QString() : QStringLiteral(" WHERE ") + filterCondition();
}

QString DataSource::filterCondition() const { return Dialect::equalsIgnoringCase(quoted(m_filterField)); }

void DataSource::bindFilter(QSqlQuery &query) const {
    if (!m_filterField.isEmpty())
        query.addBindValue(m_filterValue);
}

// Maps a field name given in any case to the table's own spelling. A name the table does not
// have is a mistake in the calling window: loud in debug builds, matching nothing otherwise.
QString DataSource::knownField(const QString &field) const {
    const QString name = fieldName(field);
    if (name.isEmpty() && !field.isEmpty() && !m_fields.isEmpty()) {
        qCritical("DataSource(%s): the table has no field %s", qPrintable(m_table), qPrintable(field));
        Q_ASSERT_X(false, "DataSource", "unknown field name");
    }
    return name;
}

// Takes the snapshot: the first row, by row order, and the count of the rows under the filter.
// A filter is a look-up whose count is asked for at once: counted now, with the row. The whole
// table's count is taken when first asked for or before the next write, whichever comes first
// (most windows' sources never need it); no first row (and no failed read) means no rows: nothing
// to count.
void DataSource::reread() {
    loadFields();
    m_newRow = false;
    m_count = 0;
    forgetPendingCount();
    clearRow();
    if (m_filterMatchesNothing || m_fields.isEmpty())
        return;
    if (!m_filterField.isEmpty()) {
        lookUp();
        return;
    }
    bool readFailed = false;
    if (loadRow(QString(), 0, false, &readFailed) || readFailed)
        owePendingCount();
}

void DataSource::owePendingCount() {
    m_countPending = true;
    pendingCounts().append(this);
}

void DataSource::forgetPendingCount() const {
    if (!m_countPending)
        return;
    m_countPending = false;
    pendingCounts().removeOne(this);
}

// Takes a count owed to the snapshot, before anything could have changed the rows since. The
// source is already out of the pending list.
void DataSource::takeCount() const {
    m_countPending = false;
    m_count += countRows();
}

// The filter's look-up, repeated at every selection of an examinee: the count of the matches and
// the first of them in one statement kept compiled, so one read of the file. No row comes back
// when none match.
void DataSource::lookUp() {
    if (m_lookUpField != m_filterField) {
        m_lookUpSql =
            Dialect::lookUpStatement(quoted(m_table), quoted(m_filterField), m_columns, &m_lookUpParameterUses);
        m_lookUpField = m_filterField;
    }
    QString why;
    KeptStatement *statement = KeptStatement::forText(m_lookUpSql, &why);
    if (!statement) {
        noteReadError(why);
        return;
    }
    if (!statement->firstRow(QStringList(m_lookUpParameterUses, m_filterValue))) {
        noteReadError(statement->lastError(), statement->lastErrorCode());
        return;
    }
    m_count = int(statement->integer(0));
    takeRow(statement->integer(1), [statement](int field) { return statement->text(2 + field); });
    statement->finish();
}

// The rows under the filter as the file holds them now (0 when the read fails, its error noted).
int DataSource::countRows() const {
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(quoted(m_table), filterSql()));
    bindFilter(query);
    const int rows = query.exec() && query.next() ? query.value(0).toInt() : 0;
    noteReadError(query);
    return rows;
}

// The table's fields, read once the database is open (it may be opened after this source).
void DataSource::loadFields() {
    if (!m_fields.isEmpty())
        return;
    const QSqlRecord record = Database::connection().record(Dialect::recordName(m_table));
    // A table without fields is a read that failed, never an empty table: on a lost connection, say so.
    if (record.isEmpty() && Database::isLostConnection(QSqlError()))
        noteReadError(Database::reportLostConnection({}, Database::LostIn::Read));
    QStringList columns{Dialect::rowId()};
    for (int i = 0; i < record.count(); ++i) {
        m_fields << record.fieldName(i);
        m_fieldByLower.insert(record.fieldName(i).toLower(), record.fieldName(i));
        columns << quoted(record.fieldName(i));
    }
    m_columns = columns.join(QStringLiteral(", "));
}

// Stands on the first row under the filter that meets the condition (with one row-id parameter),
// in row order or reversed; no current row when none does (readFailed tells a failed read).
bool DataSource::loadRow(const QString &condition, qint64 rowId, bool descending, bool *readFailed) {
    clearRow();
    QStringList where;
    if (!m_filterField.isEmpty())
        where << filterCondition();
    if (!condition.isEmpty())
        where << condition;
    QSqlQuery query(Database::connection());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT %1 FROM %2%3 ORDER BY %4%5 LIMIT 1")
            .arg(m_columns, quoted(m_table),
                 where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND ")),
                 Dialect::rowId(), descending ? QStringLiteral(" DESC") : QString()));
    bindFilter(query);
    if (!condition.isEmpty())
        query.addBindValue(rowId);
    if (!query.exec() || !query.next()) {
        const bool failed = noteReadError(query);
        if (readFailed)
            *readFailed = failed;
        return false;
    }
    takeRow(query.value(0).toLongLong(), [&query](int field) { return query.value(1 + field).toString(); });
    return true;
}

// Makes a row current: its row id, and its fields in table order, the field with index i read by
// fieldText(i).
void DataSource::takeRow(qint64 rowId, const std::function<QString(int)> &fieldText) {
    m_hasRow = true;
    m_rowId = rowId;
    for (int i = 0; i < m_fields.size(); ++i)
        m_values.insert(m_fields.at(i), fieldText(i));
}

// A read (or write) the database could not finish (a damaged page, a file taken away) must not
// pass for an empty table: it is kept for lastError() and logged, and damage is reported to the
// database's listener, which tells the user. True when the read failed.
bool DataSource::noteReadError(const QSqlQuery &query, Database::LostIn lostIn) const {
    const QSqlError error = query.lastError();
    // A statement on a lost connection may fail without an error of its own.
    if ((error.isValid() || !query.isActive()) && Database::isLostConnection(error))
        return noteReadError(Database::reportLostConnection(error.databaseText(), lostIn));
    return error.isValid() && noteReadError(error.text(), error.nativeErrorCode().toInt());
}

bool DataSource::noteReadError(const QString &error, int sqliteCode) const {
    if (error.isEmpty())
        return false;
    m_lastError = error;
    qWarning("DataSource(%s): %s", qPrintable(m_table), qPrintable(m_lastError));
    if (Database::isDamage(sqliteCode))
        Database::reportDamage(error);
    return true;
}

void DataSource::clearRow() {
    m_hasRow = false;
    m_rowId = 0;
    // The fields stay, emptied: the next row's values take their places without new ones made.
    for (QString &value : m_values)
        value = QString();
    m_changed.clear();
}
