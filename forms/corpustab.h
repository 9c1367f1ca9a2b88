#pragma once

#include "forms/resultpane.h"
#include "forms/tabpage.h"
#include "search/titlefilter.h"
#include "search/titlelookup.h"

class CorpusDocument;
class GUI_Base;

// The "Corpus" tab: the title filter `Txt_Corpus` over every title, Enter for the best title, and
// the look-up of a word double-clicked in any article.
class CorpusTab : public TabPage
{
    Q_OBJECT
public:
    CorpusTab(GUI_Base& form, const CorpusDocument& corpus, QObject* parent = nullptr);

    ResultPane& pane() override { return m_pane; }
    const ResultPane& pane() const override { return m_pane; }
    QWidget* entry() const override;

    // Indexes the titles of a corpus just loaded and lists them all; the list of every article,
    // which the other tabs show too.
    SearchResult showCorpus();
    // Forgets the corpus: nothing listed, no history.
    void clear() override;
    void setIgnoreAccents(bool ignore) override;

    // Lists the titles holding the filter's text.
    void filter();
    // Selects and shows the title that best matches the filter's text.
    void showBestTitle();
    // Shows the articles whose title is `word`, letter case aside; when there is none, the tab stays
    // as it was and `lookUpFailed` says so.
    void lookUpWord(const QString& word);

signals:
    // The tab has something to show the user.
    void wantsShown();
    void lookUpFailed(const QString& word);

private:
    // How titles are compared when a word is looked up: letter case ignored, and accents too
    // while the option says so.
    titlelookup::TitleKey titleKey() const;

    GUI_Base& m_form;
    const CorpusDocument& m_corpus;
    ResultPane m_pane;
    TitleFilter m_titleFilter;
    bool m_ignoreAccents = false;
};
