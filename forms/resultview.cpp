#include "resultview.h"

#include "highlighter.h"
#include "resultlistmodel.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
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

void showResultArticle(const SearchResult& result, int row, QTextEdit* view)
{
    const highlighter::Rendering rendering = highlighter::render(result, row);
    if (rendering.rich)
        view->setHtml(rendering.text);
    else
        view->setPlainText(rendering.text);
    view->setProperty(shownRowProperty, row >= 0 && row < result.count() ? row : -1);
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

void fillElementCombo(const QStringList& choices, QComboBox* combo)
{
    combo->addItems(choices);
    combo->setCurrentIndex(0);
}

QPalette backgroundPalette(const QString& colourName)
{
    const QColor colour = QColor::isValidColorName(colourName) ? QColor::fromString(colourName) : QColor(Qt::lightGray);
    return QPalette(colour);
}
