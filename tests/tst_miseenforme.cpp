#include "forms/miseenforme.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

const std::vector<RoleRow> corpusRows{{QStringLiteral("entree"), 12345, ElementRole::Title},
                                      {QStringLiteral("def"), 9, ElementRole::Paragraph},
                                      {QStringLiteral("i"), 1500000, ElementRole::Italic},
                                      {QStringLiteral("auteur"), 0, ElementRole::Normal}};

QStringList roleNames(const MiseEnForme& dialog)
{
    QStringList names;
    for (const ElementRole role : dialog.roles())
        names.append(ElementRoles::roleName(role));
    return names;
}

// Each row's cells as shown, joined by " | ".
QStringList shown(const QTableWidget* table)
{
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows.append(table->item(row, 0)->text() + " | " + table->item(row, 1)->text() + " | " +
                    table->item(row, 2)->text());
    return rows;
}

void clickRow(QTableWidget* table, int row, Qt::KeyboardModifiers modifiers = {})
{
    QTest::mouseClick(table->viewport(), Qt::LeftButton, modifiers,
                      table->visualItemRect(table->item(row, 0)).center());
}

} // namespace

class TestMiseEnForme : public QObject
{
    Q_OBJECT
private slots:
    void rolesForSelectedRows_data();
    void rolesForSelectedRows();
    void listFollowsCurrentRow();
    void endings_data();
    void endings();
};

void TestMiseEnForme::rolesForSelectedRows_data()
{
    QTest::addColumn<int>("sortColumn");     // the header clicked first, if any
    QTest::addColumn<QList<int>>("clicked"); // rows as shown; every click after the first with Ctrl
    QTest::addColumn<QString>("keys");       // typed in the list of roles
    QTest::addColumn<QStringList>("table");
    QTest::addColumn<QStringList>("roles");
    QTest::newRow("none chosen") << -1 << QList<int>{} << ""
                                 << QStringList{QStringLiteral("entree | 12\u202F345 | Titre"), "def | 9 | Paragraphe",
                                                QStringLiteral("i | 1\u202F500\u202F000 | Italique"),
                                                "auteur | 0 | Normal"}
                                 << QStringList{"Titre", "Paragraphe", "Italique", "Normal"};
    QTest::newRow("one row") << -1 << QList<int>{1} << "G"
                             << QStringList{QStringLiteral("entree | 12\u202F345 | Titre"), "def | 9 | Gras",
                                            QStringLiteral("i | 1\u202F500\u202F000 | Italique"), "auteur | 0 | Normal"}
                             << QStringList{"Titre", "Gras", "Italique", "Normal"};
    QTest::newRow("several rows") << -1 << QList<int>{0, 2, 3} << "Ex"
                                  << QStringList{QStringLiteral("entree | 12\u202F345 | Exposant"),
                                                 "def | 9 | Paragraphe",
                                                 QStringLiteral("i | 1\u202F500\u202F000 | Exposant"),
                                                 "auteur | 0 | Exposant"}
                                  << QStringList{"Exposant", "Paragraphe", "Exposant", "Exposant"};
    QTest::newRow("sorted by count") << 1 << QList<int>{3} << "Pe"
                                     << QStringList{"auteur | 0 | Normal", "def | 9 | Paragraphe",
                                                    QStringLiteral("entree | 12\u202F345 | Titre"),
                                                    QStringLiteral("i | 1\u202F500\u202F000 | Petites capitales")}
                                     << QStringList{"Titre", "Paragraphe", "Petites capitales", "Normal"};
}

void TestMiseEnForme::rolesForSelectedRows()
{
    QFETCH(int, sortColumn);
    QFETCH(QList<int>, clicked);
    QFETCH(QString, keys);
    QFETCH(QStringList, table);
    QFETCH(QStringList, roles);
    MiseEnForme dialog(corpusRows);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    auto* rows = dialog.findChild<QTableWidget*>(QStringLiteral("Tab_Roles"));
    if (sortColumn >= 0) {
        const QHeaderView* header = rows->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(sortColumn) + 5, header->height() / 2));
    }
    for (qsizetype i = 0; i < clicked.size(); ++i)
        clickRow(rows, clicked[i], i == 0 ? Qt::NoModifier : Qt::ControlModifier);
    QTest::keyClicks(dialog.findChild<QComboBox*>(QStringLiteral("Lst_Role")), keys);
    QCOMPARE(shown(rows), table);
    QCOMPARE(roleNames(dialog), roles);
}

void TestMiseEnForme::listFollowsCurrentRow()
{
    MiseEnForme dialog(corpusRows);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* rows = dialog.findChild<QTableWidget*>(QStringLiteral("Tab_Roles"));
    const auto* list = dialog.findChild<QComboBox*>(QStringLiteral("Lst_Role"));
    QCOMPARE(list->currentText(), QStringLiteral("Titre"));
    QTest::keyClick(rows, Qt::Key_Down);
    QCOMPARE(list->currentText(), QStringLiteral("Paragraphe"));
    clickRow(rows, 3);
    QCOMPARE(list->currentText(), QStringLiteral("Normal"));
    // Following the rows chooses nothing.
    QCOMPARE(roleNames(dialog), (QStringList{"Titre", "Paragraphe", "Italique", "Normal"}));
    QTest::keyClick(rows, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), list);
}

void TestMiseEnForme::endings_data()
{
    QTest::addColumn<QString>("ending");
    QTest::addColumn<int>("result");
    QTest::newRow("OK clicked") << "OK" << 1;
    QTest::newRow("Enter") << "Enter" << 1;
    QTest::newRow("Annuler clicked") << "Annuler" << 0;
    QTest::newRow("Escape") << "Escape" << 0;
}

void TestMiseEnForme::endings()
{
    QFETCH(QString, ending);
    QFETCH(int, result);
    MiseEnForme dialog(corpusRows);
    dialog.setResult(-1);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    if (ending == "Enter")
        QTest::keyClick(dialog.focusWidget(), Qt::Key_Return);
    else if (ending == "Escape")
        QTest::keyClick(&dialog, Qt::Key_Escape);
    for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>(QStringLiteral("Btn_Boutons"))->buttons()) {
        if (button->text() == ending)
            QTest::mouseClick(button, Qt::LeftButton);
    }
    QCOMPARE(dialog.result(), result);
    QVERIFY(!dialog.isVisible());
}

QTEST_MAIN(TestMiseEnForme)
#include "tst_miseenforme.moc"
