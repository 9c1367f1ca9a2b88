#pragma once

#include "corpusdocument.h"
#include "searchprogress.h"
#include "searchresult.h"
#include "searchscope.h"

#include <optional>

// Whole-word search of the articles' full text.
//   AllTerms:    every term occurs as a whole word; no terms lists every article
//   AnyTerm:     at least one term does; no terms lists none
//   ExactPhrase: the terms joined with single spaces occur as a whole; no terms lists every article
// Any other mode lists nothing. Letter case is ignored unless `caseSensitive`; accents never are.
// Within an element's scope only the occurrences lying wholly in the text of one element of that
// name count (each still judged a whole word against the article's text), and an article without
// such an element is no hit: "tous" asks every term there, "exact" the phrase within one element.
SearchResult fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode, bool caseSensitive,
                            const SearchScope& scope = {});

// The same, telling `progress` how far it has gone; nothing when `progress` stops it.
std::optional<SearchResult> fullTextSearch(const CorpusDocument& corpus, const QString& query, SearchMode mode,
                                           bool caseSensitive, const SearchProgress& progress,
                                           const SearchScope& scope = {});

// The mode of the query-type box's item `index`; AllArticles, which finds nothing, for no item.
SearchMode queryMode(int index);
