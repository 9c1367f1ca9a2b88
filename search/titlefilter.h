#pragma once

#include "corpusdocument.h"
#include "searchresult.h"

// Records over the whole index: every article, or those whose title contains a text.

// Every article once, in document order; mode AllArticles.
SearchResult allArticles(const CorpusDocument& corpus);

// The articles whose title contains the filter text, runs of spaces counting as one and
// letter case ignored, and accents too with `ignoreAccents` (search/accentfolding.h); mode Titles.
SearchResult titleFilter(const CorpusDocument& corpus, const QString& filterText, bool ignoreAccents = false);
