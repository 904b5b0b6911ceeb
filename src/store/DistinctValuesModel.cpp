#include "store/DistinctValuesModel.h"

#include "common/PersianOrder.h"
#include "store/DataSource.h"

DistinctValuesModel::DistinctValuesModel(DataSource *source, const QString &field, QObject *parent)
    : QAbstractListModel(parent), m_source(source), m_field(field) {
    if (source)
        connect(source, &DataSource::currentRowChanged, this, &DistinctValuesModel::reread);
    reread();
}

int DistinctValuesModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_values.size(); }

QVariant DistinctValuesModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= m_values.size() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    return m_values.at(index.row());
}

void DistinctValuesModel::reread() {
    beginResetModel();
    m_values = m_source ? m_source->distinctValues(m_field) : QStringList();
    PersianOrder::sort(m_values);
    endResetModel();
}
