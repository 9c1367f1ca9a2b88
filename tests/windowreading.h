#pragma once

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

// The pieces of the view's text shown marked (red).
inline QStringList markedPieces(const QTextEdit* view)
{
    QStringList pieces;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().foreground().color() == QColor(Qt::red))
                pieces << it.fragment().text();
        }
    }
    return pieces;
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
