#pragma once

#include "corpusdocument.h"
#include "crosssearch.h"

#include <QStringList>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

class QComboBox;

// The nine criteria boxes of the cross search, row by row: column 1 offers element names, column 2
// the values of the row's element, column 3 the texts of that element carrying the chosen value.
// A choice resets the rows after it and says what to search and which box the search refills.
class CriteriaGrid
{
public:
    static constexpr int size = 3;
    using Boxes = std::array<std::array<QComboBox*, size>, size>; // [row][column]

    // What a choice asks of the cross search.
    struct Search
    {
        QStringList criteria;          // the nine, in grid order
        QComboBox* target;             // the box to refill with the values found, or none
        std::optional<CrossFill> fill; // what to offer there
    };

    explicit CriteriaGrid(const Boxes& boxes);

    QComboBox* box(int row, int column) const { return m_boxes[size_t(row)][size_t(column)]; }

    // Empties the nine boxes, which lets go of the corpus their values come from.
    void clear();
    // Offers the element names in column 1, each box at "- INDIFFERENT -"; disables the others.
    void offerElements(const QList<ElementChoice>& choices);
    // Entry `index` of the box at (row, column), both from 0, was chosen: resets the boxes after it.
    Search choose(int row, int column, int index);
    // Offers "- INDIFFERENT -" and the values in `target`, enabled; with no values, leaves it
    // disabled. The values are views into `content`, which the box keeps alive.
    static void offerValues(QComboBox* target, std::vector<QStringView> values,
                            std::shared_ptr<const CorpusContent> content);

    // What choosing entry `index` of a box searches: the whole element name for a name, the value
    // as it stands in the text for a value; empty when there is no such entry.
    static QString criterionAt(const QComboBox* box, int index);
    static QString currentCriterion(const QComboBox* box);

private:
    // Puts the rows after `row` back: column 1 on "- INDIFFERENT -", the others empty and disabled.
    void resetRowsAfter(int row);

    Boxes m_boxes;
};
