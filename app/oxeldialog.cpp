#include "oxeldialog.h"

#include "corpusfile.h"
#include "dialogs.h"
#include "resultview.h"
#include "settingsfile.h"
#include "titlefilter.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>

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
        m_corpusPath = QStringLiteral("EV_Sons.xml");
        loadCorpus();
        break;
    case 3:
        m_corpusPath = QStringLiteral("EV_Inventaire.xml");
        loadCorpus();
        break;
    default:
        break;
    }
}

void OxelDialog::clearResults()
{
    // The records point into the article list, which is about to go.
    m_resultSimple = m_resultCorpus = m_resultCroisee = SearchResult();
    m_corpus.clearArticles();
    showResults();
    for (QComboBox* combo : {Lst_B11, Lst_B12, Lst_B13, Lst_B21, Lst_B22, Lst_B23, Lst_B31, Lst_B32, Lst_B33})
        combo->clear();
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

        m_corpus.setElementNames(std::move(read.elementNames));
        m_corpus.setDocument(std::move(read.tree));
        m_corpus.buildArticleIndex();
        m_resultSimple = m_resultCorpus = m_resultCroisee = allArticles(m_corpus);
        showResults();

        const QStringList elementChoices = m_corpus.elementChoices();
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
