#include "app/oxeldialog.h"

#include "app/articlefont.h"
#include "corpus/corpusfile.h"
#include "corpus/corpusstore.h"
#include "corpus/nativename.h"
#include "corpus/rolefile.h"
#include "corpus/settingsfile.h"
#include "corpus/workingfiles.h"
#include "forms/articleview.h"
#include "forms/backgroundpalette.h"
#include "forms/concordancewindow.h"
#include "forms/dialogs.h"
#include "forms/xmlfilechoice.h"
#include "search/accentfolding.h"
#include "search/crosssearch.h"
#include "search/fulltextsearch.h"
#include "search/titlefilter.h"
#include "search/titlelookup.h"

#include <QApplication>
#include <QTimer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTextCursor>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>

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
    case corpusfile::Status::Stopped:
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
    : GUI_Base(parent, name, modal, flags), m_dialogs(dialogs), m_corpusTab(*this, m_corpus, this),
      m_simpleTab(*this, m_corpus, dialogs, this),
      m_crossTab(*this, m_corpus, dialogs, this), m_tabs{&m_corpusTab, &m_simpleTab, &m_crossTab},
      m_articleFont(TxtView_Corpus->font()), m_loadTask(dialogs)
{
    // Read once: every load, and every path into one, keeps what the user chose.
    const QStringList reading =
        SettingsFile().values({SettingsFile::colourKey, SettingsFile::fontKey, SettingsFile::accentsKey,
                               SettingsFile::zoomKey, SettingsFile::plainTextKey, SettingsFile::indexKey});
    m_colourName = reading.at(0);
    m_fontFamily = reading.at(1);
    applyAppearance();
    m_ignoreAccents = reading.at(2) == QLatin1String("1");
    m_plainText = reading.at(4) == QLatin1String("1");
    m_keepIndex = reading.at(5) != QLatin1String("0");
    for (TabPage* each : m_tabs)
        each->setIgnoreAccents(m_ignoreAccents);
    bool zoomRead = false;
    const int zoom = reading.at(3).toInt(&zoomRead);
    if (zoomRead && zoom != 0) {
        m_zoom = std::clamp(zoom, minimumZoom, maximumZoom);
        articlefont::apply(*this, articlefont::zoomed(m_articleFont, m_zoom));
    }
    for (TabPage* each : m_tabs) {
        ArticleView* view = each->pane().view();
        view->viewport()->installEventFilter(this);
        // A word double-clicked in any article is looked up among the titles.
        connect(view, &ArticleView::wordDoubleClicked, &m_corpusTab, &CorpusTab::lookUpWord);
        each->pane().setWordFinder([this](const QString& text, const BlockEdges& edges, const QString& word,
                                          Qt::CaseSensitivity cs,
                                          qsizetype limit) { return findWords(text, edges, word, cs, limit); });
    }
    connect(&m_corpusTab, &CorpusTab::wantsShown, this, [this] { Onglets->setCurrentIndex(0); });
    connect(&m_corpusTab, &CorpusTab::lookUpFailed, this, &OxelDialog::tellLookUpFailed);
    Onglets->tabBar()->installEventFilter(this);
    for (QComboBox* box : Onglets->findChildren<QComboBox*>())
        box->installEventFilter(this);
    connect(Onglets, &QTabWidget::currentChanged, this, &OxelDialog::followCurrentTab);
    followCurrentTab();
    showOpeningHint(true);
}

void OxelDialog::showOpeningHint(bool shown)
{
    const QString hint =
        shown ? QStringLiteral("Aucun corpus ouvert. Choisissez-en un avec Fichier > Ouvrir (Ctrl+O).") : QString();
    for (TabPage* each : m_tabs)
        each->pane().view()->setPlaceholderText(hint);
}

void OxelDialog::start(const QString& startPath)
{
    if (SettingsFile().kind() == SettingsFile::Kind::Foreign)
        report(SettingsFile::Outcome::LeftAlone);
    runStartUpChoice(startPath);
    for (TabPage* each : m_tabs)
        each->pane().makeFirstRowCurrent();
    focusCurrentTab();
}

void OxelDialog::showAsLeft()
{
    if (restoreLayout())
        show();
    else
        showMaximized();
}

OxelDialog::~OxelDialog()
{
    stopTextCheck();
}

QGridLayout* OxelDialog::arrangeWindow()
{
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Onglets, 1, 0);
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
    for (TabPage* each : m_tabs)
        each->clear();
    // An open concordance would list, and keep alive, the corpus being let go.
    if (m_concordance)
        m_concordance->showResult(SearchResult());
    m_corpus.clearArticles();
}

void OxelDialog::showEvent(QShowEvent* event)
{
    GUI_Base::showEvent(event);
    const int index = Onglets->currentIndex();
    if (index >= 0 && index < int(m_tabShown.size()))
        m_tabShown[size_t(index)] = true;
}

void OxelDialog::followCurrentTab()
{
    const int index = Onglets->currentIndex();
    if (isVisible() && index >= 0 && index < int(m_tabShown.size()))
        m_tabShown[size_t(index)] = true;
    const QWidget* page = Onglets->currentWidget();
    for (TabPage* each : m_tabs)
        each->pane().setOnScreen(page && page->isAncestorOf(each->pane().view()));
    // A tab chosen with the mouse or Ctrl+Tab takes the typing; one reached by the arrows on the
    // tab bar leaves the focus there, for the next arrow.
    const bool byBarKeys = m_tabByBarKeys && QApplication::focusWidget() == Onglets->tabBar() &&
                           QGuiApplication::mouseButtons() == Qt::NoButton;
    m_tabByBarKeys = false;
    if (!byBarKeys)
        focusCurrentTab();
}

void OxelDialog::focusCurrentTab()
{
    const int index = Onglets->currentIndex();
    if (index >= 0 && index < int(m_tabs.size()))
        m_tabs[size_t(index)]->entry()->setFocus();
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
    stopTextCheck();
    clearResults();

    // A store of the previous corpus still being written stops there: it will be written again.
    m_storeWriter.stop();
    corpusfile::Result read;
    const QString path = m_corpusPath;
    const bool keep = m_keepIndex;
    const QString storePath = indexPath();
    std::optional<corpusstore::Identity> identity;
    bool fromStore = false;
    // Made before the load's thread starts: there, only the read itself may run out of memory.
    std::unique_ptr<corpusstore::Draft> draft;
    if (keep)
        draft = std::make_unique<corpusstore::Draft>(storePath);
    const bool ended = m_loadTask.run(
        this, QStringLiteral("Ouverture du corpus…"),
        [&read, &path, &identity, &fromStore, &storePath, &draft, keep](TaskControl& control) {
            // Taken before the file is read: a change while it is read makes the store stale.
            identity = corpusstore::identify(path);
            if (keep && identity) {
                if (std::optional<CorpusContent> stored = corpusstore::open(storePath, path, *identity)) {
                    read.status = corpusfile::Status::Ok;
                    read.content = std::move(stored);
                    fromStore = true;
                    return true;
                }
            }
            // The texts go into the store as they are read, rather than being held twice.
            if (draft && identity)
                draft->begin(*identity);
            if (draft && (!identity || !draft->ok()))
                draft.reset();
            read = corpusfile::read(
                path, {},
                [&control](qint64 done, qint64 total) {
                    control.setTotal(total);
                    control.setDone(done);
                    return !control.cancelled();
                },
                draft.get());
            return read.status != corpusfile::Status::Stopped;
        },
        [this] {
            // Loaded from the command line, the window is not shown yet: it comes before the progress.
            if (!isVisible())
                showAsLeft();
        });
    if (m_closeWhenLoaded) {
        m_closeWhenLoaded = false;
        // Once this load and what follows it (a warning, another file to choose) are over.
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
    if (!ended) {
        // Stopped by the user: no corpus, and no other file offered.
        showOpeningHint(true);
        return true;
    }
    if (read.status != corpusfile::Status::Ok) {
        showOpeningHint(true);
        m_dialogs.warning(QStringLiteral("Probleme lors de l'ouverture du fichier XML"), failureText(read.status),
                          QStringLiteral("Fichier : %1\nRaison : %2").arg(nativename::shown(path), read.why));
        return false;
    }

    m_corpus.setContent(std::move(*read.content));
    m_loadedIdentity = identity;
    m_loadedFromStore = fromStore;
    if (const std::shared_ptr<TextCheck>& check = m_corpus.content()->textCheck) {
        // Told before anything is shown, so that no failure goes untold.
        check->onFailure(
            [this] { QMetaObject::invokeMethod(this, &OxelDialog::readAgainWithoutStore, Qt::QueuedConnection); });
    }
    auto roles = std::make_shared<ElementRoles>(m_corpus.content()->roles);
    const QHash<QString, ElementRole> chosen = rolefile::read(m_corpusPath);
    for (auto each = chosen.begin(); each != chosen.end(); ++each)
        roles->setRole(m_corpus.elementIndex().nameId(each.key()), each.value());
    m_roles = std::move(roles);
    applyRoles(false);
    showOpeningHint(false);
    const SearchResult every = m_corpusTab.showCorpus();
    // Sorted once for both: a corpus may have tens of thousands of element names.
    const QList<ElementChoice> choices = m_corpus.elementChoices();
    m_simpleTab.showCorpus(every, choices);
    m_crossTab.showCorpus(every, choices);

    setWindowTitle(captionPrefix + nativename::shown(m_corpusPath));
    applyAppearance();
    focusCurrentTab();
    if (fromStore) {
        corpusstore::touch(storePath);
        // What was not used yet is checked now, on a thread of its own.
        m_corpus.content()->textCheck->start();
    } else {
        writeIndex(std::move(draft));
    }
    return true;
}

void OxelDialog::stopTextCheck()
{
    if (const std::shared_ptr<TextCheck>& check = m_corpus.content()->textCheck)
        check->onFailure({});
}

void OxelDialog::readAgainWithoutStore()
{
    // Told by the check of the content shown, which a later load would have silenced.
    if (!m_loadedFromStore || m_loadTask.isRunning())
        return;
    // The window may itself be modal: only a window over it waits.
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal != window()) {
        // A search's progress, a dialog: not from inside them, once they are over.
        QTimer::singleShot(100, this, &OxelDialog::readAgainWithoutStore);
        return;
    }
    QFile::remove(indexPath());
    m_loadedFromStore = false;
    loadOnce();
}

void OxelDialog::writeIndex(std::unique_ptr<corpusstore::Draft> draft)
{
    // Once the window is usable, on a thread of its own; a store that cannot be written changes nothing.
    if (m_keepIndex && m_loadedIdentity && !m_loadedFromStore && m_corpus.articleCount() > 0 &&
        (!draft || draft->ok())) {
        m_storeWriter.start(m_corpus.content(), m_corpusPath, *m_loadedIdentity, indexPath(), corpusstore::defaultLimit,
                            std::move(draft));
    }
}

QString OxelDialog::indexPath() const
{
    return corpusstore::storePath(corpusstore::defaultFolder(), m_corpusPath);
}

void OxelDialog::setKeepsIndex(bool keep)
{
    if (keep == m_keepIndex)
        return;
    m_keepIndex = keep;
    saveValues({{SettingsFile::indexKey, keep ? QStringLiteral("1") : QStringLiteral("0")}});
    if (keep) {
        writeIndex();
        return;
    }
    m_storeWriter.stop();
    if (!m_corpusPath.isEmpty())
        QFile::remove(indexPath());
    m_loadedFromStore = false;
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
    m_corpusTab.filter();
}

QList<highlighter::Range> OxelDialog::findWords(const QString& text, const BlockEdges& edges, const QString& word,
                                                Qt::CaseSensitivity cs, qsizetype limit) const
{
    return highlighter::wordRanges(text, edges, word, cs, m_ignoreAccents, limit);
}

QString OxelDialog::splitterSizes() const
{
    QStringList tabs;
    const std::array<const QSplitter*, 3> splitters{Split_Corpus, Split_Simple, Split_Cro};
    for (size_t i = 0; i < splitters.size(); ++i) {
        if (!m_tabShown[i] && !m_splitterRead[i].isEmpty()) {
            tabs << m_splitterRead[i];
            continue;
        }
        const QList<int> sizes = splitters[i]->sizes();
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
        if (listOk && articleOk && list > 0 && article > 0) {
            splitters[i]->setSizes({std::min(list, widest), std::min(article, widest)});
            m_splitterRead[size_t(i)] =
                QStringLiteral("%1,%2").arg(std::min(list, widest)).arg(std::min(article, widest));
        }
    }
}

void OxelDialog::slotLstArtClick(const QModelIndex& index)
{
    simplePane().showClicked(index);
}

void OxelDialog::slotLstCorClick(const QModelIndex& index)
{
    corpusPane().showClicked(index);
}

void OxelDialog::slotLstCroClick(const QModelIndex& index)
{
    crossPane().showClicked(index);
}

void OxelDialog::slotBtRechClick()
{
    m_simpleTab.search();
}

void OxelDialog::setIgnoreAccents(bool ignore)
{
    if (ignore == m_ignoreAccents)
        return;
    m_ignoreAccents = ignore;
    saveValues({{SettingsFile::accentsKey, ignore ? QStringLiteral("1") : QStringLiteral("0")}});
    // What is listed follows the new rule: the titles typed, and the last search, as it was asked.
    for (TabPage* each : m_tabs)
        each->setIgnoreAccents(ignore);
}

void OxelDialog::setShowsPlainText(bool plain)
{
    if (plain == m_plainText)
        return;
    m_plainText = plain;
    saveValues({{SettingsFile::plainTextKey, plain ? QStringLiteral("1") : QStringLiteral("0")}});
    applyRoles(true);
}

void OxelDialog::applyRoles(bool shown)
{
    for (TabPage* each : m_tabs) {
        each->pane().view()->setRoles(m_plainText ? nullptr : m_roles);
        if (shown)
            each->pane().showAgain();
    }
}

void OxelDialog::chooseRoles()
{
    const ElementIndex& index = m_corpus.elementIndex();
    const std::vector<ElementStats>& stats = m_corpus.content()->elementStats;
    const ElementRoles current = m_roles ? *m_roles : ElementRoles();
    std::vector<quint32> names;
    for (quint32 name = 0; name < index.nameCount() && name < stats.size(); ++name)
        names.push_back(name);
    // The most frequent first: the names that shape most of the text.
    std::stable_sort(names.begin(), names.end(),
                     [&stats](quint32 a, quint32 b) { return stats[a].count > stats[b].count; });
    std::vector<RoleRow> rows;
    for (const quint32 name : names)
        rows.push_back({index.name(name), stats[name].count, current.role(name)});
    const std::optional<std::vector<ElementRole>> answer = m_dialogs.elementRoles(this, rows);
    if (!answer || answer->size() != rows.size())
        return;
    auto roles = std::make_shared<ElementRoles>(current);
    const ElementRoles& guessed = m_corpus.content()->roles;
    QHash<QString, ElementRole> changed;
    for (size_t r = 0; r < rows.size(); ++r) {
        roles->setRole(names[r], (*answer)[r]);
        if ((*answer)[r] != guessed.role(names[r]))
            changed.insert(rows[r].name, (*answer)[r]);
    }
    m_roles = std::move(roles);
    // Kept for the next opening of this file; a failure to keep them changes nothing now.
    rolefile::write(m_corpusPath, changed);
    applyRoles(true);
}

void OxelDialog::setArticleZoom(int steps)
{
    const int zoom = std::clamp(steps, minimumZoom, maximumZoom);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    articlefont::apply(*this, articlefont::zoomed(m_articleFont, m_zoom));
    saveValues({{SettingsFile::zoomKey, QString::number(m_zoom)}});
}

bool OxelDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && qobject_cast<QComboBox*>(watched)) {
        // A box would take Ctrl+Tab for a letter to look for: it goes to the tabs, as from any field.
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (key->modifiers() & Qt::ControlModifier)) {
            QCoreApplication::sendEvent(Onglets, event);
            return true;
        }
    }
    if (watched == Onglets->tabBar() && event->type() == QEvent::KeyPress) {
        // Only the bar's own keys move along it: Ctrl+Tab from the bar takes the typing to the tab.
        const auto* key = static_cast<QKeyEvent*>(event);
        m_tabByBarKeys = !(key->modifiers() & Qt::ControlModifier);
    }
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
    const QStringList layout =
        SettingsFile().values({SettingsFile::geometryKey, SettingsFile::tabKey, SettingsFile::splitterKey});
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
    saveValues({{SettingsFile::geometryKey, QString::fromLatin1(saveGeometry().toBase64())},
                {SettingsFile::tabKey, QString::number(Onglets->currentIndex())},
                {SettingsFile::splitterKey, splitterSizes()}});
}

void OxelDialog::saveValues(const QList<std::pair<QString, QString>>& entries)
{
    report(SettingsFile().setValues(entries));
}

void OxelDialog::slotLstBal11Click(int index)
{
    m_crossTab.choose(0, 0, index);
}

void OxelDialog::slotLstBal12Click(int index)
{
    m_crossTab.choose(0, 1, index);
}

void OxelDialog::slotLstBal13Click(int index)
{
    m_crossTab.choose(0, 2, index);
}

void OxelDialog::slotLstBal21Click(int index)
{
    m_crossTab.choose(1, 0, index);
}

void OxelDialog::slotLstBal22Click(int index)
{
    m_crossTab.choose(1, 1, index);
}

void OxelDialog::slotLstBal23Click(int index)
{
    m_crossTab.choose(1, 2, index);
}

void OxelDialog::slotLstBal31Click(int index)
{
    m_crossTab.choose(2, 0, index);
}

void OxelDialog::slotLstBal32Click(int index)
{
    m_crossTab.choose(2, 1, index);
}

void OxelDialog::slotLstBal33Click(int index)
{
    m_crossTab.choose(2, 2, index);
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

void OxelDialog::changeEvent(QEvent* event)
{
    GUI_Base::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        const QWidget* focus = QApplication::focusWidget();
        if (!focus || focus == this || !focus->isVisible())
            focusCurrentTab();
    }
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
    static constexpr std::array<searchreport::Kind, 3> kinds{searchreport::Kind::Corpus, searchreport::Kind::Simple,
                                                             searchreport::Kind::Cross};
    const int index = Onglets->currentIndex();
    if (index < 0 || index >= int(m_tabs.size()))
        return std::nullopt;
    const ResultPane& pane = m_tabs[size_t(index)]->pane();
    return Tab{pane.view(), &pane.record(), pane.shownRow(), kinds[size_t(index)]};
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
    if (!m_concordance->showResult(simplePane().record()))
        return;
    if (!m_concordance->isVisible())
        m_concordance->placeBeside(*this);
    m_concordance->show();
    m_concordance->raise();
    m_concordance->activateWindow();
}

void OxelDialog::showOccurrence(const SearchResult& record, int row, qsizetype start, qsizetype length)
{
    Onglets->setCurrentIndex(1);
    m_simpleTab.showOccurrence(record, row, start, length);
    raise();
    activateWindow();
}

void OxelDialog::tellLookUpFailed(const QString& word)
{
    // A passing note by the pointer: the reader was reading, not asking.
    QToolTip::showText(QCursor::pos(), QStringLiteral("Aucun article « %1 »").arg(word), this);
}
