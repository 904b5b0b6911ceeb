#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

// A data source stands on one table of the database and on one current row of it, the way a
// window sees its data: open (at construction), re-read, filter on one field, count, add,
// set field, save, delete. To its callers it is a snapshot: rows stored through another data
// source appear here only after a re-read. Counting and filtering are the database's work;
// only the current row is held in memory.
class DataSource : public QObject {
    Q_OBJECT
public:
    explicit DataSource(const QString &table, QObject *parent = nullptr);

    QString table() const;

    // Opens the table anew: drops the filter, an unsaved new row and unsaved changes, and
    // stands on the first row.
    void refresh();
    // Narrows the rows to those whose field equals the value (compared as text) and stands
    // on the first match. Field names compare without regard to case.
    void setFilter(const QString &field, const QString &value);
    // Rows under the filter, an added row not yet saved included.
    int recordCount() const;
    // True when there is no current row (an empty table, or a filter that matched nothing).
    bool noCurrentRow() const;

    // Appends an empty row and makes it current.
    void addNew();
    bool isNewRow() const;
    QString value(const QString &field) const;
    void setValue(const QString &field, const QString &value);
    // Stores the current row's changes (a new row is inserted). False with lastError() on failure.
    bool save();
    // Removes the current row from the file.
    bool deleteCurrent();
    QString lastError() const;

signals:
    // The current row is another one (open, re-read, filter, add, delete): bound controls reload.
    void currentRowChanged();
    // One field of the current row changed through setValue.
    void valueChanged(const QString &field, const QString &value);

private:
    QString m_table;
};
