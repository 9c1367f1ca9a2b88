#pragma once

#include "corpus/corpusdocument.h"
#include "search/crosssearch.h"

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
        int row = 0;
        int column = 0;
        QStringList criteria;          // the nine, in grid order
        QComboBox* target = nullptr;   // the box to refill with the values found, or none
        std::optional<CrossFill> fill; // what to offer there
    };

    explicit CriteriaGrid(const Boxes& boxes);

    QComboBox* box(int row, int column) const { return m_boxes[size_t(row)][size_t(column)]; }

    // Empties the nine boxes, which lets go of the corpus their values come from.
    void clear();
    // Offers the element names in column 1, each box at "- INDIFFERENT -"; disables the others.
    void offerElements(const QList<ElementChoice>& choices);
    // Entry `index` of the box at (row, column), both from 0, was chosen: what to search. Nothing
    // changes before the search has run, so that a cancelled one can leave the grid as it was.
    Search choose(int row, int column, int index) const;
    // The search ran: resets the boxes after the chosen one.
    void apply(const Search& search);
    // The search was cancelled: the chosen box goes back to the entry it showed before.
    void revert(const Search& search);
    // Keeps each box's current entry as the one a cancelled choice goes back to.
    void remember();
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
    std::array<std::array<int, size>, size> m_remembered{};
};
