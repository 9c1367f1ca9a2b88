#include "highlighter.h"

#include "patternfinder.h"
#include "wordboundary.h"

#include <QSet>
#include <algorithm>

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

QList<Range> occurrences(const QString& text, const QString& pattern, Qt::CaseSensitivity cs, bool wholeWords)
{
    QList<Range> found;
    const PatternFinder finder(pattern, cs);
    const qsizetype n = finder.size();
    qsizetype p = finder.indexIn(text);
    while (p >= 0) {
        if (!wholeWords || wordboundary::isWholeWord(text, p, n)) {
            found.append({p, n});
            p = finder.indexIn(text, p + n);
        } else {
            p = finder.indexIn(text, p + 1);
        }
    }
    return found;
}

QList<Range> ranges(const SearchResult& result, const QString& text)
{
    const QString& mode = result.mode();
    const Qt::CaseSensitivity cs = result.caseSensitive() ? Qt::CaseSensitive : Qt::CaseInsensitive;
    QList<Range> marks;
    if (mode == searchmode::allTerms || mode == searchmode::anyTerm) {
        for (const QString& term : distinct(result.terms()))
            marks += occurrences(text, term, cs, true);
    } else if (mode == searchmode::exactPhrase) {
        marks = occurrences(text, result.phrase(), cs, true);
    } else if (mode == searchmode::cross) {
        // The same value may have matched thousands of elements: it is looked for once.
        for (const QString& value : distinct(result.matchedValues()))
            marks += occurrences(text, value, cs, false);
    }
    if (marks.size() < 2)
        return marks;
    std::sort(marks.begin(), marks.end(), [](const Range& a, const Range& b) { return a.start < b.start; });
    QList<Range> merged{marks.constFirst()};
    for (qsizetype i = 1; i < marks.size(); ++i) {
        Range& last = merged.last();
        const qsizetype lastEnd = last.start + last.length;
        if (marks[i].start <= lastEnd)
            last.length = std::max(lastEnd, marks[i].start + marks[i].length) - last.start;
        else
            merged.append(marks[i]);
    }
    return merged;
}

QString toHtml(const QString& text, const QList<Range>& marks)
{
    QString html;
    html.reserve(text.size() + text.size() / 8 + marks.size() * (openingMarkup.size() + closingMarkup.size()) + 64);
    html += QLatin1String("<p style=\"white-space:pre-wrap\">");
    // The HTML reader drops a line break just inside the paragraph's start and end.
    if (text.startsWith(QLatin1Char('\n')))
        html += QLatin1Char('\n');
    qsizetype at = 0;
    for (const Range& mark : marks) {
        html += text.mid(at, mark.start - at).toHtmlEscaped();
        html += openingMarkup;
        html += text.mid(mark.start, mark.length).toHtmlEscaped();
        html += closingMarkup;
        at = mark.start + mark.length;
    }
    html += text.mid(at).toHtmlEscaped();
    if (text.endsWith(QLatin1Char('\n')))
        html += QLatin1Char('\n');
    html += QLatin1String("</p>");
    return html;
}

Rendering render(const SearchResult& result, int index)
{
    if (result.count() == 0 || index < 0 || index >= result.count())
        return {};
    const QString& text = result.hits().at(index)->text;
    const QList<Range> marks = ranges(result, text);
    if (marks.isEmpty())
        return {text, false};
    return {toHtml(text, marks), true};
}

QString markedText(const SearchResult& result, int index)
{
    if (index < 0 || index >= result.count())
        return {};
    const QString& text = result.hits().at(index)->text;
    const QList<Range> marks = ranges(result, text);
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
