#include "titleindex.h"

#include "accentfolding.h"
#include "patternfinder.h"

namespace {

bool hasSurrogates(QStringView text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return true;
    }
    return false;
}

} // namespace

TitleIndex::TitleIndex() : TitleIndex(std::make_shared<const CorpusContent>()) {}

TitleIndex::TitleIndex(std::shared_ptr<const CorpusContent> content) : m_content(std::move(content))
{
    const std::vector<ArticleEntry>& articles = m_content->articles;
    size_t total = 0;
    for (const ArticleEntry& entry : articles)
        total += size_t(entry.title.size());
    // The case-folded table is the one the finder applies to each unit, so the buffer matches as it did.
    const char16_t* caseFold = PatternFinder::caseFolding();
    m_cased.units.resize(total);
    m_cased.starts.reserve(articles.size() + 1);
    m_plain.units.reserve(total + total / 64);
    m_plain.starts.reserve(articles.size() + 1);
    m_every.reserve(qsizetype(articles.size()));
    char16_t* cased = m_cased.units.data();
    size_t at = 0;
    for (const ArticleEntry& entry : articles) {
        m_cased.starts.push_back(qsizetype(at));
        m_plain.starts.push_back(qsizetype(m_plain.units.size()));
        for (const QChar c : entry.title) {
            const char16_t u = c.unicode();
            cased[at++] = caseFold[u];
            const accentfolding::Expansion plain = accentfolding::expand(u);
            m_plain.units.push_back(caseFold[plain.first]);
            if (plain.second)
                m_plain.units.push_back(caseFold[plain.second]);
        }
        m_every.append(&entry);
    }
    m_cased.starts.push_back(qsizetype(at));
    m_plain.starts.push_back(qsizetype(m_plain.units.size()));
}

QString TitleIndex::fold(QStringView pattern, bool ignoreAccents)
{
    if (hasSurrogates(pattern))
        return {};
    QString folded = ignoreAccents ? accentfolding::fold(pattern) : pattern.toString();
    const char16_t* caseFold = PatternFinder::caseFolding();
    for (QChar& c : folded)
        c = QChar(caseFold[c.unicode()]);
    return folded;
}

QList<const ArticleEntry*> TitleIndex::find(const QString& pattern, const QString& folded, bool ignoreAccents,
                                            const QList<const ArticleEntry*>& among) const
{
    if (pattern.isEmpty())
        return among;
    if (folded.isEmpty())
        return scanTitles(pattern, ignoreAccents, among);
    return scan(ignoreAccents ? m_plain : m_cased, folded, among);
}

QList<const ArticleEntry*> TitleIndex::scan(const Buffer& buffer, const QString& folded,
                                            const QList<const ArticleEntry*>& among) const
{
    // Both sides folded already: the comparison is exact.
    const PatternFinder finder(folded, Qt::CaseSensitive);
    const qsizetype n = folded.size();
    const ArticleEntry* first = m_content->articles.data();
    const qsizetype* starts = buffer.starts.data();
    QList<const ArticleEntry*> hits;
    // Runs of consecutive titles are scanned as one stretch of the buffer: an occurrence found
    // across two titles is passed over, and after a hit the search goes on at the next title.
    const auto scanRun = [&](qsizetype from, qsizetype to) {
        const qsizetype base = starts[from];
        const QStringView text(buffer.units.data() + base, starts[to] - base);
        qsizetype title = from;
        qsizetype at = 0;
        while ((at = finder.indexIn(text, at)) >= 0) {
            const qsizetype position = base + at;
            while (starts[title + 1] <= position)
                ++title;
            if (position + n <= starts[title + 1]) {
                hits.append(first + title);
                at = starts[title + 1] - base;
            } else {
                ++at;
            }
        }
    };
    const qsizetype count = among.size();
    if (count == qsizetype(m_content->articles.size())) {
        scanRun(0, count);
        return hits;
    }
    for (qsizetype i = 0; i < count;) {
        const qsizetype from = among.at(i) - first;
        qsizetype to = from + 1;
        for (++i; i < count && among.at(i) - first == to; ++i)
            ++to;
        scanRun(from, to);
    }
    return hits;
}

QList<const ArticleEntry*> TitleIndex::scanTitles(const QString& pattern, bool ignoreAccents,
                                                  const QList<const ArticleEntry*>& among) const
{
    const QString wanted = ignoreAccents ? accentfolding::fold(pattern) : pattern;
    const PatternFinder finder(wanted, Qt::CaseInsensitive);
    QList<const ArticleEntry*> hits;
    QString plain;
    for (const ArticleEntry* entry : among) {
        if (ignoreAccents)
            accentfolding::foldInto(entry->title, plain);
        if (finder.indexIn(ignoreAccents ? plain : entry->title) >= 0)
            hits.append(entry);
    }
    return hits;
}
