#pragma once

#include "corpus/corpusdocument.h"
#include "forms/criteriagrid.h"
#include "forms/resultpane.h"
#include "forms/tabpage.h"

class Dialogs;
class GUI_Base;

// The "Recherche Croisée" tab: the 3 × 3 grid of criteria, where each choice searches at once and
// refills the box it feeds, and the hits.
class CrossSearchTab : public TabPage
{
    Q_OBJECT
public:
    CrossSearchTab(GUI_Base& form, const CorpusDocument& corpus, Dialogs& dialogs, QObject* parent = nullptr);

    ResultPane& pane() override { return m_pane; }
    const ResultPane& pane() const override { return m_pane; }
    QWidget* entry() const override;

    // A corpus was loaded: every article listed, its element names offered in column 1.
    void showCorpus(const SearchResult& every, const QList<ElementChoice>& choices);
    // Empties the grid, which lets go of the corpus its values come from, and the results.
    void clear() override;

    // Entry `index` of the box at (row, column), both from 0, was chosen: the search it asks.
    void choose(int row, int column, int index);

private:
    GUI_Base& m_form;
    const CorpusDocument& m_corpus;
    Dialogs& m_dialogs;
    ResultPane m_pane;
    CriteriaGrid m_criteria;
};
