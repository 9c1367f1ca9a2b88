#include "oxeldialog.h"

#include "corpusfile.h"
#include "crosssearch.h"
#include "dialogs.h"
#include "fulltextsearch.h"
#include "resultview.h"
#include "settingsfile.h"
#include "titlefilter.h"
#include "workingfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>

const QString OxelDialog::captionPrefix = QStringLiteral("..:: Tarvane - Qt ::..    ");

namespace {

// The wait cursor for as long as a load runs, whichever way it ends.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

QString failureText(corpusfile::Status status)
{
    switch (status) {
    case corpusfile::Status::Missing:
        return QStringLiteral("Selectionnez un fichier XML");
    case corpusfile::Status::Unreadable:
        return QStringLiteral("Impossible de lire le fichier");
    case corpusfile::Status::OutOfMemory:
        return QStringLiteral("Mémoire insuffisante pour lire ce fichier");
    case corpusfile::Status::Malformed:
    case corpusfile::Status::Ok:
        break;
    }
    return QStringLiteral("Impossible de décoder le fichier XML");
}

} // namespace

OxelDialog::OxelDialog(Dialogs& dialogs, QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags)
    : GUI_Base(parent, name, modal, flags), m_dialogs(dialogs)
{
    runStartUpChoice();
    connectKeyboardBrowsing();
    for (QListView* list : {Lst_Art_Cro, Lst_Art, Lst_Corpus})
        selectFirstRow(list);
    Lst_B11->setFocus();
    Txt_Rech->setFocus();
}

OxelDialog::~OxelDialog() = default;

QGridLayout* OxelDialog::arrangeWindow()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Onglets, 1, 0);
    return grid;
}

void OxelDialog::runStartUpChoice()
{
    switch (m_dialogs.welcomeChoice(this)) {
    case 1:
        m_corpusPath =
            m_dialogs.openFileName(this, SettingsFile().value(SettingsFile::pathKey), QStringLiteral("*.xml"));
        loadCorpus();
        break;
    case 2:
        m_corpusPath = workingfiles::soundsCorpus;
        loadCorpus();
        break;
    case 3:
        m_corpusPath = workingfiles::inventoryCorpus;
        loadCorpus();
        break;
    default:
        break;
    }
}

void OxelDialog::clearResults()
{
    // The records and the value boxes point into the article list, which is about to go.
    for (QComboBox* combo : {Lst_B11, Lst_B12, Lst_B13, Lst_B21, Lst_B22, Lst_B23, Lst_B31, Lst_B32, Lst_B33})
        combo->clear();
    m_resultSimple = m_resultCorpus = m_resultCroisee = SearchResult();
    showResults();
    m_corpus.clearArticles();
}

void OxelDialog::showResults()
{
    fillResultList(m_resultSimple, Lst_Art, Txt_Nb);
    showResultArticle(m_resultSimple, 0, Txt_Art);
    fillResultList(m_resultCorpus, Lst_Corpus);
    showResultArticle(m_resultCorpus, 0, TxtView_Corpus);
    fillResultList(m_resultCroisee, Lst_Art_Cro, txt_nbcro);
    showResultArticle(m_resultCroisee, 0, Txt_Art_Cro);
}

void OxelDialog::loadCorpus()
{
    const WaitCursor waitCursor;
    for (;;) {
        clearResults();

        const QStringList appearance = SettingsFile().values({SettingsFile::colourKey, SettingsFile::fontKey});
        m_colourName = appearance.at(0);
        m_fontFamily = appearance.at(1);
        saveSettings();

        corpusfile::Result read = corpusfile::read(m_corpusPath);
        if (read.status != corpusfile::Status::Ok) {
            m_dialogs.warning(QStringLiteral("Probleme lors de l'ouverture du fichier XML"), failureText(read.status));
            if (!pickCorpusFile())
                return;
            saveSettings();
            continue;
        }

        m_corpus.setContent(std::move(*read.content));
        m_resultSimple = m_resultCorpus = m_resultCroisee = allArticles(m_corpus);
        showResults();

        const QList<ElementChoice> elementChoices = m_corpus.elementChoices();
        for (QComboBox* combo : {Lst_B11, Lst_B21, Lst_B31})
            fillElementCombo(elementChoices, combo);
        for (QComboBox* combo : {Lst_B12, Lst_B13, Lst_B22, Lst_B23, Lst_B32, Lst_B33})
            combo->setEnabled(false);

        setWindowTitle(captionPrefix + m_corpusPath);
        setPalette(backgroundPalette(m_colourName));
        return;
    }
}

void OxelDialog::saveSettings()
{
    SettingsFile().save(m_corpusPath, m_colourName, m_fontFamily);
}

bool OxelDialog::pickCorpusFile()
{
    const QString chosen = m_dialogs.openFileName(this, QString(), QStringLiteral("Fichiers XML (*.xml)"));
    if (chosen.isEmpty())
        return false;
    m_corpusPath = chosen;
    return true;
}

void OxelDialog::slotBt_Appliquer()
{
    SettingsFile().savePathOnly(m_corpusPath);
    loadCorpus();
}

void OxelDialog::slotCorpusEnter()
{
    m_resultCorpus = titleFilter(m_corpus, Txt_Corpus->text());
    fillResultList(m_resultCorpus, Lst_Corpus);
    showResultArticle(m_resultCorpus, 0, TxtView_Corpus);
    selectFirstRow(Lst_Corpus);
}

void OxelDialog::slotLstArtClick(const QModelIndex& index)
{
    showClickedArticle(m_resultSimple, Lst_Art, index, Txt_Art);
}

void OxelDialog::slotLstCorClick(const QModelIndex& index)
{
    showClickedArticle(m_resultCorpus, Lst_Corpus, index, TxtView_Corpus);
}

void OxelDialog::slotLstCroClick(const QModelIndex& index)
{
    showClickedArticle(m_resultCroisee, Lst_Art_Cro, index, Txt_Art_Cro);
}

void OxelDialog::slotBtRechClick()
{
    m_resultSimple =
        fullTextSearch(m_corpus, Txt_Rech->text(), queryMode(Lst_Type->currentIndex()), Chk_Cs->isChecked());
    fillResultList(m_resultSimple, Lst_Art, Txt_Nb);
    showResultArticle(m_resultSimple, 0, Txt_Art);
    selectFirstRow(Lst_Art);
}

namespace {

void empty(std::initializer_list<QComboBox*> combos)
{
    for (QComboBox* combo : combos)
        combo->clear();
}

void emptyAndDisable(std::initializer_list<QComboBox*> combos)
{
    for (QComboBox* combo : combos) {
        combo->clear();
        combo->setEnabled(false);
    }
}

void backToAny(std::initializer_list<QComboBox*> combos)
{
    for (QComboBox* combo : combos)
        combo->setCurrentIndex(0);
}

} // namespace

QStringList OxelDialog::criteriaUpTo(int position, const QString& own) const
{
    const QComboBox* const grid[] = {Lst_B11, Lst_B12, Lst_B13, Lst_B21, Lst_B22, Lst_B23, Lst_B31, Lst_B32, Lst_B33};
    QStringList criteria;
    for (int k = 0; k < position; ++k)
        criteria.append(currentCriterion(grid[k]));
    criteria.append(own);
    while (criteria.size() < 9)
        criteria.append(CorpusDocument::anyValue);
    return criteria;
}

void OxelDialog::runCrossSearch(const QStringList& criteria, QComboBox* target, const QString& element,
                                const QString& value)
{
    std::optional<CrossFill> fill;
    if (target)
        fill = CrossFill{element, value};
    QProgressBar* const bar = LoadCroisee;
    QElapsedTimer shown;
    const auto progress = [bar, &shown](int visited, int total) {
        if (visited == 0) {
            // A range of 0 to 0 would show a busy bar instead of an empty one.
            bar->setRange(0, std::max(total, 1));
            bar->setValue(0);
            shown.start();
        } else if (visited % 64 == 0 && shown.elapsed() >= 16) {
            // Each step the bar takes is painted at once; more than one a frame would only slow the walk.
            bar->setValue(visited);
            shown.start();
        }
    };
    CrossSearchOutcome outcome = crossSearch(m_corpus, criteria, fill, progress);
    if (target)
        fillValueCombo(std::move(outcome.values), target);
    bar->setValue(m_corpus.articleCount());
    bar->reset();

    m_resultCroisee = std::move(outcome.result);
    fillResultList(m_resultCroisee, Lst_Art_Cro, txt_nbcro);
    showResultArticle(m_resultCroisee, 0, Txt_Art_Cro);
    selectFirstRow(Lst_Art_Cro);
}

void OxelDialog::slotLstBal11Click(int index)
{
    const QString chosen = criterionAt(Lst_B11, index);
    backToAny({Lst_B21, Lst_B31});
    emptyAndDisable({Lst_B22, Lst_B23, Lst_B32, Lst_B33});
    Lst_B12->clear();
    Lst_B12->setEnabled(true);
    emptyAndDisable({Lst_B13});
    if (chosen == CorpusDocument::anyValue) {
        Lst_B12->setEnabled(false);
        Lst_B21->setEnabled(true);
    }
    m_resultCroisee = allArticles(m_corpus);
    runCrossSearch(criteriaUpTo(0, chosen), Lst_B12, chosen);
}

void OxelDialog::slotLstBal12Click(int index)
{
    const QString chosen = criterionAt(Lst_B12, index);
    empty({Lst_B13});
    backToAny({Lst_B21, Lst_B31});
    emptyAndDisable({Lst_B22, Lst_B23, Lst_B32, Lst_B33});
    runCrossSearch(criteriaUpTo(1, chosen), Lst_B13, currentCriterion(Lst_B11), chosen);
}

void OxelDialog::slotLstBal13Click(int index)
{
    const QString chosen = criterionAt(Lst_B13, index);
    backToAny({Lst_B21, Lst_B31});
    emptyAndDisable({Lst_B22, Lst_B23, Lst_B32, Lst_B33});
    runCrossSearch(criteriaUpTo(2, chosen));
}

void OxelDialog::slotLstBal21Click(int index)
{
    const QString chosen = criterionAt(Lst_B21, index);
    backToAny({Lst_B31});
    emptyAndDisable({Lst_B32, Lst_B33});
    Lst_B23->setEnabled(false);
    empty({Lst_B22, Lst_B23});
    runCrossSearch(criteriaUpTo(3, chosen), Lst_B22, chosen);
}

void OxelDialog::slotLstBal22Click(int index)
{
    const QString chosen = criterionAt(Lst_B22, index);
    empty({Lst_B23});
    backToAny({Lst_B31});
    emptyAndDisable({Lst_B32, Lst_B33});
    runCrossSearch(criteriaUpTo(4, chosen), Lst_B23, currentCriterion(Lst_B21), chosen);
}

void OxelDialog::slotLstBal23Click(int index)
{
    const QString chosen = criterionAt(Lst_B23, index);
    backToAny({Lst_B31});
    emptyAndDisable({Lst_B32, Lst_B33});
    runCrossSearch(criteriaUpTo(5, chosen));
}

void OxelDialog::slotLstBal31Click(int index)
{
    const QString chosen = criterionAt(Lst_B31, index);
    Lst_B33->setEnabled(false);
    empty({Lst_B32, Lst_B33});
    runCrossSearch(criteriaUpTo(6, chosen), Lst_B32, chosen);
}

void OxelDialog::slotLstBal32Click(int index)
{
    const QString chosen = criterionAt(Lst_B32, index);
    empty({Lst_B33});
    runCrossSearch(criteriaUpTo(7, chosen), Lst_B33, currentCriterion(Lst_B31), chosen);
}

void OxelDialog::slotLstBal33Click(int index)
{
    runCrossSearch(criteriaUpTo(8, criterionAt(Lst_B33, index)));
}

void OxelDialog::slotBt_ParcClick()
{
    const QString chosen = m_dialogs.openFileName(this, QString(), QStringLiteral("Fichiers XML (*.xml)"));
    if (!chosen.isEmpty())
        m_corpusPath = chosen;
}

void OxelDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    GUI_Base::keyPressEvent(event);
}

void OxelDialog::connectKeyboardBrowsing()
{
    // A click moves the current row too; the article already shown is not shown again.
    connect(Lst_Art->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { slotLstArtClick(current); });
    connect(Lst_Corpus->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { slotLstCorClick(current); });
    connect(Lst_Art_Cro->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { slotLstCroClick(current); });
}
