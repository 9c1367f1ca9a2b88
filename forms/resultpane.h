#pragma once

#include "search/highlighter.h"
#include "search/searchresult.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

class QAbstractButton;
class QBoxLayout;
class QLabel;
class QLineEdit;
class ArticleView;
class QListView;
class QModelIndex;
class QToolButton;
class ResultListModel;

// One tab's result and the widgets that show it: the list of hit titles, the count (the "Corpus"
// tab has none) and the article view, which shows one hit with its matches marked. The pane also
// carries the tab's reading: moving between the marks (`Bt_Prec`, `Bt_Suiv`, the label `Txt_Occ`),
// finding a word in the article (the bar with `Txt_Trouver`) and going back and forward among the
// articles shown (the mouse's side buttons). Their keys (F3, Shift+F3, Ctrl+F, Alt+Left, Alt+Right)
// are the menu bar's, which acts on the pane of the current tab.
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

    // Where the reading controls go, each optional: the buttons and the label that move between
    // marks at `marksIndex` of `marksRow`, the find bar at the end of `articleColumn`. The find
    // respects letter case when `caseOption` is checked, and ignores it when there is none.
    struct Places
    {
        QBoxLayout* marksRow = nullptr;
        int marksIndex = -1;
        QBoxLayout* articleColumn = nullptr;
        QAbstractButton* caseOption = nullptr;
    };

    // The whole-word occurrences of `word` in `text`, whose block edges are `edges`, sorted, at most
    // `limit` of them. The find bar asks it; a caller that folds more than letter case (accents) gives
    // its own.
    using WordFinder = std::function<QList<highlighter::Range>(
        const QString& text, const BlockEdges& edges, const QString& word, Qt::CaseSensitivity cs, qsizetype limit)>;

    // At most this many marks are drawn, search marks and found words alike.
    static constexpr qsizetype shownMarkLimit = 100000;
    static constexpr qsizetype foundLimit = 10000;
    // Articles remembered for going back.
    static constexpr int historyLimit = 200;

    // Gives the list its model; a click or a keyboard move of the current row shows that hit.
    ResultPane(QListView* list, QLabel* count, ArticleView* view, QObject* parent = nullptr);
    ResultPane(QListView* list, QLabel* count, ArticleView* view, QObject* parent, const Places& places);
    ~ResultPane() override;

    // Takes the record, lists its hits, shows their count and hit 0.
    void show(SearchResult record, CurrentRow current = CurrentRow::Unchanged);
    // Shows the hit of a clicked row of the list; a click on no row changes nothing, nor does one on
    // the hit already shown, so a click that also moves the current row shows the article once.
    void showClicked(const QModelIndex& index);
    // Makes the first row current, when there is one.
    void makeFirstRowCurrent();
    // Makes `row` current and shows it.
    void selectRow(int row);
    // Shows hit `row` with the occurrence at `start` (`length` characters) selected and current
    // among the marks.
    void showOccurrence(int row, qsizetype start, qsizetype length);
    // Whether the view is on screen (its tab the current one). A view off screen lays out nothing:
    // the article it should show, with its marks and the find bar's words, waits until it is on
    // screen again. A pane is on screen until told otherwise.
    void setOnScreen(bool onScreen);
    // Shows the article shown again, as the view now formats it, at the place the reader was at.
    void showAgain();
    bool isOnScreen() const { return m_onScreen; }

    const SearchResult& record() const { return m_record; }
    QListView* list() const { return m_list; }
    ArticleView* view() const { return m_view; }
    // The row of the record that the view shows, -1 when it shows none.
    int shownRow() const { return m_shownRow; }

    // Shows hit `row` of `record` in `view`, as plain text with the matches marked (the first
    // `shownMarkLimit` of them at most, those in the part shown); empty when there is no such hit.
    // Returns the marks drawn, and whether the article has more.
    static highlighter::Marks showArticle(const SearchResult& record, int row, ArticleView* view);

    // The marks one moves between: the words found while the find bar is open with a word in it,
    // else the search marks drawn. The current one is 0-based, -1 when there are none.
    int markCount() const { return int(movingMarks().size()); }
    int currentMark() const { return m_markIndex; }
    // What `Txt_Occ` reads: "3 / 17", a "+" after the count when the article has more marks than
    // drawn, nothing when there is none.
    QString occurrenceText() const;
    // Go to the next or previous mark, wrapping around, and select it.
    void nextMark();
    void previousMark();

    void openFind();
    void closeFind();
    bool isFindOpen() const;
    void setWordFinder(WordFinder finder) { m_finder = std::move(finder); }

    // The article visited before; after a list that showed none, that list's own visit first.
    void back();
    void forward();
    // Forgets the articles shown, as when another corpus replaces them.
    void forgetHistory();

signals:
    // Going back or forward brought back an earlier record into the list.
    void recordRestored();

protected:
    // The mouse's back and forward buttons over the list or the article.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Visit
    {
        SearchResult record;
        int serial = 0;
        int row = 0;
    };

    // Lays out the whole list at once, rather than a slice at a time between events.
    void layOutList();
    // Lists the record's hits and shows their count, the one way both are shown.
    void listRecord();
    void showRow(int row);
    // Shows the row without remembering it.
    void display(int row);
    void remember();
    void restore(const Visit& visit);
    const QList<highlighter::Range>& movingMarks() const;
    bool findActive() const;
    void find();
    void goToMark(int index, bool select);
    void updateMarkControls();

    QListView* m_list;
    QLabel* m_count;
    ArticleView* m_view;
    ResultListModel* m_model;
    SearchResult m_record;
    int m_serial = 0; // tells the records shown apart, for the history
    int m_shownRow = -1;
    bool m_onScreen = true;
    bool m_waiting = false; // m_shownRow is not laid out yet

    QList<highlighter::Range> m_marks; // the search marks drawn
    bool m_moreMarks = false;
    QList<highlighter::Range> m_found; // the words found
    bool m_moreFound = false;
    int m_markIndex = -1;
    int m_searchMarkIndex = -1; // kept while the find bar moves among its own
    qsizetype m_findOrigin = 0;
    WordFinder m_finder;

    std::vector<Visit> m_history;
    int m_visit = -1;

    // Made by the pane; deleted with it unless their parent went first.
    QPointer<QToolButton> m_previous;
    QPointer<QToolButton> m_next;
    QPointer<QLabel> m_occurrences;
    QPointer<QWidget> m_findBar;
    QPointer<QLineEdit> m_findField;
    QAbstractButton* m_caseOption = nullptr;
};
