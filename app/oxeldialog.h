#pragma once

#include "corpus/corpusdocument.h"
#include "corpus/corpusstore.h"
#include "corpus/settingsfile.h"
#include "corpus/storewriter.h"
#include "forms/backgroundtask.h"
#include "forms/corpustab.h"
#include "forms/crosssearchtab.h"
#include "forms/gui_base.h"
#include "forms/simplesearchtab.h"
#include "menu/menuhost.h"
#include "search/searchresult.h"

#include <QFont>
#include <array>

class ConcordanceWindow;
class Dialogs;
class QGridLayout;
class QCloseEvent;
class QKeyEvent;

// The main window: the loaded corpus and the operations that load it, the settings file, the zoom,
// and the three tabs, each of which keeps its own inputs and results. The menu bar reaches it as
// its MenuHost.
class OxelDialog : public GUI_Base, public MenuHost
{
    Q_OBJECT
public:
    static const QString captionPrefix; // "..:: Tarvane - Qt ::..    "
    static constexpr int minimumZoom = -8;
    static constexpr int maximumZoom = 40;

    // Runs the welcome dialog and the first load before the window is ever shown. Given a
    // `startPath`, opens that corpus instead, as "&Ouvrir" does, and offers the welcome dialog
    // only when it fails to load.
    explicit OxelDialog(Dialogs& dialogs, QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                        Qt::WindowFlags flags = {}, const QString& startPath = QString());
    // The window alone, for a caller that completes it (the menu bar) before start() runs the
    // welcome dialog and the first load.
    struct Unstarted
    {
    };
    OxelDialog(Dialogs& dialogs, Unstarted, QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags);
    ~OxelDialog() override;

    // What the first constructor does after building the window.
    void start(const QString& startPath);
    // Shows the window as the settings file left it, maximised the first time.
    void showAsLeft();

    // Puts the tabs in a grid layout filling the window; row 0 is kept for the menu bar.
    QGridLayout* arrangeWindow();

    // Loads corpusPath and refreshes every tab; on failure tells why and offers another file.
    // A load that lasts shows its progress as every long work does, with its Cancel (in a window not
    // yet shown, after showing it); until it ends, the window takes no input, and a request to close
    // it waits. A cancelled load leaves no corpus and offers no other file.
    void loadCorpus();
    bool isLoading() const { return m_loadTask.isRunning(); }
    // How long a load runs before a window not yet shown comes: ProgressThrottle::shownAfter unless changed.
    void setProgressDelay(std::chrono::milliseconds delay) { m_loadTask.setDelay(delay); }
    void saveSettings();
    // True when the user chose a file, then stored in corpusPath.
    bool pickCorpusFile();

    void setCorpusPath(QString path) { m_corpusPath = std::move(path); }
    void setColourName(QString name) { m_colourName = std::move(name); }
    void setFontFamily(QString family) { m_fontFamily = std::move(family); }
    const QString& corpusPath() const override { return m_corpusPath; }
    const QString& colourName() const { return m_colourName; }
    const QString& fontFamily() const { return m_fontFamily; }

    const CorpusDocument& corpus() const { return m_corpus; }
    const SearchResult& resultSimple() const override { return simplePane().record(); }
    const SearchResult& resultCorpus() const { return corpusPane().record(); }
    const SearchResult& resultCroisee() const { return crossPane().record(); }
    const ResultPane& corpusPane() const { return m_corpusTab.pane(); }
    const ResultPane& simplePane() const { return m_simpleTab.pane(); }
    const ResultPane& crossPane() const { return m_crossTab.pane(); }
    ResultPane& corpusPane() { return m_corpusTab.pane(); }
    ResultPane& simplePane() { return m_simpleTab.pane(); }
    ResultPane& crossPane() { return m_crossTab.pane(); }
    CorpusTab& corpusTab() { return m_corpusTab; }
    SimpleSearchTab& simpleSearchTab() { return m_simpleTab; }
    CrossSearchTab& crossSearchTab() { return m_crossTab; }

    // The widths of list and article in each tab, as one line of text for the settings file:
    // "250,750;250,750;250,750" in tab order. Text that does not read so changes nothing.
    QString splitterSizes() const;
    void setSplitterSizes(const QString& sizes);

    // What the menu bar reaches.
    QWidget& mainWindow() override { return *this; }
    std::optional<Tab> currentTab() const override;
    ResultPane* currentPane() override
    {
        return currentTab() ? &m_tabs[size_t(Onglets->currentIndex())]->pane() : nullptr;
    }
    void setBackground(const QString& colourName) override;
    void setArticleFont(const QFont& font) override;
    void openCorpus(const QString& path) override;
    void showConcordance() override;
    Dialogs& dialogs() const override { return m_dialogs; }
    bool ignoresAccents() const override { return m_ignoreAccents; }
    void setIgnoreAccents(bool ignore) override;
    bool showsPlainText() const override { return m_plainText; }
    void setShowsPlainText(bool plain) override;
    void chooseRoles() override;
    bool keepsIndex() const override { return m_keepIndex; }
    void setKeepsIndex(bool keep) override;
    // Whether the corpus shown was read from its store rather than parsed.
    bool loadedFromStore() const { return m_loadedFromStore; }
    // Waits for the store of the corpus being written, if any; returns why it failed, empty when it did not.
    QString waitForIndex() { return m_storeWriter.wait(); }

    // The article views' size, in steps of one point from the chosen font's, kept in the settings
    // file. Ctrl++, Ctrl+- and Ctrl+0 and the wheel with Ctrl change it.
    int articleZoom() const override { return m_zoom; }
    void setArticleZoom(int steps) override;

    // The geometry, the current tab and the splitters' positions the settings file keeps; false,
    // with nothing changed, when it keeps no geometry.
    bool restoreLayout();
    void saveLayout();

    // The concordance window, once opened.
    ConcordanceWindow* concordanceWindow() const { return m_concordance; }

public slots:
    void slotBtRechClick() override;
    // Browses for a corpus file and keeps its name, without loading it.
    void slotBt_ParcClick() override;

protected:
    // Escape does not close the main window: only "&Quitter" and the close button do.
    void keyPressEvent(QKeyEvent* event) override;
    // A close asked for while a corpus loads closes the window once it has loaded.
    void closeEvent(QCloseEvent* event) override;
    // Back from another window with the keys going nowhere: they go to the tab shown.
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The wheel with Ctrl over an article view zooms the three views.
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void slotBt_Appliquer() override;
    void slotCorpusEnter() override;
    void slotLstArtClick(const QModelIndex& index) override;
    void slotLstBal11Click(int index) override;
    void slotLstBal12Click(int index) override;
    void slotLstBal13Click(int index) override;
    void slotLstBal21Click(int index) override;
    void slotLstBal22Click(int index) override;
    void slotLstBal23Click(int index) override;
    void slotLstBal31Click(int index) override;
    void slotLstBal32Click(int index) override;
    void slotLstBal33Click(int index) override;
    void slotLstCorClick(const QModelIndex& index) override;
    void slotLstCroClick(const QModelIndex& index) override;

private:
    void runStartUpChoice(const QString& startPath);
    // One attempt at loading corpusPath: false, after telling why, when it failed; true when it loaded
    // or the user stopped it.
    bool loadOnce();
    // The find bar's whole-word matches, under the window's accent rule.
    QList<highlighter::Range> findWords(const QString& text, const BlockEdges& edges, const QString& word,
                                        Qt::CaseSensitivity cs, qsizetype limit) const;
    // Writes keys after the first three lines, telling the user when the file cannot be written.
    void saveValues(const QList<std::pair<QString, QString>>& entries);
    // Tells the user, once a run for each, that the settings could not be written or are left alone.
    void report(SettingsFile::Outcome outcome);
    // The background colour and the article font's family the settings name.
    void applyAppearance();
    // Gives the article views the roles, or none for plain text; `shown` shows their articles again.
    void applyRoles(bool shown);
    // Empties the three records and everything that shows them.
    void clearResults();
    // Lays out articles only in the pane of the current tab, and puts the focus in its entry.
    void followCurrentTab();
    // With no corpus, the article views say how to open one.
    void showOpeningHint(bool shown);
    // Puts the focus where typing goes in the current tab.
    void focusCurrentTab();
    // Shows hit `row` of `record` in "Recherche Simple" with [start, start + length) selected.
    void showOccurrence(const SearchResult& record, int row, qsizetype start, qsizetype length);
    // Starts writing the store of the corpus loaded, when it is kept and was not read from one; only
    // the rest of it when `draft` holds its texts already.
    void writeIndex(std::unique_ptr<corpusstore::Draft> draft = nullptr);
    // Where the store of the corpus path lives.
    QString indexPath() const;
    // Tells the content's text check, when it comes from a store, to tell nothing more.
    void stopTextCheck();
    // A text of the store was not as written: the store goes, and the file is read again.
    void readAgainWithoutStore();
    // Says, without a modal box, that no article goes by that word.
    void tellLookUpFailed(const QString& word);

    Dialogs& m_dialogs;
    QString m_corpusPath;
    QString m_colourName;
    QString m_fontFamily;
    CorpusDocument m_corpus;
    CorpusTab m_corpusTab;
    SimpleSearchTab m_simpleTab;
    CrossSearchTab m_crossTab;
    // In the order of `Onglets`.
    std::array<TabPage*, 3> m_tabs;
    bool m_ignoreAccents = false;
    bool m_plainText = false;
    bool m_keepIndex = true;
    // The corpus loaded, as it was when it was read, and where its store lives.
    std::optional<corpusstore::Identity> m_loadedIdentity;
    bool m_loadedFromStore = false;
    StoreWriter m_storeWriter;
    // The roles the articles show with: those guessed at load, with the reader's changes.
    std::shared_ptr<const ElementRoles> m_roles;
    int m_zoom = 0;
    int m_wheelRest = 0;         // eighths of a degree not yet turned into a step
    bool m_tabByBarKeys = false; // the last key on the tab bar was its own (an arrow), not Ctrl+Tab
    // Per tab: whether it has been on screen, and the splitter sizes read for it at start. A splitter
    // never laid out has no sizes of its own to keep: the ones read are written back.
    std::array<bool, 3> m_tabShown{};
    std::array<QString, 3> m_splitterRead;
    QFont m_articleFont; // the article views' font before the zoom
    ConcordanceWindow* m_concordance = nullptr;
    BackgroundTask m_loadTask;
    bool m_closeWhenLoaded = false;
    bool m_toldNotWritten = false;
    bool m_toldLeftAlone = false;
};
