#include "search/titleindex.h"

#include "search/accentfolding.h"
#include "search/patternfinder.h"

#include <algorithm>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Titles ahead of the one being folded whose text is fetched.
constexpr size_t prefetchDistance = 8;

// A bit per folded unit: its own for a to z and the space, shared by the other units. A title
// lacking one of a pattern's bits cannot hold it; a pattern of one unit with a bit of its own is
// held by exactly the titles with that bit.
constexpr int ownClasses = 27;

quint32 letterClass(char16_t u)
{
    if (u >= u'a' && u <= u'z')
        return 1u << (u - u'a');
    if (u == u' ')
        return 1u << 26;
    return 1u << (ownClasses + (u & 3));
}

accentfolding::Level level(bool ignoreAccents)
{
    return ignoreAccents ? accentfolding::Level::Accents : accentfolding::Level::Apostrophes;
}

bool hasOwnClass(char16_t u)
{
    return (u >= u'a' && u <= u'z') || u == u' ';
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
// units, eight positions at a time; last + 1 when there is none. Not PatternFinder: its screen, made
// for three case variants of each end, made the worst keystroke at a gigabyte a tenth slower.
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
    m_cased.letters.resize(articles.size());
    m_plain.letters.resize(articles.size());
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
        quint32 casedLetters = 0;
        quint32 plainLetters = 0;
        for (qsizetype i = 0; i < length; ++i) {
            const char16_t u = title[i];
            // Both apostrophes as one in either buffer: they match each other whatever the accent rule.
            const char16_t c = caseFold[accentfolding::expand(u, accentfolding::Level::Apostrophes).first];
            cased[at++] = c;
            casedLetters |= letterClass(c);
            const char16_t f = plain.first[u];
            plainUnits[plainAt++] = f;
            plainLetters |= letterClass(f);
            if (const char16_t g = plain.second[u]) {
                plainUnits[plainAt++] = g;
                plainLetters |= letterClass(g);
            }
        }
        m_cased.letters[a] = casedLetters;
        m_plain.letters[a] = plainLetters;
        m_every.append(&articles[a]);
    }
    m_plain.units.resize(plainAt);
    m_cased.starts.back() = qsizetype(at);
    m_plain.starts.back() = qsizetype(plainAt);
}

QString TitleIndex::fold(QStringView pattern, bool ignoreAccents)
{
    if (accentfolding::hasSurrogates(pattern))
        return {};
    QString folded = accentfolding::fold(pattern, level(ignoreAccents));
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
    // Both sides folded already: the comparison is exact. Titles are short: each is searched apart,
    // once its letters allow it.
    const auto* p = reinterpret_cast<const char16_t*>(folded.constData());
    const qsizetype n = folded.size();
    const ArticleEntry* first = m_content->articles.data();
    const qsizetype* starts = buffer.starts.data();
    const char16_t* units = buffer.units.data();
    const quint32* letters = buffer.letters.data();
    quint32 needed = 0;
    for (qsizetype i = 0; i < n; ++i)
        needed |= letterClass(p[i]);
    const bool lettersDecide = n == 1 && hasOwnClass(p[0]);
    QList<const ArticleEntry*> hits;
    const auto holds = [&](qsizetype title) {
        if ((letters[title] & needed) != needed)
            return false;
        if (lettersDecide)
            return true;
        const qsizetype last = starts[title + 1] - n;
        // The first and last units are screened already.
        for (qsizetype at = candidate(units, starts[title], last, p, n); at <= last;
             at = candidate(units, at + 1, last, p, n)) {
            if (std::equal(p + 1, p + n, units + at + 1))
                return true;
        }
        return false;
    };
    const auto count = qsizetype(m_content->articles.size());
    if (among.size() == count) {
        for (qsizetype title = 0; title < count; ++title) {
            if (holds(title))
                hits.append(first + title);
        }
        return hits;
    }
    for (const ArticleEntry* entry : among) {
        if (holds(entry - first))
            hits.append(entry);
    }
    return hits;
}

QList<const ArticleEntry*> TitleIndex::scanTitles(const QString& pattern, bool ignoreAccents,
                                                  const QList<const ArticleEntry*>& among) const
{
    const PatternFinder finder(accentfolding::fold(pattern, level(ignoreAccents)), Qt::CaseInsensitive);
    QList<const ArticleEntry*> hits;
    for (const ArticleEntry* entry : among) {
        if (finder.indexIn(accentfolding::fold(entry->title, level(ignoreAccents))) >= 0)
            hits.append(entry);
    }
    return hits;
}
