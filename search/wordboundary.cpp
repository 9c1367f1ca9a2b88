#include "wordboundary.h"

#include "patternfinder.h"

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

} // namespace

bool isSeparator(char32_t c)
{
    return c < 0x10000 ? basicPlane()[c] : separates(c);
}

bool isWholeWord(QStringView text, qsizetype position, qsizetype length)
{
    const qsizetype end = position + length;
    if (position > 0) {
        const QChar before = text.at(position - 1);
        if (before.isLowSurrogate() && position >= 2 && text.at(position - 2).isHighSurrogate()) {
            if (!isSeparator(QChar::surrogateToUcs4(text.at(position - 2), before)))
                return false;
        } else if (before.isHighSurrogate() && position < text.size() && text.at(position).isLowSurrogate()) {
            return false;
        } else if (!isSeparator(before.unicode())) {
            return false;
        }
    }
    if (end < text.size()) {
        const QChar after = text.at(end);
        if (after.isHighSurrogate() && end + 1 < text.size() && text.at(end + 1).isLowSurrogate())
            return isSeparator(QChar::surrogateToUcs4(after, text.at(end + 1)));
        if (after.isLowSurrogate() && end > 0 && text.at(end - 1).isHighSurrogate())
            return false;
        return isSeparator(after.unicode());
    }
    return true;
}

bool containsWholeWord(QStringView text, const PatternFinder& pattern)
{
    for (qsizetype p = pattern.indexIn(text); p >= 0; p = pattern.indexIn(text, p + 1)) {
        if (isWholeWord(text, p, pattern.size()))
            return true;
    }
    return false;
}

bool containsWholeWord(QStringView text, const PatternFinder& pattern, qsizetype from, qsizetype to)
{
    const QStringView upTo = text.first(to);
    for (qsizetype p = pattern.indexIn(upTo, from); p >= 0; p = pattern.indexIn(upTo, p + 1)) {
        if (isWholeWord(text, p, pattern.size()))
            return true;
    }
    return false;
}

} // namespace wordboundary
