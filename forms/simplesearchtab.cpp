#include "forms/simplesearchtab.h"

#include "forms/dialogs.h"
#include "forms/gui_base.h"
#include "search/fulltextsearch.h"

SimpleSearchTab::SimpleSearchTab(GUI_Base& form, const CorpusDocument& corpus, Dialogs& dialogs, QObject* parent)
    : TabPage(parent), m_form(form), m_corpus(corpus), m_dialogs(dialogs),
      m_pane(form.Lst_Art, form.Txt_Nb, form.Txt_Art, this,
             {form.Layout16, form.Layout16->indexOf(form.Txt_Nb) + 1, form.Layout_Article_Simple, form.Chk_Cs})
{
}

QWidget* SimpleSearchTab::entry() const
{
    return m_form.Txt_Rech;
}

void SimpleSearchTab::showCorpus(const SearchResult& every, const QList<ElementChoice>& choices)
{
    m_loaded = true;
    m_pane.show(every);
    QComboBox* scopes = m_form.Lst_Dans;
    const QString whole = scopes->itemText(0);
    scopes->clear();
    scopes->addItem(whole);
    // The first choice of the grid is "- INDIFFERENT -": here it is the whole article.
    for (qsizetype i = 1; i < choices.size(); ++i)
        scopes->addItem(choices.at(i).shown, choices.at(i).name);
}

void SimpleSearchTab::clear()
{
    m_loaded = false;
    m_pane.show(SearchResult());
    m_pane.forgetHistory();
    m_form.Lst_Dans->setCurrentIndex(0);
}

void SimpleSearchTab::setIgnoreAccents(bool ignore)
{
    m_ignoreAccents = ignore;
    const SearchResult& last = m_pane.record();
    const SearchMode mode = last.mode();
    if (m_loaded && (mode == SearchMode::AllTerms || mode == SearchMode::AnyTerm || mode == SearchMode::ExactPhrase))
        run(last.phrase(), mode, last.caseSensitive(), last.scope());
}

void SimpleSearchTab::search()
{
    if (!m_loaded) {
        m_dialogs.warning(QStringLiteral("Recherche Simple"), QStringLiteral("Aucun corpus chargé"));
        return;
    }
    run(m_form.Txt_Rech->text(), queryMode(m_form.Lst_Type->currentIndex()), m_form.Chk_Cs->isChecked(), chosenScope());
}

SearchScope SimpleSearchTab::chosenScope() const
{
    if (m_form.Lst_Dans->currentIndex() <= 0)
        return {};
    return {m_form.Lst_Dans->currentData().toString()};
}

void SimpleSearchTab::run(const QString& query, SearchMode mode, bool caseSensitive, const SearchScope& scope)
{
    const std::unique_ptr<Dialogs::Progress> shown = m_dialogs.progress(&m_form, QStringLiteral("Recherche en cours…"));
    std::optional<SearchResult> found = fullTextSearch(
        m_corpus, query, mode, caseSensitive, m_ignoreAccents,
        [&shown](int visited, int total) { return shown->advance(visited, total); }, scope);
    // Cancelled: the tab keeps the result it showed.
    if (found)
        m_pane.show(std::move(*found), ResultPane::CurrentRow::First);
}

void SimpleSearchTab::showOccurrence(const SearchResult& record, int row, qsizetype start, qsizetype length)
{
    const SearchResult& shown = m_pane.record();
    // A search run since the concordance was made: its record comes back first.
    if (shown.content() != record.content() || shown.hits() != record.hits() || shown.terms() != record.terms() ||
        shown.mode() != record.mode() || shown.caseSensitive() != record.caseSensitive() ||
        shown.ignoresAccents() != record.ignoresAccents() || shown.scope() != record.scope())
        m_pane.show(record);
    m_pane.showOccurrence(row, start, length);
}
