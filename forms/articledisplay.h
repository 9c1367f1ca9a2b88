#pragma once

#include "corpus/elementroles.h"

#include <QString>
#include <QStringList>
#include <vector>

class ElementIndex;

// What an article view shows of an article: a display copy of its first characters, in which every
// character of the article stands for itself (a few turned into a space or a break, one for one), and
// runs of characters that are the view's own (line breaks, headings) are put in. Positions go from
// the article to the display and back through the runs, so that marks, selections and copies are
// always the article's.
class ArticleDisplay
{
public:
    // Characters put in before the article's character `article`, at `view` in the display.
    struct Run
    {
        qsizetype article = 0;
        qsizetype view = 0;
        qsizetype length = 0;
    };
    // A range of the display, as [start, end).
    struct Range
    {
        qsizetype start = 0;
        qsizetype end = 0;
    };
    struct Styled
    {
        Range range;
        ElementRole role = ElementRole::Normal;
    };

    // The first `shown` characters of `text` as the Parts' plain display shows them: "\r\n" shows as
    // one break, a line too long is broken at its last white space, and a break is put into each run
    // without white space longer than a word may be.
    static ArticleDisplay plain(const QString& text, qsizetype shown, qsizetype paragraphLimit, qsizetype wordLimit);
    // The same with the article's structure: elements whose role starts a line start one, after the
    // heading of those that have one; the whitespace between such lines shows as one break (the
    // article's own whitespace, shrunk to nothing, stays in place); the inline roles style their text.
    static ArticleDisplay formatted(const QString& text, qsizetype shown, qsizetype paragraphLimit, qsizetype wordLimit,
                                    const ElementIndex& index, int number, const ElementRoles& roles);

    const QString& text() const { return m_text; }
    const std::vector<Run>& runs() const { return m_runs; }
    // The texts of the inline roles, the titles among them, in the display, in document order.
    const std::vector<Styled>& styled() const { return m_styled; }
    // The headings put in, without the breaks around them.
    const std::vector<Range>& headings() const { return m_headings; }
    // The whitespace before the first line, to be shrunk to nothing; empty when there is none.
    Range leadingSpace() const { return m_leading; }

    // Where an article's position (at most the number of characters shown) stands in the display: after
    // what was put in before it.
    qsizetype viewPosition(qsizetype articlePosition) const;
    // The article's position at a position of the display: a position inside a run is that of the
    // character after it.
    qsizetype articlePosition(qsizetype viewPosition) const;
    // Whether the character at a position of the display was put in.
    bool isPutIn(qsizetype viewPosition) const;

private:
    struct Insert
    {
        qsizetype at = 0; // in the article
        bool lineBreak = false;
        QStringList headings;
    };
    struct Hidden
    {
        qsizetype start = 0; // in the article
        qsizetype end = 0;
    };
    void build(const QString& text, qsizetype shown, qsizetype paragraphLimit, qsizetype wordLimit,
               const std::vector<Insert>& inserts, const std::vector<Hidden>& hidden);
    // Characters put in before the article's `article`, at `view`: one more run, or a longer last one.
    void addRun(qsizetype article, qsizetype view, qsizetype length);
    // The last run that starts at a display position up to `viewPosition`, or null.
    const Run* runUpTo(qsizetype viewPosition) const;

    QString m_text;
    std::vector<Run> m_runs;
    std::vector<Styled> m_styled;
    std::vector<Range> m_headings;
    Range m_leading;
};
