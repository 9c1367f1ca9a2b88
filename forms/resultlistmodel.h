#pragma once

#include "search/searchresult.h"

#include <QAbstractListModel>

// The titles of a result's hits, one row each, a title of more than 200 characters cut there.
// Refilling resets the model in one step and copies no titles, so a list of a hundred thousand
// titles refreshes on every keystroke.
class ResultListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    void setResult(const SearchResult& result);

    // Without the checks of the base class through rowCount() and columnCount(): the list view asks
    // for the index of every row each time it lays the list out.
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QList<const ArticleEntry*> m_hits;
};
