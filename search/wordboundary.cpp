#include "wordboundary.h"

#include "patternfinder.h"

namespace wordboundary {

bool isSeparator(QChar c)
{
    switch (c.unicode()) {
    case u'\'':
    case u',':
    case u'?':
    case u';':
    case u'.':
    case u' ':
    case u':':
    case u'!':
    case u'(':
    case u')':
    case u'"':
    case u'\u00AB': // «
    case u'\u00BB': // »
    case u'\u2019': // ’
    case u'\u2018': // ‘
    case u'\u201C': // “
    case u'\u201D': // ”
        return true;
    default:
        return c.isSpace();
    }
}

bool isWholeWord(QStringView text, qsizetype position, qsizetype length)
{
    const qsizetype end = position + length;
    return (position == 0 || isSeparator(text.at(position - 1))) && (end == text.size() || isSeparator(text.at(end)));
}

bool containsWholeWord(QStringView text, const PatternFinder& pattern)
{
    for (qsizetype p = pattern.indexIn(text); p >= 0; p = pattern.indexIn(text, p + 1)) {
        if (isWholeWord(text, p, pattern.size()))
            return true;
    }
    return false;
}

bool containsWholeWord(const QString& text, const QString& pattern, Qt::CaseSensitivity cs)
{
    return containsWholeWord(text, PatternFinder(pattern, cs));
}

} // namespace wordboundary
