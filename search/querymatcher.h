#pragma once

#include "corpus/blockedges.h"
#include "search/patternfinder.h"
#include "search/searchscope.h"
#include "search/termmatcher.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// How a query is matched, chosen in this one place for the search, the marks and the find bar: the
// terms each alone, or joined by spaces as one phrase, whole words only, under a case rule and an
// accent rule. The typographic apostrophes ’ and ‘ match ' whatever the accent rule. A phrase whose
// characters are read as written goes to one fast pattern finder; the rest to the term automaton,
// which alone reads the text through folded forms.
class QueryMatcher
{
public:
    enum class Form
    {
        EachTerm,
        Phrase,
    };

    QueryMatcher(const QStringList& terms, Form form, Qt::CaseSensitivity cs, bool ignoreAccents);

    // Whether every term (`all`) or at least one has a whole-word occurrence in `text`, whose block
    // edges are `edges`. Without terms: `all`. A phrase takes `all` as true; an empty phrase matches.
    bool matches(QStringView text, const BlockEdges& edges, bool all) const;
    // The same, counting only the occurrences that lie in one of `spans` (sorted, apart).
    bool matchesWithin(QStringView text, const BlockEdges& edges, bool all, const TextSpan* spans,
                       size_t spanCount) const;

    // For each distinct term, or for the phrase, its whole-word occurrences as the text has them, each
    // looked for past the end of the one before; with a non-negative `limit`, as TermMatcher::occurrenceRanges
    // bounds them. None for an empty phrase.
    std::vector<QList<TermMatcher::Occurrence>> occurrences(QStringView text, const BlockEdges& edges,
                                                            qsizetype limit = -1) const;

private:
    std::optional<TermMatcher> m_terms;
    std::optional<PatternFinder> m_phrase;
};
