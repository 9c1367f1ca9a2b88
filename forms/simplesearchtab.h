#pragma once

#include "corpus/corpusdocument.h"
#include "forms/resultpane.h"
#include "forms/tabpage.h"
#include "search/searchscope.h"

class Dialogs;
class GUI_Base;

// The "Recherche Simple" tab: the query `Txt_Rech`, its mode `Lst_Type`, the case rule `Chk_Cs` and
// the scope `Lst_Dans`, the search `Bt_Rech` runs, and its hits.
class SimpleSearchTab : public TabPage
{
    Q_OBJECT
public:
    SimpleSearchTab(GUI_Base& form, const CorpusDocument& corpus, Dialogs& dialogs, QObject* parent = nullptr);

    ResultPane& pane() override { return m_pane; }
    const ResultPane& pane() const override { return m_pane; }
    QWidget* entry() const override;

    // A corpus was loaded: every article listed, its element names offered as scopes.
    void showCorpus(const SearchResult& every, const QList<ElementChoice>& choices);
    // Forgets the corpus's results; the scopes stay until another corpus offers its own.
    void clear() override;
    // The search again under the new rule, as it was asked.
    void setIgnoreAccents(bool ignore) override;

    // The search the inputs ask for; says so when no corpus is loaded.
    void search();
    // Where the next search looks: the whole article, or the element chosen in `Lst_Dans`.
    SearchScope chosenScope() const;
    // Shows the occurrence at `start` (`length` characters) of hit `row` of `record`, bringing that
    // record back first when another search has been run since.
    void showOccurrence(const SearchResult& record, int row, qsizetype start, qsizetype length);

private:
    void run(const QString& query, SearchMode mode, bool caseSensitive, const SearchScope& scope);

    GUI_Base& m_form;
    const CorpusDocument& m_corpus;
    Dialogs& m_dialogs;
    ResultPane m_pane;
    bool m_loaded = false;
    bool m_ignoreAccents = false;
};
