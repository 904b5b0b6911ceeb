#pragma once

#include <QAbstractListModel>
#include <QPointer>
#include <QStringList>

class DataSource;

// A list of the values one field takes under a data source's filter, each once (Latin letters in
// any case count as one value), in text order: for the drop-down lists of names. It reads a page
// of values when made and the next page only when the list is scrolled to its end, so 100,000
// examinees cost no more than the values on screen. Read again from the start whenever the
// source's current row changes (open, re-read, filter, add, delete).
class DistinctValuesModel : public QAbstractListModel {
    Q_OBJECT
public:
    DistinctValuesModel(DataSource *source, const QString &field, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    void reread();

    QPointer<DataSource> m_source;
    QString m_field;
    QStringList m_values;
    bool m_complete = false;
};
