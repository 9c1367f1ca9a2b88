#include "resultpane.h"

#include "articleview.h"
#include "corpusdocument.h"
#include "highlighter.h"
#include "resultlistmodel.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>

namespace {

// More marks than a reader could look through would only cost memory and time.
constexpr qsizetype shownMarkLimit = 100000;

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
    : QObject(parent), m_list(list), m_count(count), m_view(view), m_model(new ResultListModel(list))
{
    m_list->setModel(m_model);
    // A click moves the current row too; the article already shown is not shown again.
    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this, &ResultPane::showClicked);
}

void ResultPane::show(SearchResult record, CurrentRow current)
{
    m_record = std::move(record);
    m_model->setResult(m_record);
    if (m_count)
        m_count->setText(countText(m_record));
    showRow(0);
    if (current == CurrentRow::First)
        makeFirstRowCurrent();
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
    const QModelIndex first = m_model->index(0, 0);
    if (first.isValid())
        m_list->setCurrentIndex(first);
}

void ResultPane::showRow(int row)
{
    showArticle(m_record, row, m_view);
    m_shownRow = row < m_record.count() ? row : -1;
}

void ResultPane::showArticle(const SearchResult& record, int row, ArticleView* view)
{
    if (row < 0 || row >= record.count()) {
        view->clearArticle();
        return;
    }
    const QString& text = record.hits().at(row)->text;
    view->showArticle(text, highlighter::hitRanges(record, row, shownMarkLimit));
}
