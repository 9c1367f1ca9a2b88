#include "resultpane.h"

#include "highlighter.h"
#include "resultlistmodel.h"

#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// More marks than a reader could look through would only cost memory and time.
constexpr qsizetype shownMarkLimit = 100000;

QTextCharFormat markFormat()
{
    QTextCharFormat format;
    format.setForeground(QColor(Qt::red));
    format.setFontWeight(QFont::Bold);
    format.setFontUnderline(true);
    return format;
}

} // namespace

ResultPane::ResultPane(QListView* list, QLabel* count, QTextEdit* view, QObject* parent)
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
        m_count->setText(QString::number(m_record.count()));
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

void ResultPane::showArticle(const SearchResult& record, int row, QTextEdit* view)
{
    // Whatever was marked under the view's cursor must not colour the next text.
    view->setCurrentCharFormat(QTextCharFormat());
    if (row < 0 || row >= record.count()) {
        view->setPlainText(QString());
        return;
    }
    // The text goes in as plain text and the marks as formats on the document, in one edit so that
    // it is laid out once: no markup to build and parse, and a bounded number of marks, however
    // many matches the text holds.
    const QString& text = record.hits().at(row)->text;
    const QList<highlighter::Range> marks = highlighter::firstRanges(record, text, shownMarkLimit);
    QTextDocument* document = view->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    view->setPlainText(text);
    // Showing an article is no edit of the user's to undo.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    const QTextCharFormat format = markFormat();
    for (const highlighter::Range& mark : marks) {
        cursor.setPosition(static_cast<int>(mark.start));
        cursor.setPosition(static_cast<int>(mark.start + mark.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
}
