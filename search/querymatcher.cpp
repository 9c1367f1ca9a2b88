#include "search/querymatcher.h"

#include "search/accentfolding.h"
#include "search/wordboundary.h"

#include <algorithm>

namespace {

TermMatcher::Accents accentsOf(const QStringList& terms, bool ignoreAccents)
{
    if (ignoreAccents)
        return TermMatcher::Accents::Ignored;
    // A query without an apostrophe keeps the plain reading of the text, and its speed.
    return std::any_of(terms.cbegin(), terms.cend(),
                       [](const QString& term) { return accentfolding::holdsApostrophe(term); })
               ? TermMatcher::Accents::Apostrophes
               : TermMatcher::Accents::Kept;
}

} // namespace

QueryMatcher::QueryMatcher(const QStringList& terms, Form form, Qt::CaseSensitivity cs, bool ignoreAccents)
{
    const TermMatcher::Accents accents = accentsOf(terms, ignoreAccents);
    if (form == Form::EachTerm) {
        m_terms.emplace(terms, cs, TermMatcher::Method::Automatic, accents);
        return;
    }
    const QString phrase = terms.join(QLatin1Char(' '));
    if (phrase.isEmpty())
        return;
    // Only the automaton reads the text through folded forms: it takes the phrase as one term.
    if (accents != TermMatcher::Accents::Kept)
        m_terms.emplace(QStringList{phrase}, cs, TermMatcher::Method::OnePass, accents);
    else
        m_phrase.emplace(phrase, cs);
}

bool QueryMatcher::matches(QStringView text, const BlockEdges& edges, bool all) const
{
    if (m_terms)
        return m_terms->matches(text, edges, all);
    return !m_phrase || wordboundary::containsWholeWord(text, edges, *m_phrase);
}

bool QueryMatcher::matchesWithin(QStringView text, const BlockEdges& edges, bool all, const TextSpan* spans,
                                 size_t spanCount) const
{
    if (m_terms)
        return m_terms->matchesWithin(text, edges, all, spans, spanCount);
    return !m_phrase || containsWholeWordWithin(text, edges, *m_phrase, spans, spans + spanCount);
}

std::vector<QList<TermMatcher::Occurrence>> QueryMatcher::occurrences(QStringView text, const BlockEdges& edges,
                                                                      qsizetype limit) const
{
    if (m_terms)
        return m_terms->occurrenceRanges(text, edges, limit);
    if (!m_phrase)
        return {};
    QList<TermMatcher::Occurrence> found;
    for (wordboundary::Occurrence next = wordboundary::findWholeWord(text, edges, *m_phrase);
         next.start >= 0 && found.size() != limit;
         next = wordboundary::findWholeWord(text, edges, *m_phrase, next.start + next.length))
        found.append({next.start, next.length});
    return {found};
}
