// The 3 × 3 grid of the cross search: what its boxes offer, and what a choice in them asks.
#include "corpus/corpusdocument.h"
#include "forms/criteriagrid.h"
#include "forms/gui_base.h"

#include <QComboBox>
#include <QListView>
#include <QTest>

namespace {

CriteriaGrid::Boxes boxesOf(const GUI_Base& form)
{
    return {{{form.Lst_B11, form.Lst_B12, form.Lst_B13},
             {form.Lst_B21, form.Lst_B22, form.Lst_B23},
             {form.Lst_B31, form.Lst_B32, form.Lst_B33}}};
}

} // namespace

class TestCriteriaGrid : public QObject
{
    Q_OBJECT
private slots:
    void elementCombo();
    void valueCombo();
    void criteriaBoxesListAtMostTwenty();
};

void TestCriteriaGrid::elementCombo()
{
    const QString longName(60, u'n');
    const QList<ElementChoice> choices{
        {"- INDIFFERENT -", "- INDIFFERENT -"}, {"a", "a"}, {longName.left(50), longName}};
    GUI_Base form;
    CriteriaGrid grid(boxesOf(form));
    grid.offerElements(choices);
    for (QComboBox* combo : {form.Lst_B11, form.Lst_B21, form.Lst_B31}) {
        QCOMPARE(combo->count(), 3);
        QCOMPARE(combo->itemText(0), QStringLiteral("- INDIFFERENT -"));
        QCOMPARE(combo->itemText(2), QString(50, u'n'));
        QCOMPARE(CriteriaGrid::criterionAt(combo, 2), longName);
        QCOMPARE(combo->itemData(2, Qt::ToolTipRole).toString(), longName);
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(combo->isEnabled());
    }
    for (QComboBox* combo : {form.Lst_B12, form.Lst_B13, form.Lst_B22, form.Lst_B23, form.Lst_B32, form.Lst_B33}) {
        QCOMPARE(combo->count(), 0);
        QVERIFY(!combo->isEnabled());
    }
}

void TestCriteriaGrid::valueCombo()
{
    auto content = std::make_shared<CorpusContent>();
    content->rootName = QStringLiteral("bois corde vent");
    const QStringView texts(content->rootName);
    QComboBox combo;
    CriteriaGrid::offerValues(&combo, {texts.mid(0, 4), texts.mid(5, 5), texts.mid(11)}, content);
    // The box keeps alive the corpus its values are read from.
    const std::weak_ptr<const CorpusContent> held = content;
    content.reset();
    QVERIFY(!held.expired());
    QVERIFY(combo.isEnabled());
    QCOMPARE(combo.count(), 4);
    QCOMPARE(combo.currentText(), QStringLiteral("- INDIFFERENT -"));
    QCOMPARE(combo.itemText(2), QStringLiteral("corde"));
    QCOMPARE(combo.findText(QStringLiteral("vent")), 3);
    QCOMPARE(CriteriaGrid::criterionAt(&combo, 1), QStringLiteral("bois"));
    QCOMPARE(CriteriaGrid::currentCriterion(&combo), QStringLiteral("- INDIFFERENT -"));

    combo.clear();
    QVERIFY(held.expired());
    QCOMPARE(combo.count(), 0);
    QCOMPARE(CriteriaGrid::currentCriterion(&combo), QString());
    CriteriaGrid::offerValues(&combo, {}, nullptr);
    QVERIFY(!combo.isEnabled());
    QCOMPARE(combo.count(), 0);
}

void TestCriteriaGrid::criteriaBoxesListAtMostTwenty()
{
    // Thousands of values: the box opens a list of 20 rows, without measuring them all first.
    GUI_Base form;
    const CriteriaGrid grid(boxesOf(form));
    form.resize(800, 600);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    form.Onglets->setCurrentIndex(2);
    QString texts;
    std::vector<QStringView> values;
    for (int i = 0; i < 5000; ++i)
        texts += QStringLiteral("valeur %1;").arg(i, 5, 10, QLatin1Char('0'));
    for (int i = 0; i < 5000; ++i)
        values.push_back(QStringView(texts).mid(i * 13, 12));
    CriteriaGrid::offerValues(form.Lst_B12, values, nullptr);
    form.Lst_B12->showPopup();
    QListView* list = qobject_cast<QListView*>(form.Lst_B12->view());
    QVERIFY(list && list->isVisible());
    const int rowHeight = list->sizeHintForRow(0);
    QVERIFY(rowHeight > 0);
    QVERIFY2(list->viewport()->height() <= 20 * rowHeight, qPrintable(QString::number(list->viewport()->height())));
    QVERIFY(list->viewport()->height() >= 10 * rowHeight);
    form.Lst_B12->hidePopup();
}

QTEST_MAIN(TestCriteriaGrid)
#include "tst_criteriagrid.moc"
