#include "forms/gui_base.h"
#include "forms/resultlistmodel.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QPushButton>
#include <QSemaphore>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <stdexcept>

namespace {

// Records which overridden slot each signal reached.
class RecordingForm : public GUI_Base
{
public:
    QStringList calls;

    void slotBtRechClick() override { calls << QStringLiteral("BtRech"); }
    void slotCorpusEnter() override { calls << QStringLiteral("CorpusEnter"); }
    void slotLstArtClick(const QModelIndex& i) override { calls << QStringLiteral("Art %1").arg(i.row()); }
    void slotLstCorClick(const QModelIndex& i) override { calls << QStringLiteral("Cor %1").arg(i.row()); }
    void slotLstCroClick(const QModelIndex& i) override { calls << QStringLiteral("Cro %1").arg(i.row()); }
    void slotLstBal11Click(int i) override { calls << QStringLiteral("B11 %1").arg(i); }
    void slotLstBal12Click(int i) override { calls << QStringLiteral("B12 %1").arg(i); }
    void slotLstBal13Click(int i) override { calls << QStringLiteral("B13 %1").arg(i); }
    void slotLstBal21Click(int i) override { calls << QStringLiteral("B21 %1").arg(i); }
    void slotLstBal22Click(int i) override { calls << QStringLiteral("B22 %1").arg(i); }
    void slotLstBal23Click(int i) override { calls << QStringLiteral("B23 %1").arg(i); }
    void slotLstBal31Click(int i) override { calls << QStringLiteral("B31 %1").arg(i); }
    void slotLstBal32Click(int i) override { calls << QStringLiteral("B32 %1").arg(i); }
    void slotLstBal33Click(int i) override { calls << QStringLiteral("B33 %1").arg(i); }
    void callLanguageChange() { languageChange(); }
};

} // namespace

class TestGuiBase : public QObject
{
    Q_OBJECT
private slots:
    void widgetsAndTexts_data();
    void widgetsAndTexts();
    void initialState();
    void textChangeReachesFilter();
    void buttonReachesSearch();
    void combosReachTheirSlots_data();
    void combosReachTheirSlots();
    void listClicksReachTheirSlots_data();
    void listClicksReachTheirSlots();
    void focusOrder_data();
    void focusOrder();
    void languageChangeResets();
    void baseSlotsWarn_data();
    void baseSlotsWarn();
};

void TestGuiBase::widgetsAndTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("text");

    QTest::newRow("Txt_Corpus") << "Txt_Corpus"
                                << "QLineEdit"
                                << "";
    QTest::newRow("Lst_Corpus") << "Lst_Corpus"
                                << "QListView"
                                << "";
    QTest::newRow("TxtView_Corpus") << "TxtView_Corpus"
                                    << "QTextEdit"
                                    << "";
    QTest::newRow("Txt_Rech") << "Txt_Rech"
                              << "QLineEdit"
                              << "";
    QTest::newRow("TextLabel1") << "TextLabel1"
                                << "QLabel"
                                << "Nombre d'articles :";
    QTest::newRow("Txt_Nb") << "Txt_Nb"
                            << "QLabel"
                            << "0";
    QTest::newRow("Bt_Rech") << "Bt_Rech"
                             << "QPushButton"
                             << "Rechercher";
    QTest::newRow("Chk_Cs") << "Chk_Cs"
                            << "QCheckBox"
                            << "Respecter la casse";
    QTest::newRow("TextLabel_Dans") << "TextLabel_Dans"
                                    << "QLabel"
                                    << "Dans :";
    QTest::newRow("Lst_Dans") << "Lst_Dans"
                              << "QComboBox"
                              << "Tout l'article";
    QTest::newRow("Lst_Art") << "Lst_Art"
                             << "QListView"
                             << "";
    QTest::newRow("Txt_Art") << "Txt_Art"
                             << "QTextEdit"
                             << "";
    QTest::newRow("ButtonGroup13") << "ButtonGroup13"
                                   << "QGroupBox"
                                   << "Sélectionnez vos critères de recherche";
    QTest::newRow("TextLabel1_3") << "TextLabel1_3"
                                  << "QLabel"
                                  << "Nombre d'articles :";
    QTest::newRow("txt_nbcro") << "txt_nbcro"
                               << "QLabel"
                               << "0";
    QTest::newRow("LoadCroisee") << "LoadCroisee"
                                 << "QProgressBar"
                                 << "";
    QTest::newRow("Lst_Art_Cro") << "Lst_Art_Cro"
                                 << "QListView"
                                 << "";
    QTest::newRow("Txt_Art_Cro") << "Txt_Art_Cro"
                                 << "QTextEdit"
                                 << "";
}

void TestGuiBase::widgetsAndTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, text);
    GUI_Base form;
    QWidget* widget = form.findChild<QWidget*>(name);
    QVERIFY(widget);
    QVERIFY(widget->inherits(className.toLatin1().constData()));
    if (auto* label = qobject_cast<QLabel*>(widget))
        QCOMPARE(label->text(), text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        QCOMPARE(button->text(), text);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        QCOMPARE(group->title(), text);
    else if (auto* combo = qobject_cast<QComboBox*>(widget); combo && !text.isEmpty())
        QCOMPARE(combo->currentText(), text);
}

void TestGuiBase::initialState()
{
    GUI_Base form;
    QCOMPARE(form.objectName(), QStringLiteral("GUI_Base"));
    QCOMPARE(GUI_Base(nullptr, "autre").objectName(), QStringLiteral("autre"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Encyclopedie Valmorine"));
    QCOMPARE(form.Onglets->count(), 3);
    QCOMPARE(form.Onglets->tabText(0), QStringLiteral("Corpus"));
    QCOMPARE(form.Onglets->tabText(1), QStringLiteral("Recherche Simple"));
    QCOMPARE(form.Onglets->tabText(2), QStringLiteral("Recherche Croisée"));
    QCOMPARE(form.Onglets->widget(0), form.tab);
    QCOMPARE(form.Onglets->widget(2), form.tab_3);
    QCOMPARE(form.Lst_Type->count(), 3);
    QCOMPARE(form.Lst_Type->currentText(), QStringLiteral("Tous les termes"));
    QCOMPARE(form.Lst_Type->itemText(1), QStringLiteral("Au moins un des termes"));
    QCOMPARE(form.Lst_Type->itemText(2), QStringLiteral("Expression exacte"));
    QVERIFY(form.Bt_Rech->isDefault());
    QVERIFY(!form.Bt_Rech->isFlat());
    QVERIFY(!form.Lst_Type->isEditable());
    QCOMPARE(form.focusPolicy(), Qt::NoFocus); // no Tab stop of its own between the last control and the first
    for (QComboBox* combo : form.ButtonGroup13->findChildren<QComboBox*>()) {
        QCOMPARE(combo->count(), 0);
        QVERIFY(!combo->isEditable());
        QCOMPARE(combo->maxVisibleItems(), 20);
    }
    QCOMPARE(form.ButtonGroup13->findChildren<QComboBox*>().size(), 9);
}

void TestGuiBase::textChangeReachesFilter()
{
    RecordingForm form;
    QTest::keyClicks(form.Txt_Corpus, QStringLiteral("ab"));
    form.Txt_Corpus->clear();
    QCOMPARE(form.calls, QStringList({"CorpusEnter", "CorpusEnter", "CorpusEnter"}));
}

void TestGuiBase::buttonReachesSearch()
{
    RecordingForm form;
    QTest::mouseClick(form.Bt_Rech, Qt::LeftButton);
    QCOMPARE(form.calls, QStringList({"BtRech"}));
}

void TestGuiBase::combosReachTheirSlots_data()
{
    QTest::addColumn<QString>("name");
    for (const char* name :
         {"Lst_B11", "Lst_B12", "Lst_B13", "Lst_B21", "Lst_B22", "Lst_B23", "Lst_B31", "Lst_B32", "Lst_B33"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestGuiBase::combosReachTheirSlots()
{
    QFETCH(QString, name);
    RecordingForm form;
    auto* combo = form.findChild<QComboBox*>(name);
    QVERIFY(combo);
    combo->addItems({"a", "b", "c"});
    emit combo->activated(2);
    QCOMPARE(form.calls, QStringList({name.mid(4) + QStringLiteral(" 2")}));
}

void TestGuiBase::listClicksReachTheirSlots_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("call");
    QTest::newRow("Lst_Art") << "Lst_Art"
                             << "Art 1";
    QTest::newRow("Lst_Corpus") << "Lst_Corpus"
                                << "Cor 1";
    QTest::newRow("Lst_Art_Cro") << "Lst_Art_Cro"
                                 << "Cro 1";
}

void TestGuiBase::listClicksReachTheirSlots()
{
    QFETCH(QString, name);
    QFETCH(QString, call);
    RecordingForm form;
    auto* list = form.findChild<QListView*>(name);
    ArticleEntry a, b;
    a.title = QStringLiteral("UN");
    b.title = QStringLiteral("DEUX");
    b.number = 1;
    SearchResult result;
    result.addHit(a);
    result.addHit(b);
    auto* model = new ResultListModel(list);
    model->setResult(result);
    list->setModel(model);
    form.show();
    QWidget* page = list;
    while (page && form.Onglets->indexOf(page) < 0)
        page = page->parentWidget();
    form.Onglets->setCurrentWidget(page);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QRect second = list->visualRect(list->model()->index(1, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second.center());
    // Below the last row: no item, no call.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, list->viewport()->height() - 3));
    QCOMPARE(form.calls, QStringList({call}));
}

void TestGuiBase::focusOrder_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QStringList>("order"); // from the page's first control round to it again
    const QString tabBar = QStringLiteral("qt_tabwidget_tabbar");
    QTest::newRow("Corpus") << 0 << QStringList()
                            << QStringList{"Txt_Corpus", "Lst_Corpus", "TxtView_Corpus", tabBar, "Txt_Corpus"};
    QTest::newRow("Recherche Simple") << 1 << QStringList()
                                      << QStringList{"Txt_Rech", "Bt_Rech", "Lst_Type", "Lst_Dans", "Chk_Cs",
                                                     "Lst_Art",  "Txt_Art", tabBar,     "Txt_Rech"};
    QTest::newRow("Recherche Croisée") << 2 << QStringList()
                                       << QStringList{"Lst_B11",     "Lst_B12", "Lst_B13", "Lst_B21", "Lst_B22",
                                                      "Lst_B23",     "Lst_B31", "Lst_B32", "Lst_B33", "Lst_Art_Cro",
                                                      "Txt_Art_Cro", tabBar,    "Lst_B11"};
    QTest::newRow("Recherche Croisée, values disabled")
        << 2 << QStringList{"Lst_B12", "Lst_B13", "Lst_B22", "Lst_B23", "Lst_B32", "Lst_B33"}
        << QStringList{"Lst_B11", "Lst_B21", "Lst_B31", "Lst_Art_Cro", "Txt_Art_Cro", tabBar, "Lst_B11"};
}

void TestGuiBase::focusOrder()
{
    QFETCH(int, page);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, order);
    GUI_Base form;
    for (const QString& name : disabled)
        form.findChild<QWidget*>(name)->setEnabled(false);
    form.Onglets->setCurrentIndex(page);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    form.findChild<QWidget*>(order.first())->setFocus();

    QStringList forward{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(forward, order);

    QStringList backward{QApplication::focusWidget()->objectName()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        backward.prepend(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(backward, order);
}

void TestGuiBase::languageChangeResets()
{
    RecordingForm form;
    form.Txt_Nb->setText(QStringLiteral("42"));
    form.txt_nbcro->setText(QStringLiteral("7"));
    form.Lst_Type->setCurrentIndex(2);
    form.Onglets->setTabText(0, QStringLiteral("x"));
    form.setWindowTitle(QStringLiteral("autre"));
    form.callLanguageChange();
    QCOMPARE(form.Txt_Nb->text(), QStringLiteral("0"));
    QCOMPARE(form.txt_nbcro->text(), QStringLiteral("0"));
    QCOMPARE(form.Lst_Type->count(), 3);
    QCOMPARE(form.Lst_Type->currentIndex(), 0);
    QCOMPARE(form.Onglets->tabText(0), QStringLiteral("Corpus"));
    QCOMPARE(form.windowTitle(), QStringLiteral("Encyclopedie Valmorine"));
}

void TestGuiBase::baseSlotsWarn_data()
{
    QTest::addColumn<QString>("slot");
    QTest::addColumn<QString>("message");
    QTest::newRow("search") << "slotBtRechClick"
                            << "GUI_Base::slotBtRechClick(): Not implemented yet";
    QTest::newRow("apply") << "slotBt_Appliquer"
                           << "GUI_Base::slotBt_Appliquer(): Not implemented yet";
    QTest::newRow("browse") << "slotBt_ParcClick"
                            << "GUI_Base::slotBt_ParcClick(): Not implemented yet";
    QTest::newRow("filter") << "slotCorpusEnter"
                            << "GUI_Base::slotCorpusEnter(): Not implemented yet";
}

void TestGuiBase::baseSlotsWarn()
{
    QFETCH(QString, slot);
    QFETCH(QString, message);
    GUI_Base form;
    QTest::ignoreMessage(QtWarningMsg, message.toUtf8().constData());
    QVERIFY(QMetaObject::invokeMethod(&form, slot.toLatin1().constData()));
}

QTEST_MAIN(TestGuiBase)
#include "tst_guibase.moc"
