#pragma once

#include "searchresult.h"

#include <QObject>

class QLabel;
class ArticleView;
class QListView;
class QModelIndex;
class ResultListModel;

// One tab's result and the widgets that show it: the list of hit titles, the count (the "Corpus"
// tab has none) and the article view, which shows one hit with its matches marked.
class ResultPane : public QObject
{
    Q_OBJECT
public:
    // Whether showing a new result also makes its first row the list's current row.
    enum class CurrentRow
    {
        Unchanged,
        First
    };

    // Gives the list its model; a click or a keyboard move of the current row shows that hit.
    ResultPane(QListView* list, QLabel* count, ArticleView* view, QObject* parent = nullptr);

    // Takes the record, lists its hits, shows their count and hit 0.
    void show(SearchResult record, CurrentRow current = CurrentRow::Unchanged);
    // Shows the hit of a clicked row of the list; a click on no row changes nothing, nor does one on
    // the hit already shown, so a click that also moves the current row shows the article once.
    void showClicked(const QModelIndex& index);
    // Makes the first row current, when there is one.
    void makeFirstRowCurrent();

    const SearchResult& record() const { return m_record; }
    QListView* list() const { return m_list; }
    ArticleView* view() const { return m_view; }
    // The row of the record that the view shows, -1 when it shows none.
    int shownRow() const { return m_shownRow; }

    // Shows hit `row` of `record` in `view`, as plain text with the matches marked (the first
    // 100,000 of them at most, those in the part shown); empty when there is no such hit.
    static void showArticle(const SearchResult& record, int row, ArticleView* view);

private:
    void showRow(int row);

    QListView* m_list;
    QLabel* m_count;
    ArticleView* m_view;
    ResultListModel* m_model;
    SearchResult m_record;
    int m_shownRow = -1;
};
