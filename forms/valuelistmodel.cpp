#include "forms/valuelistmodel.h"

#include "corpus/corpusdocument.h"

namespace {

// A value is shown on one line of a box: more would only cost time at every paint.
constexpr qsizetype shownLength = 200;

} // namespace

void ValueListModel::setValues(std::vector<QStringView> values, std::shared_ptr<const CorpusContent> content)
{
    beginResetModel();
    m_values = std::move(values);
    m_content = std::move(content);
    m_values.insert(m_values.begin(), QStringView(CorpusDocument::anyValue));
    endResetModel();
}

int ValueListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_values.size());
}

QVariant ValueListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || static_cast<size_t>(index.row()) >= m_values.size())
        return {};
    const QStringView value = m_values[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        // A text that spans lines would show as a tall block, or blank when it starts with a line break.
        if (value.size() > shownLength * 4)
            return value.first(shownLength * 4).toString().simplified().left(shownLength) + QChar(0x2026);
        return value.toString().simplified();
    case Qt::EditRole:
    case Qt::UserRole:
        return value.toString();
    case Qt::ToolTipRole:
        return index.row() == 0 ? QVariant() : QVariant(value.toString());
    default:
        return {};
    }
}

bool ValueListModel::removeRows(int row, int count, const QModelIndex& parent)
{
    if (parent.isValid() || row < 0 || count < 0 ||
        static_cast<size_t>(row) + static_cast<size_t>(count) > m_values.size())
        return false;
    if (count == 0)
        return true;
    beginRemoveRows(parent, row, row + count - 1);
    m_values.erase(m_values.begin() + row, m_values.begin() + row + count);
    if (m_values.empty())
        m_content.reset();
    endRemoveRows();
    return true;
}
