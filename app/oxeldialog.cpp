#include "oxeldialog.h"

#include "accentfolding.h"
#include "articlefont.h"
#include "articleview.h"
#include "backgroundpalette.h"
#include "concordancewindow.h"
#include "corpusfile.h"
#include "crosssearch.h"
#include "dialogs.h"
#include "fulltextsearch.h"
#include "nativename.h"
#include "settingsfile.h"
#include "termmatcher.h"
#include "titlefilter.h"
#include "titlelookup.h"
#include "workingfiles.h"
#include "xmlfilechoice.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextCursor>
#include <QWheelEvent>
#include <algorithm>

const QString OxelDialog::captionPrefix = QStringLiteral("..:: Tarvane - Qt ::..    ");
const QString OxelDialog::accentsKey = QStringLiteral("accents");
const QString OxelDialog::zoomKey = QStringLiteral("zoom");
const QString OxelDialog::geometryKey = QStringLiteral("geometrie");
const QString OxelDialog::tabKey = QStringLiteral("onglet");
const QString OxelDialog::splitterKey = QStringLiteral("separateurs");

namespace {

const QString searchingText = QStringLiteral("Recherche en cours…");

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

OxelDialog::OxelDialog(Dialogs& dialogs, QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags,
                       const QString& startPath)
    : OxelDialog(dialogs, Unstarted(), parent, name, modal, flags)
{
    start(startPath);
}

OxelDialog::OxelDialog(Dialogs& dialogs, Unstarted, QWidget* parent, const char* name, bool modal,
                       Qt::WindowFlags flags)
    : GUI_Base(parent, name, modal, flags), m_dialogs(dialogs),
      m_simplePane(Lst_Art, Txt_Nb, Txt_Art, this,
                   {Layout16, Layout16->indexOf(Txt_Nb) + 1, Layout_Article_Simple, Chk_Cs}),
      m_corpusPane(Lst_Corpus, nullptr, TxtView_Corpus, this, {Layout_Occ_Corpus, 0, Layout_Article_Corpus, nullptr}),
      m_crossPane(Lst_Art_Cro, txt_nbcro, Txt_Art_Cro, this,
                  {Layout18, Layout18->indexOf(txt_nbcro) + 1, Layout_Article_Cro, nullptr}),
      m_criteria({{{Lst_B11, Lst_B12, Lst_B13}, {Lst_B21, Lst_B22, Lst_B23}, {Lst_B31, Lst_B32, Lst_B33}}}),
      m_articleFont(TxtView_Corpus->font()), m_loadRunner(Barre_Chargement, Progression_Chargement)
{
    // Read once: every load, and every path into one, keeps what the user chose.
    const QStringList reading =
        SettingsFile().values({SettingsFile::colourKey, SettingsFile::fontKey, accentsKey, zoomKey});
    m_colourName = reading.at(0);
    m_fontFamily = reading.at(1);
    applyAppearance();
    m_ignoreAccents = reading.at(2) == QLatin1String("1");
    bool zoomRead = false;
    const int zoom = reading.at(3).toInt(&zoomRead);
    if (zoomRead && zoom != 0) {
        m_zoom = std::clamp(zoom, minimumZoom, maximumZoom);
        articlefont::apply(*this, articlefont::zoomed(m_articleFont, m_zoom));
    }
    for (ArticleView* view : {TxtView_Corpus, Txt_Art, Txt_Art_Cro}) {
        view->viewport()->installEventFilter(this);
        connect(view, &ArticleView::wordDoubleClicked, this, &OxelDialog::lookUpWord);
    }
    for (ResultPane* pane : {&m_simplePane, &m_corpusPane, &m_crossPane}) {
        pane->setWordFinder([this](const QString& text, const QString& word, Qt::CaseSensitivity cs, qsizetype limit) {
            return findWords(text, word, cs, limit);
        });
    }
    connect(Txt_Corpus, &QLineEdit::returnPressed, this, &OxelDialog::showBestTitle);
    // Going back to an earlier title list puts back the text that made it.
    connect(&m_corpusPane, &ResultPane::recordRestored, this, [this] {
        const QSignalBlocker quiet(Txt_Corpus);
        Txt_Corpus->setText(m_corpusPane.record().phrase());
    });
    connect(Onglets, &QTabWidget::currentChanged, this, &OxelDialog::followCurrentTab);
    followCurrentTab();
}

void OxelDialog::start(const QString& startPath)
{
    if (SettingsFile().kind() == SettingsFile::Kind::Foreign)
        report(SettingsFile::Outcome::LeftAlone);
    runStartUpChoice(startPath);
    for (ResultPane* pane : {&m_crossPane, &m_simplePane, &m_corpusPane})
        pane->makeFirstRowCurrent();
    Lst_B11->setFocus();
    Txt_Rech->setFocus();
}

void OxelDialog::showAsLeft()
{
    if (restoreLayout())
        show();
    else
        showMaximized();
}

OxelDialog::~OxelDialog() = default;

QGridLayout* OxelDialog::arrangeWindow()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Onglets, 1, 0);
    grid->addWidget(Barre_Chargement, 2, 0);
    return grid;
}

void OxelDialog::runStartUpChoice(const QString& startPath)
{
    if (!startPath.isEmpty()) {
        m_corpusPath = startPath;
        saveSettings();
        if (loadOnce())
            return;
    }
    switch (m_dialogs.welcomeChoice(this)) {
    case 1:
        m_corpusPath = xmlfilechoice::choose(m_dialogs, this, SettingsFile().value(SettingsFile::pathKey),
                                             QStringLiteral("*.xml"));
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
    // The old corpus goes before the next is read, so that the two are never held at once.
    m_corpusLoaded = false;
    m_criteria.clear();
    for (ResultPane* pane : {&m_simplePane, &m_corpusPane, &m_crossPane}) {
        pane->show(SearchResult());
        pane->forgetHistory();
    }
    // An open concordance would list, and keep alive, the corpus being let go.
    if (m_concordance)
        m_concordance->showResult(SearchResult());
    m_corpus.clearArticles();
    m_titleFilter = TitleFilter();
    // The element names stay with a failed load, and so do the scopes they offer.
    Lst_Dans->setCurrentIndex(0);
}

void OxelDialog::followCurrentTab()
{
    const QWidget* page = Onglets->currentWidget();
    for (ResultPane* pane : {&m_simplePane, &m_corpusPane, &m_crossPane})
        pane->setOnScreen(page && page->isAncestorOf(pane->view()));
}

void OxelDialog::offerScopes(const QList<ElementChoice>& choices)
{
    const QString whole = Lst_Dans->itemText(0);
    Lst_Dans->clear();
    Lst_Dans->addItem(whole);
    // The first choice of the grid is "- INDIFFERENT -": here it is the whole article.
    for (qsizetype i = 1; i < choices.size(); ++i)
        Lst_Dans->addItem(choices.at(i).shown, choices.at(i).name);
}

SearchScope OxelDialog::chosenScope() const
{
    if (Lst_Dans->currentIndex() <= 0)
        return {};
    return {Lst_Dans->currentData().toString()};
}

void OxelDialog::loadCorpus()
{
    // Only a timer could ask while a load runs: one load at a time.
    if (isLoading())
        return;
    const WaitCursor waitCursor;
    // The settings file names the new corpus while it loads.
    saveSettings();
    while (!loadOnce()) {
        if (!pickCorpusFile())
            return;
        saveSettings();
    }
}

bool OxelDialog::loadOnce()
{
    const WaitCursor waitCursor;
    clearResults();

    corpusfile::Result read;
    const QString path = m_corpusPath;
    m_loadRunner.run([&read, &path](const LoadRunner::Report& report) { read = corpusfile::read(path, {}, report); },
                     [this] {
                         // Loaded from the command line, the window is not shown yet.
                         if (!isVisible())
                             showAsLeft();
                     });
    if (m_closeWhenLoaded) {
        m_closeWhenLoaded = false;
        // Once this load and what follows it (a warning, another file to choose) are over.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    if (read.status != corpusfile::Status::Ok) {
        m_dialogs.warning(QStringLiteral("Probleme lors de l'ouverture du fichier XML"), failureText(read.status));
        return false;
    }

    m_corpus.setContent(std::move(*read.content));
    m_corpusLoaded = true;
    // Ready before the first key: indexing on it would make that key wait at a gigabyte.
    m_titleFilter = TitleFilter(TitleIndex(m_corpus.content()));
    // The index's list of every article, not a second one.
    const SearchResult every = m_titleFilter.allArticles();
    m_simplePane.show(every);
    m_corpusPane.show(every);
    m_crossPane.show(every);
    // Sorted once for both: a corpus may have tens of thousands of element names.
    const QList<ElementChoice> choices = m_corpus.elementChoices();
    m_criteria.offerElements(choices);
    offerScopes(choices);

    setWindowTitle(captionPrefix + nativename::shown(m_corpusPath));
    applyAppearance();
    return true;
}

void OxelDialog::applyAppearance()
{
    setPalette(backgroundPalette(m_colourName));
    if (!m_fontFamily.isEmpty())
        m_articleFont.setFamily(m_fontFamily);
    articlefont::applyFamily(*this, m_fontFamily);
}

void OxelDialog::saveSettings()
{
    report(SettingsFile().save(m_corpusPath, m_colourName, m_fontFamily));
}

void OxelDialog::report(SettingsFile::Outcome outcome)
{
    // Once a run: a warning at every zoom step or option would make the window unusable.
    if (outcome == SettingsFile::Outcome::NotWritten && !m_toldNotWritten) {
        m_toldNotWritten = true;
        m_dialogs.warning(QStringLiteral("Réglages"), QStringLiteral("Impossible d'enregistrer les réglages"));
    } else if (outcome == SettingsFile::Outcome::LeftAlone && !m_toldLeftAlone) {
        m_toldLeftAlone = true;
        m_dialogs.warning(QStringLiteral("Réglages"),
                          QStringLiteral("Le fichier de réglages %1 n'est pas lisible ; il ne sera pas modifié")
                              .arg(SettingsFile::defaultFileName));
    }
}

bool OxelDialog::pickCorpusFile()
{
    const QString chosen = xmlfilechoice::choose(m_dialogs, this);
    if (chosen.isEmpty())
        return false;
    m_corpusPath = chosen;
    return true;
}

void OxelDialog::slotBt_Appliquer()
{
    // Only the path is kept: colour and font go back to their defaults.
    report(SettingsFile().savePathOnly(m_corpusPath));
    m_colourName.clear();
    m_fontFamily.clear();
    loadCorpus();
}

void OxelDialog::slotCorpusEnter()
{
    m_corpusPane.show(m_titleFilter.filter(Txt_Corpus->text(), m_ignoreAccents), ResultPane::CurrentRow::First);
}

void OxelDialog::lookUpWord(const QString& word)
{
    if (!m_corpusLoaded)
        return;
    SearchResult found = titlelookup::titleLookUp(m_corpus, word, titleKey());
    found.setIgnoreAccents(m_ignoreAccents);
    Onglets->setCurrentIndex(0);
    {
        const QSignalBlocker quiet(Txt_Corpus);
        Txt_Corpus->setText(word);
    }
    // No article of that title: the filter shows the titles that hold the word.
    if (found.count() == 0)
        slotCorpusEnter();
    else
        m_corpusPane.show(std::move(found), ResultPane::CurrentRow::First);
}

void OxelDialog::showBestTitle()
{
    m_corpusPane.selectRow(titlelookup::bestTitleRow(m_corpusPane.record(), Txt_Corpus->text(), titleKey()));
}

titlelookup::TitleKey OxelDialog::titleKey() const
{
    if (!m_ignoreAccents)
        return titlelookup::caseKey;
    return [](QStringView text) { return accentfolding::fold(text).toCaseFolded(); };
}

QList<highlighter::Range> OxelDialog::findWords(const QString& text, const QString& word, Qt::CaseSensitivity cs,
                                                qsizetype limit) const
{
    if (!m_ignoreAccents || word.isEmpty())
        return highlighter::occurrences(text, word, cs, true, limit);
    // Only the matcher reads the text through folded forms: it takes the word, spaces and all, as one term.
    const TermMatcher matcher({word}, cs, TermMatcher::Method::OnePass, TermMatcher::Accents::Ignored);
    const std::vector<QList<TermMatcher::Occurrence>> ranges = matcher.occurrenceRanges(text, limit);
    QList<highlighter::Range> found;
    for (const TermMatcher::Occurrence& occurrence : ranges.front())
        found.append({occurrence.start, occurrence.length});
    return found;
}

QString OxelDialog::splitterSizes() const
{
    QStringList tabs;
    for (const QSplitter* splitter : {Split_Corpus, Split_Simple, Split_Cro}) {
        const QList<int> sizes = splitter->sizes();
        tabs << QStringLiteral("%1,%2").arg(sizes.value(0)).arg(sizes.value(1));
    }
    return tabs.join(QLatin1Char(';'));
}

void OxelDialog::setSplitterSizes(const QString& sizes)
{
    const QStringList tabs = sizes.split(QLatin1Char(';'));
    const QList<QSplitter*> splitters{Split_Corpus, Split_Simple, Split_Cro};
    if (tabs.size() != splitters.size())
        return;
    for (int i = 0; i < splitters.size(); ++i) {
        const QStringList pair = tabs[i].split(QLatin1Char(','));
        bool listOk = false;
        bool articleOk = false;
        const int list = pair.value(0).toInt(&listOk);
        const int article = pair.size() == 2 ? pair[1].toInt(&articleOk) : 0;
        // No part wider than the window: a hand-written size would hide the other part, or overflow
        // the sum the splitter shares out.
        const int widest = std::max(width(), 1);
        if (listOk && articleOk && list > 0 && article > 0)
            splitters[i]->setSizes({std::min(list, widest), std::min(article, widest)});
    }
}

void OxelDialog::slotLstArtClick(const QModelIndex& index)
{
    m_simplePane.showClicked(index);
}

void OxelDialog::slotLstCorClick(const QModelIndex& index)
{
    m_corpusPane.showClicked(index);
}

void OxelDialog::slotLstCroClick(const QModelIndex& index)
{
    m_crossPane.showClicked(index);
}

void OxelDialog::slotBtRechClick()
{
    if (!m_corpusLoaded) {
        m_dialogs.warning(QStringLiteral("Recherche Simple"), QStringLiteral("Aucun corpus chargé"));
        return;
    }
    runSimpleSearch(Txt_Rech->text(), queryMode(Lst_Type->currentIndex()), Chk_Cs->isChecked(), chosenScope());
}

void OxelDialog::runSimpleSearch(const QString& query, SearchMode mode, bool caseSensitive, const SearchScope& scope)
{
    const std::unique_ptr<Dialogs::Progress> shown = m_dialogs.progress(this, searchingText);
    std::optional<SearchResult> found = fullTextSearch(
        m_corpus, query, mode, caseSensitive, m_ignoreAccents,
        [&shown](int visited, int total) { return shown->advance(visited, total); }, scope);
    // Cancelled: the tab keeps the result it showed.
    if (found)
        m_simplePane.show(std::move(*found), ResultPane::CurrentRow::First);
}

void OxelDialog::setIgnoreAccents(bool ignore)
{
    if (ignore == m_ignoreAccents)
        return;
    m_ignoreAccents = ignore;
    saveValues({{accentsKey, ignore ? QStringLiteral("1") : QStringLiteral("0")}});
    // What is listed follows the new rule: the titles typed, and the last search, as it was asked.
    if (!Txt_Corpus->text().isEmpty())
        slotCorpusEnter();
    const SearchResult& last = m_simplePane.record();
    const SearchMode mode = last.mode();
    if (m_corpusLoaded &&
        (mode == SearchMode::AllTerms || mode == SearchMode::AnyTerm || mode == SearchMode::ExactPhrase))
        runSimpleSearch(last.phrase(), mode, last.caseSensitive(), last.scope());
}

void OxelDialog::setArticleZoom(int steps)
{
    const int zoom = std::clamp(steps, minimumZoom, maximumZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    articlefont::apply(*this, articlefont::zoomed(m_articleFont, m_zoom));
    saveValues({{zoomKey, QString::number(m_zoom)}});
}

bool OxelDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // A fine wheel sends parts of a notch: a step for each whole one.
            m_wheelRest += wheel->angleDelta().y();
            const int steps = m_wheelRest / QWheelEvent::DefaultDeltasPerStep;
            m_wheelRest %= QWheelEvent::DefaultDeltasPerStep;
            if (steps != 0)
                setArticleZoom(m_zoom + steps);
            return true;
        }
    }
    return GUI_Base::eventFilter(watched, event);
}

bool OxelDialog::restoreLayout()
{
    const QStringList layout = SettingsFile().values({geometryKey, tabKey, splitterKey});
    bool tabRead = false;
    const int page = layout.at(1).toInt(&tabRead);
    if (tabRead && page >= 0 && page < Onglets->count())
        Onglets->setCurrentIndex(page);
    const QByteArray geometry = QByteArray::fromBase64(layout.at(0).toLatin1());
    const bool restored = !geometry.isEmpty() && restoreGeometry(geometry);
    // Once the window has its width, which bounds theirs.
    setSplitterSizes(layout.at(2));
    return restored;
}

void OxelDialog::saveLayout()
{
    saveValues({{geometryKey, QString::fromLatin1(saveGeometry().toBase64())},
                {tabKey, QString::number(Onglets->currentIndex())},
                {splitterKey, splitterSizes()}});
}

void OxelDialog::saveValues(const QList<std::pair<QString, QString>>& entries)
{
    report(SettingsFile().setValues(entries));
}

void OxelDialog::runCrossSearch(const CriteriaGrid::Search& search)
{
    QProgressBar* const bar = LoadCroisee;
    QElapsedTimer shown;
    const std::unique_ptr<Dialogs::Progress> dialog = m_dialogs.progress(this, searchingText);
    const auto progress = [bar, &shown, &dialog](int visited, int total) {
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
        return dialog->advance(visited, total);
    };
    CrossSearchOutcome outcome = crossSearch(m_corpus, search.criteria, search.fill, progress);
    if (outcome.stopped) {
        // Cancelled: the tab keeps the result it showed, and the grid the choices that made it.
        bar->reset();
        m_criteria.revert(search);
        return;
    }
    m_criteria.apply(search);
    if (search.target)
        CriteriaGrid::offerValues(search.target, std::move(outcome.values), std::move(outcome.content));
    m_criteria.remember();
    bar->setValue(m_corpus.articleCount());
    bar->reset();
    m_crossPane.show(std::move(outcome.result), ResultPane::CurrentRow::First);
}

void OxelDialog::slotLstBal11Click(int index)
{
    runCrossSearch(m_criteria.choose(0, 0, index));
}

void OxelDialog::slotLstBal12Click(int index)
{
    runCrossSearch(m_criteria.choose(0, 1, index));
}

void OxelDialog::slotLstBal13Click(int index)
{
    runCrossSearch(m_criteria.choose(0, 2, index));
}

void OxelDialog::slotLstBal21Click(int index)
{
    runCrossSearch(m_criteria.choose(1, 0, index));
}

void OxelDialog::slotLstBal22Click(int index)
{
    runCrossSearch(m_criteria.choose(1, 1, index));
}

void OxelDialog::slotLstBal23Click(int index)
{
    runCrossSearch(m_criteria.choose(1, 2, index));
}

void OxelDialog::slotLstBal31Click(int index)
{
    runCrossSearch(m_criteria.choose(2, 0, index));
}

void OxelDialog::slotLstBal32Click(int index)
{
    runCrossSearch(m_criteria.choose(2, 1, index));
}

void OxelDialog::slotLstBal33Click(int index)
{
    runCrossSearch(m_criteria.choose(2, 2, index));
}

void OxelDialog::slotBt_ParcClick()
{
    pickCorpusFile();
}

void OxelDialog::closeEvent(QCloseEvent* event)
{
    if (isLoading()) {
        m_closeWhenLoaded = true;
        event->ignore();
        return;
    }
    GUI_Base::closeEvent(event);
}

void OxelDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Cancel)) {
        event->accept();
        return;
    }
    GUI_Base::keyPressEvent(event);
}

std::optional<MenuHost::Tab> OxelDialog::currentTab() const
{
    const auto paneTab = [](const ResultPane& pane, searchreport::Kind kind) {
        return Tab{pane.view(), &pane.record(), pane.shownRow(), kind};
    };
    switch (Onglets->currentIndex()) {
    case 0:
        return paneTab(m_corpusPane, searchreport::Kind::Corpus);
    case 1:
        return paneTab(m_simplePane, searchreport::Kind::Simple);
    case 2:
        return paneTab(m_crossPane, searchreport::Kind::Cross);
    default:
        return std::nullopt;
    }
}

void OxelDialog::setBackground(const QString& colourName)
{
    m_colourName = colourName;
    saveSettings();
    setPalette(backgroundPalette(colourName));
}

void OxelDialog::setArticleFont(const QFont& font)
{
    m_fontFamily = font.family();
    saveSettings();
    m_articleFont = font;
    articlefont::apply(*this, articlefont::zoomed(font, m_zoom));
}

void OxelDialog::openCorpus(const QString& path)
{
    m_corpusPath = path;
    loadCorpus();
}

void OxelDialog::showConcordance()
{
    if (!m_concordance) {
        m_concordance = new ConcordanceWindow(m_dialogs, this);
        connect(m_concordance, &ConcordanceWindow::occurrenceChosen, this, &OxelDialog::showOccurrence);
    }
    const WaitCursor waitCursor;
    m_concordance->showResult(m_simplePane.record());
    m_concordance->show();
    m_concordance->raise();
    m_concordance->activateWindow();
}

void OxelDialog::showOccurrence(const SearchResult& record, int row, qsizetype start, qsizetype length)
{
    const SearchResult& shown = m_simplePane.record();
    // A search run since the concordance was made: its record comes back first.
    if (shown.content() != record.content() || shown.hits() != record.hits() || shown.terms() != record.terms() ||
        shown.mode() != record.mode() || shown.caseSensitive() != record.caseSensitive() ||
        shown.scope() != record.scope())
        m_simplePane.show(record);
    Onglets->setCurrentIndex(1);
    Lst_Art->setCurrentIndex(Lst_Art->model()->index(row, 0));
    QTextCursor cursor = Txt_Art->textCursor();
    cursor.setPosition(Txt_Art->viewPosition(start));
    cursor.setPosition(Txt_Art->viewPosition(start + length - 1) + 1, QTextCursor::KeepAnchor);
    Txt_Art->setTextCursor(cursor);
    Txt_Art->ensureCursorVisible();
    activateWindow();
}
