#include "forms/resultlistmodel.h"

namespace {

constexpr qsizetype shownTitleLength = 200;

} // namespace

void ResultListModel::setResult(const SearchResult& result)
{
    beginResetModel();
    m_hits = result.hits();
    endResetModel();
}

QModelIndex ResultListModel::index(int row, int column, const QModelIndex& parent) const
{
    if (row < 0 || row >= m_hits.size() || column != 0 || parent.isValid())
        return {};
    return createIndex(row, column);
}

int ResultListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_hits.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_hits.size())
        return {};
    // An article without a title element takes its whole text as title: the list shows a line of it.
    const QString& title = m_hits.at(index.row())->title;
    if (title.size() > shownTitleLength)
        return QStringView(title).first(shownTitleLength).toString() + QChar(0x2026);
    return title;
}
