#pragma once

#include "searchresult.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <vector>

// Every marked occurrence of a result, one row each, in its context: the article's title, the eight
// words before it, the occurrence as written, the eight words after it. Only where each occurrence
// lies is kept (12 bytes a row); the cells are made from the article's text when asked for, so a
// view shows half a million rows at once.
class Concordance : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column
    {
        TitleColumn,
        LeftColumn,
        HitColumn,
        RightColumn,
        ColumnCount
    };
    static constexpr int contextWords = 8;

    struct Occurrence
    {
        quint32 hit = 0; // row of the result
        quint32 start = 0;
        quint32 length = 0;
    };

    using QAbstractTableModel::QAbstractTableModel;

    // Lists the marks of every hit of `result` (as the article view marks them, within its scope),
    // in the order of the hits and of the text.
    void setResult(SearchResult result);
    const SearchResult& result() const { return m_result; }

    int occurrenceCount() const { return static_cast<int>(m_occurrences.size()); }
    // How many articles the occurrences come from.
    int articleCount() const { return m_articles; }
    const Occurrence& occurrence(int row) const { return m_occurrences[static_cast<size_t>(row)]; }
    // The text of a cell: the contexts on one line, white space runs made one space.
    QString cell(int row, int column) const;
    // The table as UTF-8 text: a header line, then one line a row in the order shown, columns
    // separated by tabs (a tab or a line break inside a cell becomes a space).
    QByteArray tabSeparated() const;
    // What the rows hold, in bytes.
    qsizetype heldBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    // The title, the occurrence and the right context sort as text, letter case aside; the left
    // context by its words read backwards from the occurrence: the nearest word first, then the one
    // before it. Equal rows keep the order of the text.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    const QString& textOf(const Occurrence& occurrence) const;
    int compare(int column, const Occurrence& a, const Occurrence& b) const;

    SearchResult m_result;
    std::vector<Occurrence> m_occurrences;
    int m_articles = 0;
};
