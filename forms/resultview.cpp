#include "resultview.h"

#include "resultpane.h"

#include <QTextEdit>

namespace {

const char* const shownRowProperty = "tarvaneShownRow";

} // namespace

void showResultArticle(const SearchResult& result, int row, QTextEdit* view)
{
    ResultPane::showArticle(result, row, view);
    view->setProperty(shownRowProperty, row >= 0 && row < result.count() ? row : -1);
}

int shownRow(const QTextEdit* view)
{
    for (const ResultPane* pane : view->window()->findChildren<const ResultPane*>()) {
        if (pane->view() == view)
            return pane->shownRow();
    }
    const QVariant row = view->property(shownRowProperty);
    return row.isValid() ? row.toInt() : -1;
}
