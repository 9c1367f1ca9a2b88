#pragma once

#include "forms/backgroundtask.h"
#include "search/searchresult.h"

#include <QRect>
#include <QWidget>
#include <optional>

class Concordance;
class QCloseEvent;
class QKeyEvent;
class Dialogs;
class QLabel;
class QModelIndex;
class QPushButton;
class QTableView;

// The window "Concordance": every marked occurrence of a simple search in its context, in the
// table `Tab_Conc`, sortable by any column; a double-click asks for that occurrence to be shown, and
// "Exporter…" saves the table as tab-separated text. Sorts and exports run on a worker thread, with
// a progress window that cancels them.
class ConcordanceWindow : public QWidget
{
    Q_OBJECT
public:
    explicit ConcordanceWindow(Dialogs& dialogs, QWidget* parent = nullptr);
    ~ConcordanceWindow() override;

    // Lists the occurrences of `record`, in the order of the text, found on a worker thread behind a
    // progress window; false, with nothing listed, when the reader cancels it or memory runs out.
    bool showResult(SearchResult record);

    const Concordance& concordance() const { return *m_model; }
    QTableView* table() const { return m_table; }
    QLabel* countLabel() const { return m_count; }
    QPushButton* exportButton() const { return m_export; }

    // Asks for a file name and writes the table there, in the order shown, piece by piece as the rows
    // are made; a cancel leaves no file, and an earlier one whole.
    void exportTable();
    // Orders the rows by `column`, as a click on its header does; a cancel keeps the order shown and
    // the header's indicator.
    void sortBy(int column, Qt::SortOrder order);

    // Beside `main`, on the side of the screen with more room, so that the article a double-click
    // shows there stays in sight; where it was when neither side has room enough.
    void placeBeside(const QWidget& main);
    // Where that is: the frame of `main` and the room of its screen; nothing when there is none.
    static std::optional<QRect> besideRect(const QRect& main, const QRect& room);
    static constexpr int narrowest = 480;
    static constexpr QSize preferred{900, 500};

    // "1 occurrence dans 1 article", "12 occurrences dans 3 articles".
    static QString countText(int occurrences, int articles);

signals:
    // The occurrence at `start` (`length` characters) of hit `row` of the record shown.
    void occurrenceChosen(const SearchResult& record, int row, qsizetype start, qsizetype length);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void chooseRow(const QModelIndex& index);
    // The header's indicator on what the rows show, without sorting again.
    void showSortIndicator();
    void sayNoMemory();

    Dialogs& m_dialogs;
    BackgroundTask m_task;
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    quint64 m_shown = 0; // counts the results shown, so that a sort outlived by its rows is dropped
    Concordance* m_model;
    QLabel* m_count;
    QTableView* m_table;
    QPushButton* m_export;
};
