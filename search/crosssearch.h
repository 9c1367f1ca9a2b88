#pragma once

#include "corpus/corpusdocument.h"
#include "search/searchprogress.h"
#include "search/searchresult.h"

#include <QStringList>
#include <QStringView>
#include <memory>
#include <optional>
#include <vector>

// The structural search behind the criteria grid: nine criteria, in grid order, each an element
// name, a value, "- INDIFFERENT -" or empty (read from an empty box).

// What to offer in the next box: the values of `element` in the hits (its attribute values, or
// its text when it has no attribute), or with a `value`, the texts of those elements that carry
// that value as an attribute value.
struct CrossFill
{
    QString element;
    QString value;
};

struct CrossSearchOutcome
{
    SearchResult result;
    // For the next box: in the reader's order (FrenchOrder), each once; empty without a fill request.
    // Views into the texts and values of `content` (tens of thousands of long texts are not copied),
    // valid as long as it is kept.
    std::vector<QStringView> values;
    std::shared_ptr<const CorpusContent> content;
    // The progress callback stopped the walk: the rest is partial and not to be shown.
    bool stopped = false;
};

// Element texts are compared and offered without whitespace at either end and cut to their first
// 12,000 characters; a text of whitespace only counts as empty.

// Called before the walk with (0, total), then once per article visited; false stops the walk.
using CrossProgress = SearchProgress;

CrossSearchOutcome crossSearch(const CorpusDocument& corpus, const QStringList& criteria,
                               const std::optional<CrossFill>& fill, const CrossProgress& progress = {});
