#include "wordboundary.h"

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

bool isWholeWord(const QString& text, qsizetype position, qsizetype length)
{
    const qsizetype end = position + length;
    return (position == 0 || isSeparator(text.at(position - 1))) && (end == text.size() || isSeparator(text.at(end)));
}

bool containsWholeWord(const QString& text, const QString& pattern, Qt::CaseSensitivity cs)
{
    if (pattern.isEmpty())
        return false;
    for (qsizetype p = text.indexOf(pattern, 0, cs); p >= 0; p = text.indexOf(pattern, p + 1, cs)) {
        if (isWholeWord(text, p, pattern.size()))
            return true;
    }
    return false;
}

} // namespace wordboundary
