#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QPointer>
#include <QStringList>

class DataSource;

// A read-only grid over the rows of a data source under its filter: one column per field, with
// the given captions. It holds only the pages of rows the grid has asked for, so a table of
// 100,000 examinees costs no more than the rows on screen. It is read again whenever the
// source's current row changes (open, re-read, filter, add, delete).
class DataSourceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    DataSourceModel(DataSource *source, const QStringList &fields, const QStringList &captions,
                    QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The rows read from the file and held now (what the grid has shown lately, a page at a time).
    int heldRows() const;

private:
    void reread();

    QPointer<DataSource> m_source;
    QStringList m_fields;
    QStringList m_captions;
    mutable QHash<int, QList<QStringList>> m_pages; // page number -> its rows
};
