#include "forms/crosssearchtab.h"

#include "forms/dialogs.h"
#include "forms/gui_base.h"
#include "search/crosssearch.h"

CrossSearchTab::CrossSearchTab(GUI_Base& form, const CorpusDocument& corpus, Dialogs& dialogs, QObject* parent)
    : TabPage(parent), m_form(form), m_corpus(corpus), m_dialogs(dialogs),
      m_pane(form.Lst_Art_Cro, form.txt_nbcro, form.Txt_Art_Cro, this,
             {form.Layout18, form.Layout18->indexOf(form.txt_nbcro) + 1, form.Layout_Article_Cro, nullptr}),
      m_criteria({{{form.Lst_B11, form.Lst_B12, form.Lst_B13},
                   {form.Lst_B21, form.Lst_B22, form.Lst_B23},
                   {form.Lst_B31, form.Lst_B32, form.Lst_B33}}})
{
    // A choice shows its progress as every search does: an idle bar would only take room.
    form.LoadCroisee->hide();
}

QWidget* CrossSearchTab::entry() const
{
    return m_form.Lst_B11;
}

void CrossSearchTab::showCorpus(const SearchResult& every, const QList<ElementChoice>& choices)
{
    m_pane.show(every);
    m_criteria.offerElements(choices);
}

void CrossSearchTab::clear()
{
    m_criteria.clear();
    m_pane.show(SearchResult());
    m_pane.forgetHistory();
}

void CrossSearchTab::choose(int row, int column, int index)
{
    const CriteriaGrid::Search search = m_criteria.choose(row, column, index);
    const std::unique_ptr<Dialogs::Progress> shown = m_dialogs.progress(&m_form, QStringLiteral("Recherche en cours…"));
    CrossSearchOutcome outcome = crossSearch(m_corpus, search.criteria, search.fill, [&shown](int visited, int total) {
        return shown->advance(visited, total);
    });
    if (outcome.stopped) {
        // Cancelled: the tab keeps the result it showed, and the grid the choices that made it.
        m_criteria.revert(search);
        return;
    }
    m_criteria.apply(search);
    if (search.target)
        CriteriaGrid::offerValues(search.target, std::move(outcome.values), std::move(outcome.content));
    m_criteria.remember();
    m_pane.show(std::move(outcome.result), ResultPane::CurrentRow::First);
}
