#pragma once

#include "backgroundpalette.h"
#include "searchresult.h"

class QTextEdit;

// Transitional: what the menu bar, its tests and the benchmark still call on an article view until
// they reach the tabs' panes (ResultPane). Goes with the last of those calls.

// Shows hit `row` in a view, as a pane does, and remembers the row for shownRow().
void showResultArticle(const SearchResult& result, int row, QTextEdit* view);
// The row that the view shows: its pane's when it has one, else the one last given above; -1 for none.
int shownRow(const QTextEdit* view);
