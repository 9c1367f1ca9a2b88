#include "forms/corpustab.h"

#include "corpus/corpusdocument.h"
#include "forms/gui_base.h"
#include "search/accentfolding.h"

#include <QSignalBlocker>

CorpusTab::CorpusTab(GUI_Base& form, const CorpusDocument& corpus, QObject* parent)
    : TabPage(parent), m_form(form), m_corpus(corpus),
      m_pane(form.Lst_Corpus, nullptr, form.TxtView_Corpus, this,
             {form.Layout_Occ_Corpus, 0, form.Layout_Article_Corpus, nullptr})
{
    connect(form.Txt_Corpus, &QLineEdit::returnPressed, this, &CorpusTab::showBestTitle);
    // Going back to an earlier title list puts back the text that made it.
    connect(&m_pane, &ResultPane::recordRestored, this, [this] {
        const QSignalBlocker quiet(m_form.Txt_Corpus);
        m_form.Txt_Corpus->setText(m_pane.record().phrase());
    });
}

QWidget* CorpusTab::entry() const
{
    return m_form.Txt_Corpus;
}

SearchResult CorpusTab::showCorpus()
{
    // Ready before the first key: indexing on it would make that key wait at a gigabyte.
    m_titleFilter = TitleFilter(TitleIndex(m_corpus.content()));
    // The index's list of every article, not a second one.
    SearchResult every = m_titleFilter.allArticles();
    m_pane.show(every);
    return every;
}

void CorpusTab::clear()
{
    m_pane.show(SearchResult());
    m_pane.forgetHistory();
    m_titleFilter = TitleFilter();
}

void CorpusTab::setIgnoreAccents(bool ignore)
{
    m_ignoreAccents = ignore;
    if (!m_form.Txt_Corpus->text().isEmpty())
        filter();
}

void CorpusTab::filter()
{
    m_pane.show(m_titleFilter.filter(m_form.Txt_Corpus->text(), m_ignoreAccents), ResultPane::CurrentRow::First);
}

void CorpusTab::showBestTitle()
{
    m_pane.selectRow(titlelookup::bestTitleRow(m_pane.record(), m_form.Txt_Corpus->text(), titleKey()));
}

void CorpusTab::lookUpWord(const QString& word)
{
    if (m_corpus.articleCount() == 0 || word.isEmpty())
        return;
    SearchResult found = titlelookup::titleLookUp(m_corpus, word, titleKey());
    found.setIgnoreAccents(m_ignoreAccents);
    // No article of that title: the titles that hold the word.
    if (found.count() == 0)
        found = m_titleFilter.filter(word, m_ignoreAccents);
    if (found.count() == 0) {
        emit lookUpFailed(word);
        return;
    }
    {
        const QSignalBlocker quiet(m_form.Txt_Corpus);
        m_form.Txt_Corpus->setText(word);
    }
    m_pane.show(std::move(found), ResultPane::CurrentRow::First);
    emit wantsShown();
}

titlelookup::TitleKey CorpusTab::titleKey() const
{
    if (!m_ignoreAccents)
        return titlelookup::caseKey;
    return [](QStringView text) { return accentfolding::fold(text).toCaseFolded(); };
}
