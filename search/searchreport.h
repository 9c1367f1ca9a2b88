#pragma once

#include "search/searchresult.h"

#include <QString>

// The search report a user saves or prints: which search a tab shows, its criteria, its options,
// the number of articles and their titles. Lines end with "\n".
namespace searchreport {

enum class Kind
{
    Corpus, // the title filter
    Simple, // the full-text search
    Cross,  // the cross search
};

// The two lines every report opens with.
QString header();

// The whole report of `result` as a search of the given kind. After its criteria, a simple search
// says its case rule ("Casse : respectée" or "Casse : ignorée"), and a simple search or a title
// filter that ignored accents says so ("Accents : ignorés").
QString text(Kind kind, const SearchResult& result);

} // namespace searchreport
