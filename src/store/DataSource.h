#pragma once

#include "store/Connection.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QSqlQuery;

// A data source stands on one table of the database and on one current row of it, the way a
// window sees its data: open (at construction), re-read, filter on one field, count, add,
// set field, save, delete. To its callers it is a snapshot: rows stored through another data
// source appear here only after a re-read. Counting and filtering are the database's work;
// only the current row is held in memory. The count of the whole table is taken when first asked
// for, or before the next write to the file, whichever comes first; so it is still the count of
// the snapshot.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(const QString &table, QObject *parent = nullptr);
    ~DataSource() override;

    // Takes now every count still owed to a snapshot. Whatever changes rows of the file (or
    // replaces it) calls this first: data sources before their saves and deletes (the counts on
    // their own table only), a transaction before its rollback, the database before it closes.
    static void takePendingCounts();
    static void takePendingCounts(const QString &table, const DataSource *writer);

    QString table() const;

    // Opens the table anew: drops the filter, an unsaved new row and unsaved changes, and
    // stands on the first row.
    void refresh();
    // Narrows the rows to those whose field equals the value (compared as text, without regard to
    // the case of Latin letters) and stands
    // on the first match. Field names compare without regard to case. Unsaved changes and an
    // unsaved new row are dropped.
    void setFilter(const QString &field, const QString &value);
    // The filter as it stands: the field as the table spells it (empty: no filter) and the value;
    // a field the table does not have matches nothing. For readers that go through the same rows
    // with a statement of their own (an export).
    struct Filter {
        QString field;
        QString value;
        bool matchesNothing = false;
    };
    Filter filter() const;
    // Rows under the filter, an added row not yet saved included.
    int recordCount() const;
    // True when there is no current row (an empty table, or a filter that matched nothing).
    bool noCurrentRow() const;

    // Appends an empty row and makes it current (an earlier unsaved new row is dropped).
    void addNew();
    bool isNewRow() const;
    QString value(const QString &field) const;
    void setValue(const QString &field, const QString &value);
    // Stores the current row's changes (a new row is inserted). False with lastError() on failure.
    // A read the database could not finish (a damaged page) also leaves its error in lastError().
    bool save();
    // Removes the current row from the file.
    bool deleteCurrent();
    QString lastError() const;
    // The fields changed since the row was read or last saved.
    QStringList unsavedFields() const;
    // Counts the fields as changed again, to be stored at the next save: their stored change was
    // taken back by a rollback that the row could not be read again after (the server's connection lost).
    void markUnsaved(const QStringList &fields);
    // Whether the last save was refused because another row holds the same code.
    bool lastSaveWasDuplicateCode() const { return m_duplicateCode; }

    // The real name of a field (as the table spells it); empty when the table has no such field.
    QString fieldName(const QString &field) const;
    // The values of one field over the rows under the filter, as the file holds them now (for
    // lists): one per row in row order, or each value once in text order. An unsaved new row is
    // not among them.
    QStringList fieldValues(const QString &field, bool distinct = false) const;
    // Up to limit rows under the filter from the offset-th on, in row order, as the file holds
    // them now: the values of the given fields (for a grid).
    QList<QStringList> rows(const QStringList &fields, int offset, int limit) const;
    // The values of one field under the filter, as the file holds them now, in no promised order
    // (for lists that order them their own way): a value shared by several rows, also in other
    // cases of Latin letters, comes once, in the spelling that sorts first. Empty values are left out.
    QStringList distinctValues(const QString &field) const;

signals:
    // The current row is another one (open, re-read, filter, add, delete): bound controls reload.
    void currentRowChanged();
    // One field of the current row changed (setValue, or the identifier given by the database
    // when a new row is saved). The field is named as the table spells it.
    void valueChanged(const QString &field, const QString &value);

private:
    QString filterSql() const;
    QString filterCondition() const;
    void bindFilter(QSqlQuery &query) const;
    QString knownField(const QString &field) const;
    QSqlQuery *writeQuery(const QString &sql, QSqlQuery &fresh);
    void loadFields();
    void reread();
    void lookUp();
    void takeRow(qint64 rowId, const std::function<QString(int)> &fieldText);
    QStringList firstColumn(QSqlQuery &query) const;
    bool loadRow(const QString &condition, qint64 rowId, bool descending, bool *readFailed = nullptr);
    void clearRow();
    bool noteReadError(const QSqlQuery &query, Database::LostIn lostIn = Database::LostIn::Read) const;
    bool noteReadError(const QString &error, int sqliteCode = 0) const;
    void owePendingCount();
    void forgetPendingCount() const;
    void takeCount() const;
    void ownWriteCounted(int rowsAdded);
    int countRows() const;

    QString m_table;
    QStringList m_fields;                   // as the table spells them, in table order
    QHash<QString, QString> m_fieldByLower; // lower-case name -> real name
    QString m_columns;                      // the row id and the fields, quoted, for reading rows
    QString m_filterField;                  // empty: no filter
    QString m_filterValue;
    QString m_lookUpSql; // the filter's look-up, made for the filter field m_lookUpField
    QString m_lookUpField;
    int m_lookUpParameterUses = 0;       // how many times it takes the filter's value
    bool m_filterMatchesNothing = false; // a filter on a field the table does not have
    // The rows of the snapshot; while the count is pending, only the rows this source added or
    // deleted since (the count, when taken, is added to it).
    mutable int m_count = 0;
    mutable bool m_countPending = false;
    bool m_hasRow = false;
    bool m_newRow = false;
    qint64 m_rowId = 0;
    QHash<QString, QString> m_values;
    QStringList m_changed;
    mutable QString m_lastError; // also set by reads that fail
    bool m_duplicateCode = false;
};
