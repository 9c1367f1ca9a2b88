#include "resultlistmodel.h"

void ResultListModel::setResult(const SearchResult& result)
{
    beginResetModel();
    m_hits = result.hits();
    endResetModel();
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_hits.size())
        return {};
    return m_hits.at(index.row())->title;
}
