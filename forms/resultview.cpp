#include "resultview.h"

#include "highlighter.h"
#include "resultlistmodel.h"
#include "valuelistmodel.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace {

// Where a view keeps the row it shows, so that the text can be saved as it was shown.
const char* const shownRowProperty = "tarvaneShownRow";

} // namespace

void fillResultList(const SearchResult& result, QListView* list, QLabel* countLabel)
{
    if (auto* model = qobject_cast<ResultListModel*>(list->model()))
        model->setResult(result);
    if (countLabel)
        countLabel->setText(QString::number(result.count()));
}

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

void showResultArticle(const SearchResult& result, int row, QTextEdit* view)
{
    // Whatever was marked under the view's cursor must not colour the next text.
    view->setCurrentCharFormat(QTextCharFormat());
    if (row < 0 || row >= result.count()) {
        view->setPlainText(QString());
        view->setProperty(shownRowProperty, -1);
        return;
    }
    // The text goes in as plain text and the marks as formats on the document, in one edit so that
    // it is laid out once: no markup to build and parse, and a bounded number of marks, however
    // many matches the text holds.
    const QString& text = result.hits().at(row)->text;
    const QList<highlighter::Range> marks = highlighter::firstRanges(result, text, shownMarkLimit);
    QTextDocument* document = view->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    view->setPlainText(text);
    // Showing an article is no edit of the user's to undo.
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    const QTextCharFormat format = markFormat();
    for (const highlighter::Range& mark : marks) {
        cursor.setPosition(int(mark.start));
        cursor.setPosition(int(mark.start + mark.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
    view->setProperty(shownRowProperty, row);
}

int shownRow(const QTextEdit* view)
{
    const QVariant row = view->property(shownRowProperty);
    return row.isValid() ? row.toInt() : -1;
}

void selectFirstRow(QListView* list)
{
    const QModelIndex first = list->model()->index(0, 0);
    if (first.isValid())
        list->setCurrentIndex(first);
}

int clickedRow(const QListView* list, const QModelIndex& index)
{
    return index.isValid() && index.model() == list->model() ? index.row() : -1;
}

void showClickedArticle(const SearchResult& result, const QListView* list, const QModelIndex& index, QTextEdit* view)
{
    const int row = clickedRow(list, index);
    if (row >= 0 && row < result.count() && row != shownRow(view))
        showResultArticle(result, row, view);
}

void fillElementCombo(const QList<ElementChoice>& choices, QComboBox* combo)
{
    for (const ElementChoice& choice : choices) {
        combo->addItem(choice.shown, choice.name);
        if (choice.shown != choice.name)
            combo->setItemData(combo->count() - 1, choice.name, Qt::ToolTipRole);
    }
    combo->setCurrentIndex(0);
}

void fillValueCombo(std::vector<QStringView> values, QComboBox* combo)
{
    if (values.empty()) {
        combo->setEnabled(false);
        return;
    }
    auto* model = qobject_cast<ValueListModel*>(combo->model());
    if (!model) {
        model = new ValueListModel(combo);
        combo->setModel(model);
        // Every row as high as the first: the list never measures tens of thousands of long texts.
        if (auto* list = qobject_cast<QListView*>(combo->view()))
            list->setUniformItemSizes(true);
    }
    model->setValues(std::move(values));
    combo->setCurrentIndex(0);
    combo->setEnabled(true);
}

QString criterionAt(const QComboBox* combo, int index)
{
    if (index < 0 || index >= combo->count())
        return {};
    const QVariant name = combo->itemData(index);
    return name.isValid() ? name.toString() : combo->itemText(index);
}

QString currentCriterion(const QComboBox* combo)
{
    return criterionAt(combo, combo->currentIndex());
}

QPalette backgroundPalette(const QString& colourName)
{
    const QColor colour = QColor::isValidColorName(colourName) ? QColor::fromString(colourName) : QColor(Qt::lightGray);
    return QPalette(colour);
}
