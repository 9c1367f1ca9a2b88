#pragma once

#include "corpusdocument.h"
#include "searchresult.h"

#include <QPalette>
#include <QStringList>
#include <QStringView>
#include <vector>

class QComboBox;
class QLabel;
class QListView;
class QTextEdit;

// The one way every tab lists and shows its record.

// Lists the hit titles in the view (whose model is a ResultListModel) and the count in the label.
void fillResultList(const SearchResult& result, QListView* list, QLabel* countLabel = nullptr);
// Shows hit `row` in the text view, as plain text with the matches marked (the first 100,000 of
// them at most); empty when the record has no hits.
void showResultArticle(const SearchResult& result, int row, QTextEdit* view);
// The row of its record that the view shows, -1 when it shows none.
int shownRow(const QTextEdit* view);
// Makes the first row current, when there is one.
void selectFirstRow(QListView* list);
// The row of a clicked index of `list`, or -1 when it is no row of that list.
int clickedRow(const QListView* list, const QModelIndex& index);
// Shows the clicked (or keyboard-selected) hit of a list filled from `result`; a click on no row
// changes nothing, nor does one on the hit already shown, so a click that also moves the current
// row shows the article once.
void showClickedArticle(const SearchResult& result, const QListView* list, const QModelIndex& index, QTextEdit* view);

// Appends the choices ("- INDIFFERENT -" and the element names) and makes the first one current.
// Each entry keeps the element's whole name, which may be longer than what is shown.
void fillElementCombo(const QList<ElementChoice>& choices, QComboBox* combo);
// Offers "- INDIFFERENT -" and the values, enabled; with no values, leaves the box disabled. The
// values are views into the corpus: the box must be emptied before the corpus's articles are cleared.
void fillValueCombo(std::vector<QStringView> values, QComboBox* combo);
// What choosing entry `index` of a criteria box searches: the whole element name for a name,
// else the entry's text; empty when there is no such entry.
QString criterionAt(const QComboBox* combo, int index);
QString currentCriterion(const QComboBox* combo);

// The palette derived from the named colour, light grey when the name is no colour.
QPalette backgroundPalette(const QString& colourName);
