#pragma once

#include "forms/articleview.h"

#include <QAbstractItemModel>
#include <QColor>
#include <QComboBox>
#include <QListView>
#include <QStringList>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

// What the suites that drive the window read of it, and how they make a choice in a box.
namespace windowreading {

// The rows of a list as shown.
inline QStringList listed(const QListView* list)
{
    QStringList rows;
    for (int r = 0; r < list->model()->rowCount(); ++r)
        rows << list->model()->index(r, 0).data().toString();
    return rows;
}

// The entries of a box as shown.
inline QStringList items(const QComboBox* combo)
{
    QStringList result;
    for (int i = 0; i < combo->count(); ++i)
        result << combo->itemText(i);
    return result;
}

// The pieces of the article shown marked (red), as the article has them: a piece that only what the
// view puts in (a line, a heading) parts is one.
inline QStringList markedPieces(const ArticleView* view)
{
    QStringList pieces;
    int start = -1;
    int end = -1;
    const auto close = [&] {
        if (start >= 0)
            pieces << view->articleText(start, end);
    };
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().foreground().color() != QColor(Qt::red))
                continue;
            const int position = it.fragment().position();
            if (start < 0 || view->articlePosition(end) != view->articlePosition(position)) {
                close();
                start = position;
            }
            end = position + it.fragment().length();
        }
    }
    close();
    return pieces;
}

// The article's own characters that the view shows, whatever it puts in to show them.
inline QString shownArticle(const ArticleView* view)
{
    return view->articleText(0, view->document()->characterCount());
}

// A choice as the user makes it: the entry becomes current, then the box reports its activation.
inline void choose(QComboBox* combo, const QString& text)
{
    const int index = combo->findText(text);
    QVERIFY2(index >= 0, qPrintable(combo->objectName() + QStringLiteral(" has no ") + text));
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

} // namespace windowreading
