#include "forms/articledisplay.h"

#include "corpus/elementindex.h"

#include <algorithm>
#include <map>

namespace {

// Characters the document turns into a paragraph break, one for one, except "\r\n", which it
// turns into one break for two.
bool endsParagraph(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar::ParagraphSeparator || c == QChar(0xFDD0) || c == QChar(0xFDD1);
}

// The whitespace that lies between lines of their own: the file's indentation. Other spaces
// (no-break ones among them) are the text's.
bool isLayoutSpace(QChar c)
{
    return c == u' ' || c == u'\t' || endsParagraph(c) || c == QChar::LineSeparator;
}

bool isInline(ElementRole role)
{
    switch (role) {
    case ElementRole::Title:
    case ElementRole::Italic:
    case ElementRole::Bold:
    case ElementRole::SmallCaps:
    case ElementRole::Underline:
    case ElementRole::Superscript:
    case ElementRole::Subscript:
        return true;
    default:
        return false;
    }
}

} // namespace

ArticleDisplay ArticleDisplay::plain(const QString& text, qsizetype shown, qsizetype paragraphLimit,
                                     qsizetype wordLimit)
{
    ArticleDisplay display;
    display.build(text, shown, paragraphLimit, wordLimit, {}, {});
    return display;
}

ArticleDisplay ArticleDisplay::formatted(const QString& text, qsizetype shown, qsizetype paragraphLimit,
                                         qsizetype wordLimit, const ElementIndex& index, int number,
                                         const ElementRoles& roles)
{
    if (number < 0 || number >= index.articleCount())
        return plain(text, shown, paragraphLimit, wordLimit);
    const ElementIndex::Article article = index.article(number);
    const QChar* const chars = text.constData();
    // A line starts before the first character after the whitespace around the place asked for; that
    // whitespace parts no lines, so that they never pile up. None is needed at the very start.
    std::map<qsizetype, Insert> inserts;
    std::vector<Hidden> hidden;
    const auto lineAt = [&](qsizetype at) -> Insert* {
        qsizetype start = at;
        while (start > 0 && isLayoutSpace(chars[start - 1]))
            --start;
        qsizetype end = at;
        while (end < shown && isLayoutSpace(chars[end]))
            ++end;
        if (start < end)
            hidden.push_back({start, end});
        if (end >= shown)
            return nullptr;
        Insert& insert = inserts[end];
        insert.at = end;
        insert.lineBreak = insert.lineBreak || start > 0;
        return &insert;
    };
    struct Span
    {
        qsizetype start;
        qsizetype end;
        ElementRole role;
    };
    std::vector<Span> spans;
    for (const ElementIndex::Element* e = article.begin; e != article.end; ++e) {
        const size_t k = size_t(e - article.begin);
        const quint32 name = article.names[k];
        const qsizetype start = article.texts[k].start;
        const qsizetype end = article.texts[k].end;
        if (start > shown)
            break;
        const ElementRole role = roles.role(name);
        if (roles.startsLine(name)) {
            Insert* const insert = lineAt(start);
            if (insert && role == ElementRole::Heading) {
                const quint32 attribute = roles.headingAttribute(name);
                const quint32* const names = index.attributes(*e);
                for (quint32 v = 0; v < e->valueCount; ++v) {
                    if (names[v] != attribute)
                        continue;
                    const QString heading = index.value(index.values(*e)[v]).trimmed();
                    // A heading that says what the text says is left out.
                    if (!heading.isEmpty() && QStringView(heading) != QStringView(text).mid(start, end - start))
                        insert->headings.append(heading);
                    break;
                }
            }
            if (role != ElementRole::LineBreak)
                lineAt(std::min(end, shown));
        }
        if (isInline(role) && start < end)
            spans.push_back({start, std::min(end, shown), role});
    }
    std::sort(hidden.begin(), hidden.end(), [](const Hidden& a, const Hidden& b) { return a.start < b.start; });
    hidden.erase(
        std::unique(hidden.begin(), hidden.end(), [](const Hidden& a, const Hidden& b) { return a.start == b.start; }),
        hidden.end());
    std::vector<Insert> ordered;
    ordered.reserve(inserts.size());
    for (auto& [at, insert] : inserts) {
        if (insert.lineBreak || !insert.headings.isEmpty())
            ordered.push_back(std::move(insert));
    }

    ArticleDisplay display;
    display.build(text, shown, paragraphLimit, wordLimit, ordered, hidden);
    for (const Span& span : spans) {
        if (span.end > span.start)
            display.m_styled.push_back(
                {{display.viewPosition(span.start), display.viewPosition(span.end - 1) + 1}, span.role});
    }
    // Elsewhere the whitespace ends a line, where it takes no room.
    if (!hidden.empty() && hidden.front().start == 0)
        display.m_leading = {0, display.viewPosition(hidden.front().end - 1) + 1};
    return display;
}

void ArticleDisplay::build(const QString& text, qsizetype shown, qsizetype paragraphLimit, qsizetype wordLimit,
                           const std::vector<Insert>& inserts, const std::vector<Hidden>& hidden)
{
    // Written through a pointer into room made once: this runs for every character shown.
    qsizetype putInSize = 0;
    for (const Insert& insert : inserts) {
        putInSize += insert.lineBreak ? 1 : 0;
        for (const QString& heading : insert.headings)
            putInSize += heading.size() + 1;
    }
    m_text.resize(shown + shown / wordLimit + 1 + putInSize);
    QChar* const begin = m_text.data();
    QChar* out = begin;
    const QChar* const in = text.constData();
    const auto putIn = [&](qsizetype article, QStringView characters) {
        addRun(article, out - begin, characters.size());
        std::copy(characters.begin(), characters.end(), out);
        out += characters.size();
    };
    qsizetype paragraph = 0;    // characters of the current paragraph
    qsizetype run = 0;          // of its current run without white space
    QChar* lastSpace = nullptr; // its last white space
    const auto endParagraph = [&] {
        paragraph = 0;
        run = 0;
        lastSpace = nullptr;
    };
    // The toolkit's cost is by paragraph, but it lays out a paragraph whole: the lines put in part
    // paragraphs only once they are this long, and are line separators within them before.
    constexpr qsizetype linesInParagraph = 1000;
    const QChar* paragraphStart = begin; // of the document's current paragraph
    size_t nextInsert = 0;
    size_t nextHidden = 0;
    bool inHidden = false;
    qsizetype eventAt = 0; // where the next insert or edge of hidden whitespace is
    for (qsizetype i = 0; i < shown; ++i) {
        if (i >= eventAt) {
            if (nextInsert < inserts.size() && inserts[nextInsert].at == i) {
                const Insert& insert = inserts[nextInsert++];
                if (insert.lineBreak && out - paragraphStart < linesInParagraph) {
                    putIn(i, u"\u2028");
                } else if (insert.lineBreak) {
                    putIn(i, u"\n");
                    paragraphStart = out;
                }
                for (const QString& heading : insert.headings) {
                    m_headings.push_back({out - begin, out - begin + heading.size()});
                    putIn(i, heading);
                    // A line of its own in the paragraph of its text: the toolkit's cost is by paragraph.
                    putIn(i, u"\u2028");
                }
                endParagraph();
            }
            while (nextHidden < hidden.size() && hidden[nextHidden].end <= i)
                ++nextHidden;
            inHidden = nextHidden < hidden.size() && hidden[nextHidden].start <= i;
            eventAt = nextInsert < inserts.size() ? inserts[nextInsert].at : shown;
            if (nextHidden < hidden.size())
                eventAt = std::min(eventAt, inHidden ? hidden[nextHidden].end : hidden[nextHidden].start);
        }
        const QChar c = in[i];
        const char16_t u = c.unicode();
        // Most characters are letters far from any limit: copied, and counted.
        if (!inHidden && ((u > 0x20 && u < 0x7F) || (u > 0xA0 && u < 0x1680)) && run + 1 < wordLimit &&
            paragraph + 1 < paragraphLimit) {
            *out++ = c;
            ++run;
            ++paragraph;
            continue;
        }
        if (inHidden) {
            // Shrunk whitespace parts no lines.
            lastSpace = out;
            *out++ = endsParagraph(c) || c == QChar::LineSeparator ? QChar(u' ') : c;
            ++paragraph;
            run = 0;
            continue;
        }
        const QChar next = i + 1 < shown ? in[i + 1] : QChar(u'\n');
        if (c == u'\r') {
            // A space before the line feed that follows keeps every later position.
            *out++ = next == u'\n' ? QChar(u' ') : QChar(u'\n');
            if (next != u'\n') {
                endParagraph();
                paragraphStart = out;
            }
            continue;
        }
        *out++ = c;
        if (endsParagraph(c)) {
            endParagraph();
            paragraphStart = out;
            continue;
        }
        ++paragraph;
        if (c.isSpace()) {
            lastSpace = out - 1;
            run = 0;
            continue;
        }
        ++run;
        // Nothing to break at the end of a paragraph, nor between the halves of a character.
        if (endsParagraph(next) || next.isSpace() || c.isHighSurrogate())
            continue;
        if (run >= wordLimit) {
            putIn(i + 1, u"\n");
            endParagraph();
            paragraphStart = out;
        } else if (paragraph >= paragraphLimit && lastSpace) {
            // The white space becomes the break: one character for one.
            *lastSpace = u'\n';
            paragraphStart = lastSpace + 1;
            paragraph = out - 1 - lastSpace;
            lastSpace = nullptr;
        }
    }
    m_text.resize(out - begin);
}

void ArticleDisplay::addRun(qsizetype article, qsizetype view, qsizetype length)
{
    if (!m_runs.empty() && m_runs.back().article == article)
        m_runs.back().length += length;
    else
        m_runs.push_back({article, view, length});
}

qsizetype ArticleDisplay::viewPosition(qsizetype articlePosition) const
{
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), articlePosition,
                                        [](qsizetype position, const Run& run) { return position < run.article; });
    if (after == m_runs.begin())
        return articlePosition;
    const Run& run = after[-1];
    return articlePosition + run.view + run.length - run.article;
}

const ArticleDisplay::Run* ArticleDisplay::runUpTo(qsizetype viewPosition) const
{
    const auto after = std::upper_bound(m_runs.begin(), m_runs.end(), viewPosition,
                                        [](qsizetype position, const Run& run) { return position < run.view; });
    return after == m_runs.begin() ? nullptr : &after[-1];
}

qsizetype ArticleDisplay::articlePosition(qsizetype viewPosition) const
{
    const Run* run = runUpTo(viewPosition);
    if (!run)
        return viewPosition;
    if (viewPosition < run->view + run->length)
        return run->article;
    return viewPosition - (run->view + run->length - run->article);
}

bool ArticleDisplay::isPutIn(qsizetype viewPosition) const
{
    const Run* run = runUpTo(viewPosition);
    return run && viewPosition < run->view + run->length;
}
