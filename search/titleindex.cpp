#include "titleindex.h"

#include "accentfolding.h"
#include "patternfinder.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Titles ahead of the one being folded whose text is fetched.
constexpr size_t prefetchDistance = 8;

bool hasSurrogates(QStringView text)
{
    for (const QChar c : text) {
        if (c.isSurrogate())
            return true;
    }
    return false;
}

// Each unit with accents folded, then letter case: one unit, or two for the ligatures.
struct PlainFolding
{
    char16_t first[0x10000];
    char16_t second[0x10000]; // 0 when the unit folds to one unit
};

const PlainFolding& plainFolding()
{
    static const std::unique_ptr<PlainFolding> table = [] {
        auto t = std::make_unique<PlainFolding>();
        const char16_t* caseFold = PatternFinder::caseFolding();
        for (char32_t c = 0; c < 0x10000; ++c) {
            const accentfolding::Expansion e = accentfolding::expand(char16_t(c));
            t->first[c] = caseFold[e.first];
            t->second[c] = e.second ? caseFold[e.second] : 0;
        }
        return t;
    }();
    return *table;
}

// The first position in [from, last] where `p` (n units) may start, screened on its first and last
// units, eight positions at a time; last + 1 when there is none.
inline qsizetype candidate(const char16_t* t, qsizetype from, qsizetype last, const char16_t* p, qsizetype n)
{
#if defined(__SSE2__)
    const __m128i first = _mm_set1_epi16(static_cast<short>(p[0]));
    const __m128i end = _mm_set1_epi16(static_cast<short>(p[n - 1]));
    for (; from + 7 <= last; from += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + from));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + from + n - 1));
        const auto mask =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, first), _mm_cmpeq_epi16(b, end))));
        if (mask)
            return from + __builtin_ctz(mask) / 2;
    }
#endif
    for (; from <= last; ++from) {
        if (t[from] == p[0] && t[from + n - 1] == p[n - 1])
            return from;
    }
    return last + 1;
}

} // namespace

TitleIndex::TitleIndex() : TitleIndex(std::make_shared<const CorpusContent>()) {}

TitleIndex::TitleIndex(std::shared_ptr<const CorpusContent> content) : m_content(std::move(content))
{
    const std::vector<ArticleEntry>& articles = m_content->articles;
    // The case-folded table is the one the finder applies to each unit, so the buffer matches as it did.
    const char16_t* caseFold = PatternFinder::caseFolding();
    const PlainFolding& plain = plainFolding();
    size_t total = 0;
    for (const ArticleEntry& entry : articles)
        total += size_t(entry.title.size());
    m_cased.units.resize(total);
    // A ligature takes two units in the second buffer: room is made for a few.
    m_plain.units.resize(total + total / 64 + 16);
    m_cased.starts.resize(articles.size() + 1);
    m_plain.starts.resize(articles.size() + 1);
    m_every.reserve(qsizetype(articles.size()));
    char16_t* cased = m_cased.units.data();
    size_t at = 0;
    size_t plainAt = 0;
    for (size_t a = 0; a < articles.size(); ++a) {
        // Each title is a heap block of its own: it is fetched ahead, while earlier ones are folded.
        if (a + prefetchDistance < articles.size())
            __builtin_prefetch(articles[a + prefetchDistance].title.constData());
        m_cased.starts[a] = qsizetype(at);
        m_plain.starts[a] = qsizetype(plainAt);
        const QString& text = articles[a].title;
        const auto* title = reinterpret_cast<const char16_t*>(text.constData());
        const qsizetype length = text.size();
        if (plainAt + 2 * size_t(length) > m_plain.units.size())
            m_plain.units.resize(m_plain.units.size() + m_plain.units.size() / 2 + 2 * size_t(length));
        char16_t* plainUnits = m_plain.units.data();
        for (qsizetype i = 0; i < length; ++i) {
            const char16_t u = title[i];
            cased[at++] = caseFold[u];
            plainUnits[plainAt++] = plain.first[u];
            if (plain.second[u])
                plainUnits[plainAt++] = plain.second[u];
        }
        m_every.append(&articles[a]);
    }
    m_plain.units.resize(plainAt);
    m_cased.starts.back() = qsizetype(at);
    m_plain.starts.back() = qsizetype(plainAt);
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
    const auto* p = reinterpret_cast<const char16_t*>(folded.constData());
    const qsizetype n = folded.size();
    const ArticleEntry* first = m_content->articles.data();
    const qsizetype* starts = buffer.starts.data();
    const char16_t* units = buffer.units.data();
    QList<const ArticleEntry*> hits;
    // Runs of consecutive titles are scanned as one stretch of the buffer: an occurrence found
    // across two titles is passed over, and after a hit the search goes on at the next title.
    const auto scanRun = [&](qsizetype from, qsizetype to) {
        const qsizetype last = starts[to] - n;
        qsizetype title = from;
        for (qsizetype at = starts[from];; ++at) {
            at = candidate(units, at, last, p, n);
            if (at > last)
                return;
            // The first and last units are screened already.
            if (!std::equal(p + 1, p + n, units + at + 1))
                continue;
            while (starts[title + 1] <= at)
                ++title;
            if (at + n <= starts[title + 1]) {
                hits.append(first + title);
                at = starts[title + 1] - 1;
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
