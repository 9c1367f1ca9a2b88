#include "corpus/htmlpage.h"
#include "forms/acc.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <sys/stat.h>

class TestAcc : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void form();
    void buttonsEndWithTheirCode_data();
    void buttonsEndWithTheirCode();
    void escapeGivesNoChoice();
    void enterPressesPersonalFile();
    void background_data();
    void background();
    void welcomePageKeepsLineBreaks();
    void missingResourcesAreSilent();
    void welcomePageThatIsNoFile();
    void formSlotsWarn();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
};

void TestAcc::init()
{
    m_previousDir = QDir::currentPath();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir::setCurrent(m_dir->path()));
}

void TestAcc::cleanup()
{
    QDir::setCurrent(m_previousDir);
}

void TestAcc::form()
{
    Acc dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("..:: Tarvane - Qt ::.."));
    QCOMPARE(dialog.objectName(), QStringLiteral("accueil"));
    QCOMPARE(dialog.bt2->text(), QStringLiteral("Les sons dans l'Encyclopédie Valmorine"));
    QCOMPARE(dialog.bt3->text(), QStringLiteral("Les dictionnaires de l'Encyclopédie Valmorine"));
    QCOMPARE(dialog.bt1->text(), QStringLiteral("Fichier personnel"));
    QVERIFY(dialog.bt1->isDefault());
    QVERIFY(!dialog.TextLabel1->text().isEmpty());
    QCOMPARE(dialog.pic->minimumSize(), QSize(412, 156));
    QVERIFY(dialog.width() >= 871 && dialog.height() >= 401);
    accueil form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Accueil"));
}

void TestAcc::buttonsEndWithTheirCode_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("code");
    QTest::newRow("personal file") << "bt1" << 1;
    QTest::newRow("sounds") << "bt2" << 2;
    QTest::newRow("dictionaries") << "bt3" << 3;
}

void TestAcc::buttonsEndWithTheirCode()
{
    QFETCH(QString, button);
    QFETCH(int, code);
    Acc dialog;
    dialog.show();
    QTest::mouseClick(dialog.findChild<QPushButton*>(button), Qt::LeftButton);
    QCOMPARE(dialog.result(), code);
    QVERIFY(!dialog.isVisible());
}

void TestAcc::escapeGivesNoChoice()
{
    Acc dialog;
    dialog.setResult(9);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QCOMPARE(dialog.result(), 0);
    QVERIFY(!dialog.isVisible());
}

void TestAcc::enterPressesPersonalFile()
{
    Acc dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    dialog.Txt->setFocus();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QCOMPARE(dialog.result(), 1);
}

void TestAcc::background_data()
{
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("valid") << QByteArray("chemin=\ncouleur=#804020\n") << QColor(0x80, 0x40, 0x20);
    QTest::newRow("last wins") << QByteArray("couleur=red\ncouleur=blue\n") << QColor(Qt::blue);
    QTest::newRow("invalid") << QByteArray("couleur=bleu\n") << QColor(Qt::lightGray);
    QTest::newRow("no file") << QByteArray() << QColor(Qt::lightGray);
}

void TestAcc::background()
{
    QFETCH(QByteArray, settings);
    QFETCH(QColor, colour);
    if (!settings.isEmpty())
        testfiles::write(QStringLiteral("oxel.conf"), settings);
    Acc dialog;
    QCOMPARE(dialog.palette().color(QPalette::Button), colour);
}

void TestAcc::welcomePageKeepsLineBreaks()
{
    testfiles::write(QStringLiteral("accueil.html"),
                     "<html><head><meta charset=\"utf-8\"></head><body><p>Bienvenue dans\nl'Encyclop\xC3\xA9"
                     "die\r\nValmorine.</p></body></html>\n");
    Acc dialog;
    QVERIFY(dialog.Txt->toPlainText().contains(QStringLiteral("Bienvenue dans l'Encyclopédie Valmorine.")));

    testfiles::write(QStringLiteral("accueil.html"),
                     "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\"></head>"
                     "<body>\xC9t\xE9</body></html>");
    QCOMPARE(htmlpage::read(QStringLiteral("accueil.html")).contains(QStringLiteral("Été")), true);
}

void TestAcc::welcomePageThatIsNoFile()
{
    // A pipe of that name would block a reader forever; a directory is no page either.
    QVERIFY(::mkfifo("accueil.html", 0600) == 0);
    QVERIFY(htmlpage::read(QStringLiteral("accueil.html")).isEmpty());
    QVERIFY(QDir().mkdir(QStringLiteral("about.html")));
    QVERIFY(htmlpage::read(QStringLiteral("about.html")).isEmpty());
}

void TestAcc::missingResourcesAreSilent()
{
    Acc dialog;
    QVERIFY(dialog.Txt->toPlainText().isEmpty());
    QVERIFY(dialog.bt1->icon().isNull());
    QVERIFY(!dialog.bt1->text().isEmpty()); // a button without picture still says what it does
}

void TestAcc::formSlotsWarn()
{
    accueil form;
    QTest::ignoreMessage(QtWarningMsg, "accueil::bt2Click(): Not implemented yet");
    QTest::mouseClick(form.bt2, Qt::LeftButton);
}

QTEST_MAIN(TestAcc)
#include "tst_acc.moc"
