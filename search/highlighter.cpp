#include "search/highlighter.h"

#include "search/patternfinder.h"
#include "search/querymatcher.h"
#include "search/wordboundary.h"

#include <QSet>
#include <algorithm>
#include <optional>
#include <utility>

namespace highlighter {
namespace {

QStringList distinct(const QStringList& patterns)
{
    QStringList once;
    QSet<QString> seen;
    for (const QString& pattern : patterns) {
        if (!seen.contains(pattern)) {
            seen.insert(pattern);
            once.append(pattern);
        }
    }
    return once;
}

} // namespace

QList<Range> occurrences(const QString& text, const BlockEdges& edges, const QString& pattern, Qt::CaseSensitivity cs,
                         bool wholeWords, qsizetype limit)
{
    QList<Range> found;
    const PatternFinder finder(pattern, cs);
    if (wholeWords) {
        for (wordboundary::Occurrence next = wordboundary::findWholeWord(text, edges, finder);
             next.start >= 0 && found.size() != limit;
             next = wordboundary::findWholeWord(text, edges, finder, next.start + next.length))
            found.append({next.start, next.length});
        return found;
    }
    const qsizetype n = finder.size();
    for (qsizetype p = finder.indexIn(text); p >= 0 && found.size() != limit; p = finder.indexIn(text, p + n))
        found.append({p, n});
    return found;
}

namespace {

QList<Range> rangesOf(const QList<TermMatcher::Occurrence>& occurrences)
{
    QList<Range> found;
    found.reserve(occurrences.size());
    for (const TermMatcher::Occurrence& occurrence : occurrences)
        found.append({occurrence.start, occurrence.length});
    return found;
}

} // namespace

QList<Range> wordRanges(const QString& text, const BlockEdges& edges, const QString& word, Qt::CaseSensitivity cs,
                        bool ignoreAccents, qsizetype limit)
{
    const QueryMatcher matcher({word}, QueryMatcher::Form::Phrase, cs, ignoreAccents);
    const std::vector<QList<TermMatcher::Occurrence>> found = matcher.occurrences(text, edges, limit);
    return found.empty() ? QList<Range>() : rangesOf(found.front());
}

namespace {

// The matcher of the result's terms or phrase; none for the other modes.
std::optional<QueryMatcher> queryMatcher(const SearchResult& result)
{
    const Qt::CaseSensitivity cs = result.caseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    if (result.mode() == SearchMode::AllTerms || result.mode() == SearchMode::AnyTerm)
        return QueryMatcher(result.terms(), QueryMatcher::Form::EachTerm, cs, result.ignoresAccents());
    if (result.mode() == SearchMode::ExactPhrase)
        return QueryMatcher(result.terms(), QueryMatcher::Form::Phrase, cs, result.ignoresAccents());
    return std::nullopt;
}

// The marks of the result's mode, sorted and merged. With a non-negative `limit` each pattern is
// looked for up to its (limit + 1)th occurrence only; the merged ranges are then cut before the
// first occurrence left out, where the marks stop being known, and to `limit` ranges. `known`, when
// given, is where the marks stop being known: every mark starting before it is in the list, and it is
// past the text's end when the list has them all.
QList<Range> collectRanges(const SearchResult& result, const QString& text, const BlockEdges& edges, qsizetype limit,
                           const std::vector<TextSpan>* within = nullptr, const QueryMatcher* matcher = nullptr,
                           qsizetype* known = nullptr)
{
    const SearchMode mode = result.mode();
    const Qt::CaseSensitivity cs = result.caseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const qsizetype perPattern = limit < 0 ? -1 : limit + 1;
    // Marks are known exactly before this position.
    qsizetype horizon = text.size() + 1;
    QList<Range> marks;
    const auto keep = [within](const QList<Range>& found) {
        if (!within)
            return found;
        QList<Range> kept;
        for (const Range& range : found) {
            if (liesWithin(*within, range.start, range.length))
                kept.append(range);
        }
        return kept;
    };
    const auto add = [&](const QList<Range>& found) {
        if (perPattern >= 0 && found.size() == perPattern) {
            horizon = std::min(horizon, found.constLast().start);
            marks += keep(found.first(found.size() - 1));
        } else {
            marks += keep(found);
        }
    };
    const auto addAll = [&](const QueryMatcher& query) {
        for (const QList<TermMatcher::Occurrence>& each : query.occurrences(text, edges, perPattern))
            add(rangesOf(each));
    };
    if (mode == SearchMode::AllTerms || mode == SearchMode::AnyTerm || mode == SearchMode::ExactPhrase) {
        if (matcher) {
            addAll(*matcher);
        } else if (const std::optional<QueryMatcher> own = queryMatcher(result)) {
            addAll(*own);
        }
    } else if (mode == SearchMode::Cross) {
        // The same value may have matched thousands of elements: it is looked for once.
        for (const QString& value : distinct(result.matchedValues()))
            add(occurrences(text, edges, value, cs, false, perPattern));
    }
    if (known)
        *known = horizon;
    if (marks.size() < 2 && horizon > text.size())
        return marks;
    std::sort(marks.begin(), marks.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
    QList<Range> merged;
    for (const Range& mark : std::as_const(marks)) {
        // Marks that meet at an edge parting words are two words, and stay two.
        const qsizetype lastEnd = merged.isEmpty() ? -1 : merged.constLast().start + merged.constLast().length;
        if (!merged.isEmpty() && (mark.start < lastEnd ||
                                  (mark.start == lastEnd && !wordboundary::edgePartsWords(text, edges, mark.start)))) {
            Range& last = merged.last();
            last.length = std::max(last.start + last.length, mark.start + mark.length) - last.start;
        } else {
            merged.append(mark);
        }
    }
    // A range reaching the first occurrence left out could have been joined to it.
    while (!merged.isEmpty() && merged.constLast().start + merged.constLast().length >= horizon) {
        if (known)
            *known = merged.constLast().start;
        merged.removeLast();
    }
    if (limit >= 0 && merged.size() > limit) {
        if (known)
            *known = merged.at(limit).start;
        merged.resize(limit);
    }
    return merged;
}

} // namespace

QList<Range> ranges(const SearchResult& result, const QString& text, const BlockEdges& edges)
{
    return collectRanges(result, text, edges, -1);
}

QList<Range> firstRanges(const SearchResult& result, const QString& text, const BlockEdges& edges, qsizetype limit)
{
    return collectRanges(result, text, edges, std::max<qsizetype>(limit, 0));
}

namespace {

QList<Range> scopedRanges(const SearchResult& result, int index, qsizetype limit, const QueryMatcher* matcher,
                          qsizetype* known = nullptr)
{
    if (index < 0 || index >= result.count())
        return {};
    const ArticleEntry& hit = *result.hits().at(index);
    const qsizetype bound = limit < 0 ? -1 : limit;
    if (result.scope().isWholeArticle() || !result.content())
        return collectRanges(result, hit.text, hit.edges, bound, nullptr, matcher, known);
    const ElementIndex& elements = result.content()->elements;
    std::vector<TextSpan> spans;
    scopeSpans(elements, elements.nameId(result.scope().element), hit.number, spans);
    return collectRanges(result, hit.text, hit.edges, bound, &spans, matcher, known);
}

} // namespace

QList<Range> hitRanges(const SearchResult& result, int index)
{
    return scopedRanges(result, index, -1, nullptr);
}

Marks hitRangesBefore(const SearchResult& result, int index, qsizetype end, qsizetype limit)
{
    if (index < 0 || index >= result.count() || limit < 0)
        return {};
    const qsizetype textSize = result.hits().at(index)->text.size();
    const std::optional<QueryMatcher> matcher = queryMatcher(result);
    // A frequent word in a long text: its occurrences are looked for a little past `end` only, the
    // bound growing until the marks before `end` are all known, and never past today's `limit + 1`.
    for (qsizetype step = std::min<qsizetype>(1024, limit + 1);; step = std::min(step * 4, limit + 1)) {
        qsizetype known = 0;
        QList<Range> found = scopedRanges(result, index, step, matcher ? &*matcher : nullptr, &known);
        const auto past =
            std::partition_point(found.cbegin(), found.cend(), [end](const Range& r) { return r.start < end; });
        const qsizetype before = past - found.cbegin();
        const bool complete = known > textSize;
        if (before < found.size() || before > limit || complete || step > limit) {
            Marks marks;
            marks.more = !complete || before < found.size() || before > limit;
            found.resize(std::min(before, limit));
            marks.ranges = std::move(found);
            return marks;
        }
    }
}

bool eachHitRanges(const SearchResult& result, const std::function<bool(int, const QList<Range>&)>& take)
{
    // The matcher of many terms is an automaton: made once for all the hits.
    const std::optional<QueryMatcher> matcher = queryMatcher(result);
    for (int index = 0; index < result.count(); ++index) {
        if (!take(index, scopedRanges(result, index, -1, matcher ? &*matcher : nullptr)))
            return false;
    }
    return true;
}

QString markedText(const SearchResult& result, int index)
{
    if (index < 0 || index >= result.count())
        return {};
    const QString& text = result.hits().at(index)->text;
    const QList<Range> marks = hitRanges(result, index);
    if (marks.isEmpty())
        return text;
    QString out;
    out.reserve(text.size() + marks.size() * (openingMarkup.size() + closingMarkup.size()));
    qsizetype at = 0;
    for (const Range& mark : marks) {
        out += QStringView(text).mid(at, mark.start - at);
        out += openingMarkup;
        out += QStringView(text).mid(mark.start, mark.length);
        out += closingMarkup;
        at = mark.start + mark.length;
    }
    out += QStringView(text).mid(at);
    return out;
}

} // namespace highlighter
