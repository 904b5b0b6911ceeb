#include "store/DistinctValuesModel.h"

#include "store/DataSource.h"

namespace {
constexpr int PageValues = 200;
}

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

bool DistinctValuesModel::canFetchMore(const QModelIndex &parent) const { return !parent.isValid() && !m_complete; }

void DistinctValuesModel::fetchMore(const QModelIndex &parent) {
    if (!canFetchMore(parent))
        return;
    // Each page starts after the last value held: a walk along the field's index, not an offset
    // counted again from the first value.
    const QStringList page =
        m_source ? m_source->distinctValues(m_field, m_values.isEmpty() ? QString() : m_values.constLast(), PageValues)
                 : QStringList();
    m_complete = page.size() < PageValues;
    if (page.isEmpty())
        return;
    beginInsertRows({}, int(m_values.size()), int(m_values.size() + page.size() - 1));
    m_values += page;
    endInsertRows();
}

void DistinctValuesModel::reread() {
    beginResetModel();
    m_values.clear();
    m_complete = false;
    endResetModel();
    fetchMore({});
}
