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
    m_text.reserve(shown + shown / wordLimit + 1 + qsizetype(inserts.size()) * 2);
    qsizetype paragraph = 0;  // characters of the current paragraph
    qsizetype run = 0;        // of its current run without white space
    qsizetype lastSpace = -1; // its last white space, in the view
    const auto endParagraph = [&] {
        paragraph = 0;
        run = 0;
        lastSpace = -1;
    };
    size_t nextInsert = 0;
    size_t nextHidden = 0;
    for (qsizetype i = 0; i < shown; ++i) {
        if (nextInsert < inserts.size() && inserts[nextInsert].at == i) {
            const Insert& insert = inserts[nextInsert++];
            QString characters = insert.lineBreak ? QStringLiteral("\n") : QString();
            for (const QString& heading : insert.headings) {
                const qsizetype start = m_text.size() + characters.size();
                m_headings.push_back({start, start + heading.size()});
                characters += heading + u'\n';
            }
            putIn(i, characters);
            endParagraph();
        }
        while (nextHidden < hidden.size() && hidden[nextHidden].end <= i)
            ++nextHidden;
        const QChar c = text.at(i);
        if (nextHidden < hidden.size() && hidden[nextHidden].start <= i) {
            // Shrunk whitespace parts no lines.
            m_text += endsParagraph(c) || c == QChar::LineSeparator ? QChar(u' ') : c;
            ++paragraph;
            lastSpace = m_text.size() - 1;
            run = 0;
            continue;
        }
        const QChar next = i + 1 < shown ? text.at(i + 1) : QChar(u'\n');
        if (c == u'\r') {
            // A space before the line feed that follows keeps every later position.
            m_text += next == u'\n' ? QChar(u' ') : QChar(u'\n');
            if (next != u'\n')
                endParagraph();
            continue;
        }
        m_text += c;
        if (endsParagraph(c)) {
            endParagraph();
            continue;
        }
        ++paragraph;
        if (c.isSpace()) {
            lastSpace = m_text.size() - 1;
            run = 0;
            continue;
        }
        ++run;
        // Nothing to break at the end of a paragraph, nor between the halves of a character.
        if (endsParagraph(next) || next.isSpace() || c.isHighSurrogate())
            continue;
        if (run >= wordLimit) {
            putIn(i + 1, QStringLiteral("\n"));
            endParagraph();
        } else if (paragraph >= paragraphLimit && lastSpace >= 0) {
            // The white space becomes the break: one character for one.
            m_text[lastSpace] = u'\n';
            paragraph = m_text.size() - 1 - lastSpace;
            lastSpace = -1;
        }
    }
}

void ArticleDisplay::putIn(qsizetype article, const QString& characters)
{
    if (characters.isEmpty())
        return;
    if (!m_runs.empty() && m_runs.back().article == article)
        m_runs.back().length += characters.size();
    else
        m_runs.push_back({article, m_text.size(), characters.size()});
    m_text += characters;
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
