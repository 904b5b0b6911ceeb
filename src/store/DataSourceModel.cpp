#include "store/DataSourceModel.h"

#include "store/DataSource.h"

namespace {
constexpr int PageRows = 256;
constexpr int KeptPages = 64; // beyond that the pages are read again as the grid needs them
} // namespace

DataSourceModel::DataSourceModel(DataSource *source, const QStringList &fields, const QStringList &captions,
                                 QObject *parent)
    : QAbstractTableModel(parent), m_source(source), m_fields(fields), m_captions(captions) {
    if (source)
        connect(source, &DataSource::currentRowChanged, this, &DataSourceModel::reread);
}

int DataSourceModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() || !m_source ? 0 : m_source->recordCount();
}

int DataSourceModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : m_fields.size(); }

QVariant DataSourceModel::data(const QModelIndex &index, int role) const {
    if (!m_source || !index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const int page = index.row() / PageRows;
    auto found = m_pages.constFind(page);
    if (found == m_pages.constEnd()) {
        if (m_pages.size() >= KeptPages)
            m_pages.clear();
        found = m_pages.insert(page, m_source->rows(m_fields, page * PageRows, PageRows));
    }
    const int row = index.row() % PageRows;
    return row < found->size() ? found->at(row).value(index.column()) : QString();
}

QVariant DataSourceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return m_captions.value(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

int DataSourceModel::heldRows() const {
    int rows = 0;
    for (const QList<QStringList> &page : m_pages)
        rows += page.size();
    return rows;
}

void DataSourceModel::reread() {
    beginResetModel();
    m_pages.clear();
    endResetModel();
}
