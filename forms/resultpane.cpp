#include "forms/resultpane.h"

#include "corpus/corpusdocument.h"
#include "forms/articleview.h"
#include "forms/resultlistmodel.h"
#include "search/highlighter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMouseEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QTextCursor>
#include <QToolButton>
#include <algorithm>

namespace {

// Rows of a list laid out at once; longer lists are laid out in slices of this many.
constexpr int layoutSlice = 20000;

QList<highlighter::Range> wholeWords(const QString& text, const BlockEdges& edges, const QString& word,
                                     Qt::CaseSensitivity cs, qsizetype limit)
{
    return highlighter::wordRanges(text, edges, word, cs, false, limit);
}

// A key for one widget, while it has the focus.
QShortcut* widgetKey(const QKeySequence& key, QWidget* widget)
{
    return new QShortcut(key, widget, nullptr, nullptr, Qt::WidgetShortcut);
}

QToolButton* arrowButton(const char* name, Qt::ArrowType arrow, const QString& tip)
{
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setArrowType(arrow);
    button->setAutoRaise(true);
    button->setToolTip(tip);
    button->setEnabled(false);
    return button;
}

// The number of hits, and where they were searched when not in the whole article.
QString countText(const SearchResult& record)
{
    const QString count = QString::number(record.count());
    if (record.scope().isWholeArticle())
        return count;
    return QStringLiteral("%1 (dans « %2 »)").arg(count, record.scope().element.left(CorpusDocument::maxChoiceLength));
}

} // namespace

ResultPane::ResultPane(QListView* list, QLabel* count, ArticleView* view, QObject* parent)
    : ResultPane(list, count, view, parent, Places())
{
}

ResultPane::ResultPane(QListView* list, QLabel* count, ArticleView* view, QObject* parent, const Places& places)
    : QObject(parent), m_list(list), m_count(count), m_view(view), m_model(new ResultListModel(list)),
      m_finder(wholeWords), m_caseOption(places.caseOption)
{
    m_list->setModel(m_model);
    // A list of hundreds of thousands of titles is laid out a slice at a time between events, so that
    // a key typed in the filter does not wait for the whole list; the first slice holds the rows shown.
    m_list->setLayoutMode(QListView::Batched);
    m_list->setBatchSize(layoutSlice);
    // A click moves the current row too; the article already shown is not shown again.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &ResultPane::showClicked);

    m_previous = arrowButton("Bt_Prec", Qt::UpArrow, QStringLiteral("Occurrence précédente (Maj+F3)"));
    m_next = arrowButton("Bt_Suiv", Qt::DownArrow, QStringLiteral("Occurrence suivante (F3)"));
    m_occurrences = new QLabel;
    m_occurrences->setObjectName(QStringLiteral("Txt_Occ"));
    connect(m_previous, &QToolButton::clicked, this, &ResultPane::previousMark);
    connect(m_next, &QToolButton::clicked, this, &ResultPane::nextMark);
    if (places.marksRow) {
        const int at = places.marksIndex < 0 ? places.marksRow->count() : places.marksIndex;
        places.marksRow->insertWidget(at, m_previous);
        places.marksRow->insertWidget(at + 1, m_next);
        places.marksRow->insertWidget(at + 2, m_occurrences);
    }

    m_findBar = new QWidget;
    m_findBar->setObjectName(QStringLiteral("Barre_Trouver"));
    auto* bar = new QHBoxLayout(m_findBar);
    bar->setContentsMargins(0, 0, 0, 0);
    auto* caption = new QLabel(QStringLiteral("Trouver dans l'article :"));
    m_findField = new QLineEdit;
    m_findField->setObjectName(QStringLiteral("Txt_Trouver"));
    m_findField->setClearButtonEnabled(true);
    m_findField->setToolTip(QStringLiteral("Mots entiers ; Entrée ou F3 : suivant, Maj+F3 : précédent"));
    caption->setBuddy(m_findField);
    auto* close = new QToolButton;
    close->setObjectName(QStringLiteral("Bt_Fermer_Trouver"));
    close->setText(QStringLiteral("Fermer"));
    close->setAutoRaise(true);
    close->setToolTip(QStringLiteral("Fermer la barre (Échap)"));
    bar->addWidget(caption);
    bar->addWidget(m_findField, 1);
    bar->addWidget(close);
    m_findBar->hide();
    if (places.articleColumn)
        places.articleColumn->addWidget(m_findBar);
    connect(m_findField, &QLineEdit::textChanged, this, &ResultPane::find);
    connect(close, &QToolButton::clicked, this, &ResultPane::closeFind);
    if (m_caseOption)
        connect(m_caseOption, &QAbstractButton::toggled, this, [this] {
            if (isFindOpen())
                find();
        });

    // F3, Shift+F3, Ctrl+F, Alt+Left and Alt+Right belong to the window's menu bar, which sends them to
    // the current tab's pane: a second shortcut on the same key would make both ambiguous.
    // The field keeps Enter and Escape from the window, where Enter would start a search.
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter})
        connect(widgetKey(QKeySequence(key), m_findField), &QShortcut::activated, this, &ResultPane::nextMark);
    connect(widgetKey(QKeySequence(Qt::SHIFT | Qt::Key_Return), m_findField), &QShortcut::activated, this,
            &ResultPane::previousMark);
    for (QWidget* widget : {static_cast<QWidget*>(m_findField), static_cast<QWidget*>(m_view)})
        connect(widgetKey(QKeySequence(Qt::Key_Escape), widget), &QShortcut::activated, this, [this] {
            if (isFindOpen())
                closeFind();
        });

    m_list->viewport()->installEventFilter(this);
    m_view->viewport()->installEventFilter(this);
    updateMarkControls();
}

ResultPane::~ResultPane()
{
    delete m_previous;
    delete m_next;
    delete m_occurrences;
    delete m_findBar;
}

void ResultPane::show(SearchResult record, CurrentRow current)
{
    m_record = std::move(record);
    ++m_serial;
    listRecord();
    showRow(0);
    if (current == CurrentRow::First)
        makeFirstRowCurrent();
}

void ResultPane::listRecord()
{
    m_model->setResult(m_record);
    if (m_count)
        m_count->setText(countText(m_record));
}

void ResultPane::showClicked(const QModelIndex& index)
{
    if (!index.isValid() || index.model() != m_model)
        return;
    const int row = index.row();
    if (row < m_record.count() && row != m_shownRow)
        showRow(row);
}

void ResultPane::makeFirstRowCurrent()
{
    selectRow(0);
}

void ResultPane::selectRow(int row)
{
    const QModelIndex index = m_model->index(row, 0);
    if (!index.isValid())
        return;
    if (row == 0) {
        // The top needs no layout: a list refilled while the last one was still being laid out has
        // none yet.
        m_list->setCurrentIndex(index);
        m_list->scrollToTop();
        return;
    }
    // Past the slices laid out so far: the rest is laid out now, so that the row can be scrolled to.
    if (!m_list->visualRect(index).isValid())
        layOutList();
    m_list->setCurrentIndex(index);
    m_list->scrollTo(index);
}

void ResultPane::showOccurrence(int row, qsizetype start, qsizetype length)
{
    selectRow(row);
    if (row != m_shownRow)
        showRow(row);
    // The occurrence becomes the current mark, so that F3 goes on from it.
    const auto mark = std::find_if(m_marks.cbegin(), m_marks.cend(),
                                   [start](const highlighter::Range& range) { return range.start == start; });
    if (mark != m_marks.cend() && !findActive()) {
        goToMark(int(mark - m_marks.cbegin()), true);
        return;
    }
    m_view->showRange(start, length, true);
}

void ResultPane::layOutList()
{
    m_list->setLayoutMode(QListView::SinglePass);
    m_list->doItemsLayout();
    m_list->setLayoutMode(QListView::Batched);
}

void ResultPane::showRow(int row)
{
    display(row);
    remember();
}

void ResultPane::setOnScreen(bool onScreen)
{
    m_onScreen = onScreen;
    if (m_onScreen && m_waiting)
        display(m_shownRow);
}

void ResultPane::showAgain()
{
    if (m_waiting || m_shownRow < 0)
        return;
    const qsizetype top = m_view->articlePosition(m_view->cursorForPosition(QPoint(0, 0)).position());
    display(m_shownRow);
    // The line that was at the top stays there.
    QScrollBar* bar = m_view->verticalScrollBar();
    QTextCursor at(m_view->document());
    at.setPosition(m_view->viewPosition(top));
    bar->setValue(bar->value() + m_view->cursorRect(at).top());
}

void ResultPane::display(int row)
{
    m_shownRow = row >= 0 && row < m_record.count() ? row : -1;
    // Laying out a long article takes long: a view no one sees shows none, not even the last, and
    // so no marks, until it is on screen.
    m_waiting = !m_onScreen;
    // Only the marks drawn in the part shown can be reached.
    highlighter::Marks marks = showArticle(m_record, m_waiting ? -1 : m_shownRow, m_view);
    m_moreMarks = marks.more;
    m_marks = std::move(marks.ranges);
    m_searchMarkIndex = m_marks.isEmpty() ? -1 : 0;
    if (findActive()) {
        m_findOrigin = 0;
        find();
        return;
    }
    m_markIndex = m_searchMarkIndex;
    if (m_markIndex >= 0)
        goToMark(m_markIndex, false);
    updateMarkControls();
}

highlighter::Marks ResultPane::showArticle(const SearchResult& record, int row, ArticleView* view)
{
    const ArticleEntry* const hit = row >= 0 && row < record.count() ? record.hits().at(row) : nullptr;
    // A text from a store that is not as written is never shown: the window reads the file again.
    if (!hit || (record.content() && !record.content()->textHolds(hit->number))) {
        view->clearArticle();
        return {};
    }
    highlighter::Marks marks =
        highlighter::hitRangesBefore(record, row, ArticleView::shownLengthOf(hit->text), shownMarkLimit);
    const ElementIndex* index = record.content() ? &record.content()->elements : nullptr;
    view->showArticle(hit->text, hit->edges, marks.ranges, index, hit->number);
    return marks;
}

const QList<highlighter::Range>& ResultPane::movingMarks() const
{
    return findActive() ? m_found : m_marks;
}

bool ResultPane::findActive() const
{
    return isFindOpen() && !m_findField->text().isEmpty();
}

QString ResultPane::occurrenceText() const
{
    const QList<highlighter::Range>& marks = movingMarks();
    if (marks.isEmpty() || m_markIndex < 0)
        return {};
    const QLocale french(QLocale::French);
    const bool more = findActive() ? m_moreFound : m_moreMarks;
    return QStringLiteral("%1 / %2%3")
        .arg(french.toString(m_markIndex + 1), french.toString(qlonglong(marks.size())),
             more ? QStringLiteral("+") : QString());
}

void ResultPane::nextMark()
{
    const int count = markCount();
    if (count > 0)
        goToMark((m_markIndex + 1) % count, true);
}

void ResultPane::previousMark()
{
    const int count = markCount();
    if (count > 0)
        goToMark((m_markIndex + count - 1) % count, true);
}

void ResultPane::goToMark(int index, bool select)
{
    const highlighter::Range mark = movingMarks().at(index);
    m_markIndex = index;
    if (!findActive())
        m_searchMarkIndex = index;
    m_view->showRange(mark.start, mark.length, select);
    updateMarkControls();
}

void ResultPane::updateMarkControls()
{
    const bool any = markCount() > 0;
    if (m_previous)
        m_previous->setEnabled(any);
    if (m_next)
        m_next->setEnabled(any);
    if (m_occurrences) {
        m_occurrences->setText(occurrenceText());
        m_occurrences->setToolTip((findActive() ? m_moreFound : m_moreMarks)
                                      ? QStringLiteral("Seules les occurrences marquées dans la partie affichée sont "
                                                       "comptées")
                                      : QString());
    }
}

void ResultPane::openFind()
{
    if (!isFindOpen()) {
        m_findOrigin = m_view->articlePosition(m_view->textCursor().selectionStart());
        m_findBar->show();
        if (!m_findField->text().isEmpty())
            find();
    }
    m_findField->setFocus(Qt::ShortcutFocusReason);
    m_findField->selectAll();
}

void ResultPane::closeFind()
{
    if (!isFindOpen())
        return;
    const bool hadFocus = m_findBar->isAncestorOf(QApplication::focusWidget());
    m_findBar->hide();
    m_found.clear();
    m_moreFound = false;
    m_view->setFoundMarks({});
    m_markIndex = m_searchMarkIndex;
    updateMarkControls();
    if (hadFocus)
        m_view->setFocus(Qt::OtherFocusReason);
}

bool ResultPane::isFindOpen() const
{
    return m_findBar && !m_findBar->isHidden();
}

void ResultPane::find()
{
    const QString word = m_findField->text();
    const Qt::CaseSensitivity cs = m_caseOption && m_caseOption->isChecked() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QList<highlighter::Range> found;
    if (!word.isEmpty())
        found = m_finder(m_view->article(), m_view->edges(), word, cs, foundLimit + 1);
    qsizetype reachable = 0;
    while (reachable < found.size() && reachable < foundLimit && found[reachable].start < m_view->shownLength())
        ++reachable;
    m_moreFound = reachable < found.size();
    found.resize(reachable);
    m_found = std::move(found);
    m_view->setFoundMarks(m_found);
    if (m_found.isEmpty()) {
        m_markIndex = word.isEmpty() ? m_searchMarkIndex : -1;
        updateMarkControls();
        return;
    }
    // The first word at or after where the reader stood when the bar opened.
    int first = 0;
    while (first < m_found.size() && m_found[first].start < m_findOrigin)
        ++first;
    goToMark(first < m_found.size() ? first : 0, true);
}

void ResultPane::remember()
{
    if (m_shownRow < 0)
        return;
    const ArticleEntry* shown = m_record.hits().at(m_shownRow);
    if (m_visit >= 0) {
        Visit& current = m_history[size_t(m_visit)];
        // The same article again, as each key typed in the title filter shows it: one visit.
        if (current.record.hits().at(current.row) == shown) {
            current = {m_record, m_serial, m_shownRow};
            return;
        }
    }
    m_history.resize(size_t(m_visit + 1));
    m_history.push_back({m_record, m_serial, m_shownRow});
    if (m_history.size() > size_t(historyLimit))
        m_history.erase(m_history.begin());
    m_visit = int(m_history.size()) - 1;
}

void ResultPane::restore(const Visit& visit)
{
    if (visit.serial != m_serial) {
        m_record = visit.record;
        m_serial = visit.serial;
        listRecord();
        emit recordRestored();
    }
    display(visit.row);
    selectRow(visit.row);
}

void ResultPane::back()
{
    if (m_visit < 0)
        return;
    // A list shown since the last visit, with no article to visit (a search that found nothing): Back
    // brings that visit's list back first.
    if (m_history[size_t(m_visit)].serial != m_serial) {
        restore(m_history[size_t(m_visit)]);
        return;
    }
    if (m_visit == 0)
        return;
    --m_visit;
    restore(m_history[size_t(m_visit)]);
}

void ResultPane::forward()
{
    if (m_visit < 0 || m_visit + 1 >= int(m_history.size()))
        return;
    ++m_visit;
    restore(m_history[size_t(m_visit)]);
}

void ResultPane::forgetHistory()
{
    m_history.clear();
    m_visit = -1;
}

bool ResultPane::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick) {
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        if (button == Qt::BackButton || button == Qt::ForwardButton) {
            if (type == QEvent::MouseButtonPress)
                button == Qt::BackButton ? back() : forward();
            return true;
        }
        // A list refilled a moment ago has no rows laid out yet, and would take the click for one
        // on no row: its first slice is laid out now, so that the click lands where it was aimed.
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (watched == m_list->viewport() && m_model->rowCount() > 0 && !m_list->indexAt(at).isValid())
            layOutList();
    }
    return QObject::eventFilter(watched, event);
}
