#pragma once

#include "corpus/corpusdocument.h"
#include "search/searchprogress.h"
#include "search/searchresult.h"
#include "search/searchscope.h"

#include <optional>

// Whole-word search of the articles' full text.
//   AllTerms:    every term occurs as a whole word; no terms lists every article
//   AnyTerm:     at least one term does; no terms lists none
//   ExactPhrase: the terms joined with single spaces occur as a whole; no terms lists every article
// Any other mode lists nothing. Letter case is ignored unless `caseSensitive`; accents only with
// `ignoreAccents` (search/accentfolding.h), on the query and the text alike. Words end at the
// articles' block edges too, and a space of the query may stand for one (search/wordboundary.h).
// Within an element's scope only the occurrences lying wholly in the text of one element of that
// name count (each still judged a whole word against the article's text), and an article without
// such an element is no hit: "tous" asks every term there, "exact" the phrase within one element.
SearchResult fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode, bool caseSensitive,
                            bool ignoreAccents = false, const SearchScope& scope = {});

// The same, telling `progress` how far it has gone; nothing when `progress` stops it.
std::optional<SearchResult> fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode,
                                           bool caseSensitive, bool ignoreAccents, const SearchProgress& progress,
                                           const SearchScope& scope = {});
// A progress in the accent rule's place would be read as `true` when it converts to a function
// pointer: such a call does not compile.
std::optional<SearchResult> fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode,
                                           bool caseSensitive, const SearchProgress& progress,
                                           const SearchScope& scope = {}) = delete;

// The mode of the query-type box's item `index`; AllArticles, which finds nothing, for no item.
SearchMode queryMode(int index);
