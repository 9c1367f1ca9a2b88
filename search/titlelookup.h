#pragma once

#include "corpus/corpusdocument.h"
#include "search/searchresult.h"

#include <QStringView>
#include <functional>

// Finding an article by its title, as a reader follows a word or presses Enter in the title filter.
namespace titlelookup {

// What two titles are compared by: equal keys are the same title. A caller that folds more than
// letter case (accents) passes its own key.
using TitleKey = std::function<QString(QStringView)>;

// The text with its letter case folded, and ’ and ‘ read as '.
QString caseKey(QStringView text);

// The articles whose whole title is `word` under `key`, in document order; mode Titles.
SearchResult titleLookUp(const CorpusDocument& corpus, const QString& word, const TitleKey& key = caseKey);

// The row of `titles` that best matches the typed text (runs of spaces counting as one): the first
// title equal to it, else the first that starts with it, else the first row; -1 when there is none.
int bestTitleRow(const SearchResult& titles, const QString& text, const TitleKey& key = caseKey);

} // namespace titlelookup
