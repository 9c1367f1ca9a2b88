#include "search/wordboundary.h"

#include "search/patternfinder.h"

#include <QChar>
#include <bitset>

namespace wordboundary {

namespace {

bool separates(char32_t c)
{
    if (c == U'-' || c == U'\u2010' || c == U'\u2011')
        return false;
    return !QChar::isLetterOrNumber(c) && !QChar::isMark(c);
}

// The basic plane, looked up once per occurrence instead of asking Unicode's tables each time.
const std::bitset<0x10000>& basicPlane()
{
    static const std::bitset<0x10000> table = [] {
        std::bitset<0x10000> bits;
        for (char32_t c = 0; c < 0x10000; ++c)
            bits[c] = separates(c);
        return bits;
    }();
    return table;
}

// Where the pattern, starting at `start`, ends when each of its spaces matches a space of the text or
// an edge that parts words, no edge parting a word of it; -1 when it does not match there.
qsizetype matchAcrossEdges(QStringView text, const BlockEdges& edges, const PatternFinder& pattern, qsizetype start,
                           qsizetype to)
{
    qsizetype at = start;
    qsizetype part = 0;
    const std::vector<qsizetype>& spaces = pattern.spaces();
    for (size_t k = 0;; ++k) {
        const qsizetype partEnd = k < spaces.size() ? spaces[k] : pattern.size();
        const qsizetype length = partEnd - part;
        if (at + length > to || !pattern.partMatchesAt(text, at, part, length))
            return -1;
        for (const quint32* edge = edges.after(at); edge != edges.end() && *edge < at + length; ++edge) {
            if (insideWord(text, *edge))
                return -1;
        }
        at += length;
        if (k == spaces.size())
            return at;
        if (at < to && text.at(at) == u' ')
            ++at;
        else if (!edgePartsWords(text, edges, at))
            return -1;
        part = partEnd + 1;
    }
}

} // namespace

bool isSeparator(char32_t c)
{
    return c < 0x10000 ? basicPlane()[c] : separates(c);
}

bool insideWord(QStringView text, qsizetype position)
{
    if (position <= 0 || position >= text.size())
        return false;
    const QChar before = text.at(position - 1);
    const QChar after = text.at(position);
    if (before.isHighSurrogate() && after.isLowSurrogate())
        return false; // inside one character
    char32_t left = before.unicode();
    if (before.isLowSurrogate() && position >= 2 && text.at(position - 2).isHighSurrogate())
        left = QChar::surrogateToUcs4(text.at(position - 2), before);
    char32_t right = after.unicode();
    if (after.isHighSurrogate() && position + 1 < text.size() && text.at(position + 1).isLowSurrogate())
        right = QChar::surrogateToUcs4(after, text.at(position + 1));
    return !isSeparator(left) && !isSeparator(right);
}

bool edgePartsWords(QStringView text, const BlockEdges& edges, qsizetype position)
{
    return edges.contains(position) && insideWord(text, position);
}

bool isWholeWord(QStringView text, const BlockEdges& edges, qsizetype position, qsizetype length, Reading reading)
{
    const qsizetype end = position + length;
    if (position > 0) {
        const QChar before = text.at(position - 1);
        if (before.isLowSurrogate() && position >= 2 && text.at(position - 2).isHighSurrogate()) {
            if (!isSeparator(QChar::surrogateToUcs4(text.at(position - 2), before)) &&
                !edgePartsWords(text, edges, position))
                return false;
        } else if (before.isHighSurrogate() && position < text.size() && text.at(position).isLowSurrogate()) {
            return false;
        } else if (!isSeparator(before.unicode()) && !edgePartsWords(text, edges, position)) {
            return false;
        }
    }
    if (end < text.size()) {
        const QChar after = text.at(end);
        bool separated = false;
        if (after.isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate())
            separated = isSeparator(QChar::surrogateToUcs4(after, text.at(end + 1)));
        else if (after.isLowSurrogate() && end > 0 && text.at(end - 1).isHighSurrogate())
            return false;
        else
            separated = isSeparator(after.unicode());
        if (!separated && !edgePartsWords(text, edges, end))
            return false;
    }
    if (reading == Reading::AsWritten) {
        for (const quint32* edge = edges.after(position); edge != edges.end() && *edge < end; ++edge) {
            if (insideWord(text, *edge))
                return false;
        }
    }
    return true;
}

Occurrence findWholeWord(QStringView text, const BlockEdges& edges, const PatternFinder& pattern, qsizetype from,
                         qsizetype to)
{
    if (to < 0 || to > text.size())
        to = text.size();
    const QStringView upTo = text.first(to);
    const qsizetype n = pattern.size();
    Occurrence found;
    for (qsizetype p = pattern.indexIn(upTo, from); p >= 0; p = pattern.indexIn(upTo, p + 1)) {
        if (isWholeWord(text, edges, p, n)) {
            found = {p, n};
            break;
        }
    }
    const std::vector<qsizetype>& spaces = pattern.spaces();
    if (edges.isEmpty() || spaces.empty())
        return found;
    // Across edges: each edge that parts words, with each space of the pattern standing there in turn.
    // The earliest start wins; past the last space's reach no edge can give an earlier one.
    for (const quint32* edge = edges.after(from - 1); edge != edges.end() && qsizetype(*edge) < to; ++edge) {
        if (found.start >= 0 && qsizetype(*edge) - spaces.back() >= found.start)
            break;
        if (!insideWord(text, *edge))
            continue;
        for (const qsizetype space : spaces) {
            const qsizetype start = qsizetype(*edge) - space;
            if (start < from || (found.start >= 0 && start >= found.start))
                continue;
            const qsizetype end = matchAcrossEdges(text, edges, pattern, start, to);
            if (end > start && isWholeWord(text, edges, start, end - start, Reading::EdgesAsSpaces))
                found = {start, end - start};
        }
    }
    return found;
}

bool containsWholeWord(QStringView text, const BlockEdges& edges, const PatternFinder& pattern)
{
    return findWholeWord(text, edges, pattern).start >= 0;
}

} // namespace wordboundary
