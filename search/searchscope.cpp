#include "searchscope.h"

#include "patternfinder.h"
#include "wordboundary.h"

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

bool containsWholeWordWithin(QStringView text, const PatternFinder& pattern, const TextSpan* spans,
                             const TextSpan* spansEnd)
{
    if (spans == spansEnd)
        return false;
    const qsizetype n = pattern.size();
    // Nothing past the last span can lie in one: the text after it is not read.
    const QStringView scanned = text.first(std::prev(spansEnd)->end);
    const TextSpan* span = spans;
    for (qsizetype p = pattern.indexIn(scanned, span->start); p >= 0;) {
        // Occurrences only move on: a span ending before this one does cannot hold a later one.
        while (span != spansEnd && span->end < p + n)
            ++span;
        if (span == spansEnd)
            return false;
        if (span->start <= p && wordboundary::isWholeWord(text, p, n))
            return true;
        p = pattern.indexIn(scanned, std::max(p + 1, span->start));
    }
    return false;
}
