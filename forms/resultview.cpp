#include "resultview.h"

#include "highlighter.h"
#include "resultlistmodel.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>
#include <QStringListModel>
#include <QTextEdit>

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
    if (row >= 0 && row < result.count())
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

void fillValueCombo(const QStringList& values, QComboBox* combo)
{
    if (values.isEmpty()) {
        combo->setEnabled(false);
        return;
    }
    // Tens of thousands of long texts go in at once: a plain string model takes them in one step.
    auto* model = qobject_cast<QStringListModel*>(combo->model());
    if (!model) {
        model = new QStringListModel(combo);
        combo->setModel(model);
    }
    QStringList entries;
    entries.reserve(values.size() + 1);
    entries.append(CorpusDocument::anyValue);
    entries.append(values);
    model->setStringList(entries);
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
