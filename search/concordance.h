#pragma once

#include "search/searchresult.h"

#include <QAbstractTableModel>
#include <optional>
#include <vector>

class TaskControl;

// Every marked occurrence of a result, one row each, in its context: the article's title, the eight
// words before it, the occurrence as written, the eight words after it. Only where each occurrence
// lies is kept, and the order shown (16 bytes a row); the cells are made from the article's text when
// asked for, so a view shows millions of rows at once.
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

    // The rows of a result: the marks of every hit (as the article view marks them, within its scope),
    // in the order of the hits and of the text, and how many articles hold one.
    struct Rows
    {
        std::vector<Occurrence> occurrences;
        std::vector<quint32> order; // the order of the text
        int articles = 0;
    };
    // Made apart from the model, as they take long for millions of marks: they only read `result`, and
    // may be made on another thread. Nothing once `control`, when given, is cancelled; it is told how
    // many hits there are and how many were read.
    static std::optional<Rows> rowsOf(const SearchResult& result, TaskControl* control = nullptr);
    // Lists `rows`, made from `result`; one reset.
    void setResult(SearchResult result, Rows rows);
    // Both at once.
    void setResult(SearchResult result);
    const SearchResult& result() const { return m_result; }

    int occurrenceCount() const { return static_cast<int>(m_occurrences.size()); }
    // How many articles the occurrences come from.
    int articleCount() const { return m_articles; }
    // The occurrence shown at `row`.
    const Occurrence& occurrence(int row) const { return m_occurrences[m_order[static_cast<size_t>(row)]]; }
    // The text of a cell: the contexts on one line, white space runs made one space.
    QString cell(int row, int column) const;
    // The table as UTF-8 text is the header line, then one line a row in the order shown, columns
    // separated by tabs (a tab or a line break inside a cell becomes a space). The header line:
    QString tabSeparatedHeader() const;
    // Appends the lines of the rows from `from` on, one at least, until `out` holds `size` units or the
    // rows end; returns the row after the last one appended.
    int appendTabSeparated(QString& out, int from, qsizetype size) const;
    // What the rows hold, in bytes.
    qsizetype heldBytes() const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The title, the occurrence and the right context sort as text, letter case aside; the left
    // context by its words read backwards from the occurrence: the nearest word first, then the one
    // before it. Equal rows keep the order of the text (article, then position), in either order.
    // Returns the occurrences in that order, as their rows in the order of the text, or nothing once
    // `control` is cancelled. It only reads the model, and may run on another thread while the model
    // does not change.
    std::optional<std::vector<quint32>> sortedOrder(int column, Qt::SortOrder order, TaskControl& control) const;
    // Shows the rows in `order`, as sortedOrder gives it; one reset.
    void setOrder(std::vector<quint32> order);
    // Both at once.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Keyed;

    const QString& textOf(const Occurrence& occurrence) const;
    qsizetype leftStart(const Occurrence& occurrence) const;
    qsizetype rightEnd(const Occurrence& occurrence) const;
    int compare(int column, const Occurrence& a, const Occurrence& b) const;
    quint64 identity(int column, const Occurrence& occurrence) const;
    std::optional<std::vector<quint32>> sortRows(int column, Qt::SortOrder order, TaskControl& control) const;
    void orderTies(int column, bool descending, Keyed* first, size_t count, TaskControl& control) const;

    SearchResult m_result;
    std::vector<Occurrence> m_occurrences; // in the order of the text
    std::vector<quint32> m_order;          // the rows shown, as indices into m_occurrences
    int m_articles = 0;
};
