#include "app/qtfrench.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>
#include <QTranslator>

class TestQtFrench : public QObject
{
    Q_OBJECT
private slots:
    void standardTextsInFrench_data();
    void standardTextsInFrench();
};

void TestQtFrench::standardTextsInFrench_data()
{
    QTest::addColumn<QDialogButtonBox::StandardButton>("button");
    QTest::addColumn<QString>("text");
    QTest::newRow("cancel") << QDialogButtonBox::Cancel << "Annuler";
    QTest::newRow("yes") << QDialogButtonBox::Yes << "&Oui";
    QTest::newRow("no") << QDialogButtonBox::No << "&Non";
    QTest::newRow("save") << QDialogButtonBox::Save << "Enregistrer";
}

void TestQtFrench::standardTextsInFrench()
{
    QFETCH(QDialogButtonBox::StandardButton, button);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(QLocale::English));
    QTranslator translator;
    QVERIFY(installQtFrench(translator));
    QDialogButtonBox box(button);
    QCOMPARE(box.button(button)->text(), text);
}

QTEST_MAIN(TestQtFrench)
#include "tst_qtfrench.moc"
