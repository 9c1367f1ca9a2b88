#include "search/searchscope.h"

#include "search/patternfinder.h"
#include "search/wordboundary.h"

#include <algorithm>

namespace {

// Appends the spans of the article's elements named `name` to `spans`, where the article's own start
// at `first`.
void appendSpans(const ElementIndex::Article& found, quint32 name, std::vector<TextSpan>& spans, size_t first)
{
    const auto count = found.end - found.begin;
    // Elements come in document order: an outer element before the ones it holds.
    for (qsizetype i = 0; i < count; ++i) {
        if (found.names[i] != name)
            continue;
        const ElementIndex::TextRange text = found.texts[i];
        if (text.end <= text.start)
            continue;
        if (spans.size() > first && qsizetype(text.start) < spans.back().end)
            continue; // inside the span before
        spans.push_back({qsizetype(text.start), qsizetype(text.end)});
    }
}

} // namespace

void scopeSpans(const ElementIndex& elements, quint32 name, int article, std::vector<TextSpan>& spans)
{
    spans.clear();
    if (name == ElementIndex::none || article < 0 || article >= elements.articleCount())
        return;
    appendSpans(elements.article(article), name, spans, 0);
}

AllScopeSpans allScopeSpans(const ElementIndex& elements, quint32 name)
{
    AllScopeSpans all;
    const int articles = elements.articleCount();
    all.first.reserve(size_t(articles) + 1);
    for (int n = 0; n < articles; ++n) {
        all.first.push_back(quint32(all.spans.size()));
        if (name != ElementIndex::none)
            appendSpans(elements.article(n), name, all.spans, all.spans.size());
    }
    all.first.push_back(quint32(all.spans.size()));
    return all;
}

bool liesWithin(const std::vector<TextSpan>& spans, qsizetype start, qsizetype length)
{
    // The last span that starts at or before `start`.
    const auto after = std::upper_bound(spans.cbegin(), spans.cend(), start,
                                        [](qsizetype position, const TextSpan& span) { return position < span.start; });
    if (after == spans.cbegin())
        return false;
    return start + length <= std::prev(after)->end;
}

bool containsWholeWordWithin(QStringView text, const BlockEdges& edges, const PatternFinder& pattern,
                             const TextSpan* spans, const TextSpan* spansEnd)
{
    if (spans == spansEnd)
        return false;
    // Nothing past the last span can lie in one: the text after it is not read.
    const qsizetype to = std::prev(spansEnd)->end;
    qsizetype from = spans->start;
    for (;;) {
        const wordboundary::Occurrence found = wordboundary::findWholeWord(text, edges, pattern, from, to);
        if (found.start < 0)
            return false;
        // The first span that starts after the occurrence does; the one before may hold it.
        const TextSpan* after =
            std::upper_bound(spans, spansEnd, found.start,
                             [](qsizetype position, const TextSpan& span) { return position < span.start; });
        const TextSpan* before = after == spans ? nullptr : std::prev(after);
        if (before && found.start + found.length <= before->end)
            return true;
        if (before && found.start < before->end)
            from = found.start + 1;
        else if (after != spansEnd)
            from = after->start;
        else
            return false;
    }
}
