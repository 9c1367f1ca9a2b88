// Any bytes as a corpus: parse, index every article, then search and mark the way the
// window does, with terms and element names taken from the input itself.
#include "corpus/corpusdocument.h"
#include "corpus/corpusfile.h"
#include "search/crosssearch.h"
#include "search/fulltextsearch.h"
#include "search/highlighter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// Marks every hit as the window shows it (the first marks) and as the text a user saves has them,
// and checks what the marks promise: inside the text, sorted, not overlapping, each the same in
// both; the saved text is the article's own text with the markup around the marks and nothing else.
void markAll(const SearchResult& result)
{
    for (int i = -1; i <= result.count(); ++i) {
        const QString saved = highlighter::markedText(result, i);
        if (i < 0 || i >= result.count()) {
            if (!saved.isEmpty())
                std::abort();
            continue;
        }
        const QString& text = result.hits().at(i)->text;
        const BlockEdges& edges = result.hits().at(i)->edges;
        const QList<highlighter::Range> marks = highlighter::ranges(result, text, edges);
        qsizetype end = 0;
        QString expected;
        for (const highlighter::Range& mark : marks) {
            if (mark.start < end || mark.length <= 0 || mark.start + mark.length > text.size())
                std::abort();
            expected += QStringView(text).mid(end, mark.start - end);
            expected += highlighter::openingMarkup + text.mid(mark.start, mark.length) + highlighter::closingMarkup;
            end = mark.start + mark.length;
        }
        expected += QStringView(text).mid(end);
        if (saved != expected)
            std::abort();
        // What the view shows: the first marks of the same list
        // (the last of them may be cut short, where a match left out would have joined it).
        const QList<highlighter::Range> shown = highlighter::firstRanges(result, text, edges, 3);
        if (shown.size() > 3 || shown.size() > marks.size())
            std::abort();
        for (qsizetype m = 0; m < shown.size(); ++m) {
            const bool last = m + 1 == shown.size();
            if (shown[m].start != marks[m].start ||
                (last ? shown[m].length > marks[m].length : !(shown[m] == marks[m])))
                std::abort();
        }
    }
}

// A word of the article's text: the first run of letters or digits, at most 40 characters.
QString wordOf(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && !text.at(start).isLetterOrNumber())
        ++start;
    qsizetype end = start;
    while (end < text.size() && end - start < 40 && text.at(end).isLetterOrNumber())
        ++end;
    return text.mid(start, end - start);
}

QStringList anyCriteria()
{
    return QStringList(9, CorpusDocument::anyValue);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    std::optional<CorpusContent> content = corpusfile::parse(bytes);
    if (!content)
        return 0;
    CorpusDocument corpus;
    corpus.setContent(std::move(*content));

    // Simple search: each mode, both cases, a word of an article and a raw piece of the input.
    QStringList queries;
    for (const ArticleEntry& article : corpus.articles()) {
        const QString word = wordOf(article.text);
        if (!word.isEmpty()) {
            queries << word << word + QLatin1Char(' ') + wordOf(article.title);
            break;
        }
    }
    queries << QString::fromUtf8(bytes.right(12)) << QString();
    for (const QString& query : std::as_const(queries)) {
        for (const SearchMode mode : {SearchMode::AllTerms, SearchMode::AnyTerm, SearchMode::ExactPhrase}) {
            for (const bool caseSensitive : {false, true}) {
                const SearchResult result = fullTextSearch(corpus, query, mode, caseSensitive);
                if (result.count() > corpus.articleCount())
                    std::abort();
                markAll(result);
            }
        }
    }

    // Cross search: a cascade down one row for a few of the element names, each box filled from
    // the one before, as choosing in the grid does.
    const QList<ElementChoice> choices = corpus.elementChoices();
    for (qsizetype c = 1; c < choices.size() && c <= 3; ++c) {
        const QString& element = choices.at(c).name;
        QStringList criteria = anyCriteria();
        criteria[0] = element;
        CrossSearchOutcome outcome = crossSearch(corpus, criteria, CrossFill{element, {}});
        markAll(outcome.result);
        if (outcome.values.empty())
            continue;
        const QString value = outcome.values.front().toString();
        const QString last = outcome.values.back().toString();
        criteria[1] = value;
        outcome = crossSearch(corpus, criteria, CrossFill{element, value});
        markAll(outcome.result);
        if (!outcome.values.empty())
            criteria[2] = outcome.values.front().toString();
        // The second row narrows the first with another value of the same element.
        criteria[3] = element;
        criteria[4] = last;
        outcome = crossSearch(corpus, criteria, std::nullopt);
        markAll(outcome.result);
    }
    return 0;
}
