#include "highlighter.h"

#include "wordboundary.h"

#include <algorithm>

namespace highlighter {

QList<Range> occurrences(const QString& text, const QString& pattern, Qt::CaseSensitivity cs, bool wholeWords)
{
    QList<Range> found;
    if (pattern.isEmpty())
        return found;
    qsizetype p = text.indexOf(pattern, 0, cs);
    while (p >= 0) {
        if (!wholeWords || wordboundary::isWholeWord(text, p, pattern.size())) {
            found.append({p, pattern.size()});
            p = text.indexOf(pattern, p + pattern.size(), cs);
        } else {
            p = text.indexOf(pattern, p + 1, cs);
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
        for (const QString& term : result.terms())
            marks += occurrences(text, term, cs, true);
    } else if (mode == searchmode::exactPhrase) {
        marks = occurrences(text, result.phrase(), cs, true);
    } else if (mode == searchmode::cross) {
        for (const QString& value : result.matchedValues())
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
    qsizetype at = 0;
    for (const Range& mark : marks) {
        html += text.mid(at, mark.start - at).toHtmlEscaped();
        html += openingMarkup;
        html += text.mid(mark.start, mark.length).toHtmlEscaped();
        html += closingMarkup;
        at = mark.start + mark.length;
    }
    html += text.mid(at).toHtmlEscaped();
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
