#include "forms/criteriagrid.h"

#include "forms/listpopupstyle.h"
#include "forms/valuelistmodel.h"

#include <QComboBox>
#include <QListView>

namespace {

enum Column
{
    Element = 0,
    Value = 1,
    Text = 2
};

void emptyAndDisable(QComboBox* box)
{
    box->clear();
    box->setEnabled(false);
}

} // namespace

CriteriaGrid::CriteriaGrid(const Boxes& boxes) : m_boxes(boxes)
{
    // Owned by the boxes' frame, which outlives them.
    auto* style = new ListPopupStyle;
    style->setParent(box(0, 0)->parentWidget());
    for (const auto& row : m_boxes) {
        for (QComboBox* each : row)
            each->setStyle(style);
    }
}

void CriteriaGrid::clear()
{
    for (const auto& row : m_boxes) {
        for (QComboBox* each : row)
            each->clear();
    }
    remember();
}

void CriteriaGrid::offerElements(const QList<ElementChoice>& choices)
{
    for (const auto& row : m_boxes) {
        for (const ElementChoice& choice : choices) {
            row[Element]->addItem(choice.shown, choice.name);
            if (choice.shown != choice.name)
                row[Element]->setItemData(row[Element]->count() - 1, choice.name, Qt::ToolTipRole);
        }
        row[Element]->setCurrentIndex(0);
    }
    for (const auto& row : m_boxes) {
        row[Value]->setEnabled(false);
        row[Text]->setEnabled(false);
    }
    remember();
}

CriteriaGrid::Search CriteriaGrid::choose(int row, int column, int index) const
{
    const QString chosen = criterionAt(box(row, column), index);
    Search search;
    search.row = row;
    search.column = column;
    switch (column) {
    case Element:
        search.target = box(row, Value);
        search.fill = CrossFill{chosen, QString()};
        break;
    case Value:
        search.target = box(row, Text);
        search.fill = CrossFill{currentCriterion(box(row, Element)), chosen};
        break;
    default:
        break;
    }
    // Only the boxes before the chosen one are read, and the search does not change them.
    const int position = row * size + column;
    for (int k = 0; k < position; ++k)
        search.criteria.append(currentCriterion(box(k / size, k % size)));
    search.criteria.append(chosen);
    while (search.criteria.size() < size * size)
        search.criteria.append(CorpusDocument::anyValue);
    return search;
}

void CriteriaGrid::apply(const Search& search)
{
    const int row = search.row;
    switch (search.column) {
    case Element:
        // The row's values are those of the new element; with none chosen there are none to offer.
        box(row, Value)->clear();
        box(row, Value)->setEnabled(search.criteria.at(row * size) != CorpusDocument::anyValue);
        emptyAndDisable(box(row, Text));
        break;
    case Value:
        box(row, Text)->clear();
        break;
    default:
        break;
    }
    resetRowsAfter(row);
}

void CriteriaGrid::revert(const Search& search)
{
    box(search.row, search.column)->setCurrentIndex(m_remembered[size_t(search.row)][size_t(search.column)]);
}

void CriteriaGrid::remember()
{
    for (int row = 0; row < size; ++row) {
        for (int column = 0; column < size; ++column)
            m_remembered[size_t(row)][size_t(column)] = box(row, column)->currentIndex();
    }
}

void CriteriaGrid::resetRowsAfter(int row)
{
    for (int later = row + 1; later < size; ++later) {
        box(later, Element)->setCurrentIndex(0);
        box(later, Element)->setEnabled(true);
        emptyAndDisable(box(later, Value));
        emptyAndDisable(box(later, Text));
    }
}

void CriteriaGrid::offerValues(QComboBox* target, std::vector<QStringView> values,
                               std::shared_ptr<const CorpusContent> content)
{
    if (values.empty()) {
        target->setEnabled(false);
        return;
    }
    auto* model = qobject_cast<ValueListModel*>(target->model());
    if (!model) {
        model = new ValueListModel(target);
        target->setModel(model);
        // Every row as high as the first: the list never measures tens of thousands of long texts.
        if (auto* list = qobject_cast<QListView*>(target->view()))
            list->setUniformItemSizes(true);
    }
    model->setValues(std::move(values), std::move(content));
    target->setCurrentIndex(0);
    target->setEnabled(true);
}

QString CriteriaGrid::criterionAt(const QComboBox* box, int index)
{
    if (index < 0 || index >= box->count())
        return {};
    const QVariant criterion = box->itemData(index);
    return criterion.isValid() ? criterion.toString() : box->itemText(index);
}

QString CriteriaGrid::currentCriterion(const QComboBox* box)
{
    return criterionAt(box, box->currentIndex());
}
