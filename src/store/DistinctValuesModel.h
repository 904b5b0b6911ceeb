#pragma once

#include <QAbstractListModel>
#include <QPointer>
#include <QStringList>

class DataSource;

// A list of the values one field takes under a data source's filter, each once (Latin letters in
// any case count as one value), in Persian alphabetical order: for the drop-down lists of names.
// It holds every value, so that typing in the list finds a name among all of them; the file is
// read along the field's index and the order is made here, so the database needs no collation of
// the program's own. Read again whenever the source's current row changes (open, re-read, filter,
// add, delete).
class DistinctValuesModel : public QAbstractListModel {
    Q_OBJECT
public:
    DistinctValuesModel(DataSource *source, const QString &field, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    void reread();

    QPointer<DataSource> m_source;
    QString m_field;
    QStringList m_values;
};
