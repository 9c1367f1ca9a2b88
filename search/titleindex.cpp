#include "search/titleindex.h"

#include "search/accentfolding.h"
#include "search/patternfinder.h"

#include <algorithm>
#include <string_view>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Titles ahead of the one being folded whose text is fetched.
constexpr size_t prefetchDistance = 8;

// A bit per folded unit: its own for a to z, the space and the accented letters of French, shared
// by the other units. A title lacking one of a pattern's bits cannot hold it; a pattern of one unit
// with a bit of its own is held by exactly the titles with that bit.
constexpr std::u16string_view accented = u"àâäçéèêëîïôöùûüÿœæ";
constexpr int ownClasses = 27 + int(accented.size());

int ownClass(char16_t u)
{
    if (u >= u'a' && u <= u'z')
        return u - u'a';
    if (u == u' ')
        return 26;
    const size_t at = u >= 0xE0 ? accented.find(u) : std::u16string_view::npos;
    return at == std::u16string_view::npos ? -1 : 27 + int(at);
}

quint64 letterClass(char16_t u)
{
    const int own = ownClass(u);
    return quint64(1) << (own >= 0 ? own : ownClasses + (u & 3));
}

accentfolding::Level level(bool ignoreAccents)
{
    return ignoreAccents ? accentfolding::Level::Accents : accentfolding::Level::Apostrophes;
}

bool hasOwnClass(char16_t u)
{
    return ownClass(u) >= 0;
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

// The titles folded into `buffer`, each unit by `fold(unit, out)`, which writes one or two units to
// `out` and returns how many; `room` units are made for them at first, more when they run out.
template <typename Buffer, typename Fold>
void foldTitles(Buffer& buffer, const std::vector<ArticleEntry>& articles, size_t room, Fold&& fold)
{
    buffer.units.resize(room);
    buffer.starts.resize(articles.size() + 1);
    buffer.letters.resize(articles.size());
    size_t at = 0;
    for (size_t a = 0; a < articles.size(); ++a) {
        // Each title is a heap block of its own: it is fetched ahead, while earlier ones are folded.
        if (a + prefetchDistance < articles.size())
            __builtin_prefetch(articles[a + prefetchDistance].title.constData());
        buffer.starts[a] = qsizetype(at);
        const QString& text = articles[a].title;
        const auto* title = reinterpret_cast<const char16_t*>(text.constData());
        const qsizetype length = text.size();
        if (at + 2 * size_t(length) > buffer.units.size())
            buffer.units.resize(buffer.units.size() + buffer.units.size() / 2 + 2 * size_t(length));
        char16_t* const units = buffer.units.data();
        quint64 letters = 0;
        for (qsizetype i = 0; i < length; ++i) {
            const int written = fold(title[i], units + at);
            for (int k = 0; k < written; ++k)
                letters |= letterClass(units[at + k]);
            at += size_t(written);
        }
        buffer.letters[a] = letters;
    }
    buffer.units.resize(at);
    buffer.starts.back() = qsizetype(at);
}

// Runs work(from, to) over [0, count): the first half on a thread of its own when there is enough to
// share between the two cores, the rest on this one.
template <typename Work> void inTwo(qsizetype count, qsizetype enough, Work&& work)
{
    const qsizetype half = count >= enough ? count / 2 : 0;
    std::thread other;
    if (half > 0) {
        try {
            other = std::thread([&work, half] { work(qsizetype(0), half); });
        } catch (const std::system_error&) {
            work(qsizetype(0), half);
        }
    }
    work(half, count);
    if (other.joinable())
        other.join();
}

// Lists this big or more are looked through on two threads.
constexpr qsizetype sharedScan = 200000;

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
    m_every.reserve(qsizetype(articles.size()));
    for (const ArticleEntry& entry : articles)
        m_every.append(&entry);
    // The two buffers at once, one a thread: at millions of titles, each takes a noticeable part of an
    // open. A corpus of a few titles is folded here and now.
    m_folded = std::make_shared<Folded>();
    const auto fold = [content = m_content, folded = m_folded.get(), total, caseFold, &plain] {
        inTwo(2, qsizetype(content->articles.size()) >= sharedScan ? 2 : 3, [&](qsizetype from, qsizetype to) {
            // A ligature takes two units: room is made for a few.
            const size_t room = total + total / 64 + 16;
            for (qsizetype which = from; which < to; ++which) {
                if (which == 0) {
                    foldTitles(folded->cased, content->articles, room, [caseFold](char16_t u, char16_t* out) {
                        // Both apostrophes as one in either buffer: they match each other whatever the
                        // accent rule.
                        out[0] = caseFold[accentfolding::expand(u, accentfolding::Level::Apostrophes).first];
                        return 1;
                    });
                } else {
                    foldTitles(folded->plain, content->articles, room, [&plain](char16_t u, char16_t* out) {
                        out[0] = plain.first[u];
                        out[1] = plain.second[u];
                        return out[1] ? 2 : 1;
                    });
                }
            }
        });
    };
    if (qsizetype(articles.size()) < sharedScan) {
        fold();
        return;
    }
    try {
        m_folded->folder = std::thread(fold);
    } catch (const std::system_error&) {
        fold();
    }
}

const TitleIndex::Folded& TitleIndex::folded() const
{
    m_folded->wait();
    return *m_folded;
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
    return scan(ignoreAccents ? this->folded().plain : this->folded().cased, folded, among);
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
    const quint64* letters = buffer.letters.data();
    quint64 needed = 0;
    for (qsizetype i = 0; i < n; ++i)
        needed |= letterClass(p[i]);
    const bool lettersDecide = n == 1 && hasOwnClass(p[0]);
    // Whether the title holds the pattern, its letters allowing it.
    const auto holds = [starts, units, p, n](qsizetype title) {
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
    const bool every = among.size() == count;
    // Halves looked through at once, their hits gathered apart (a plain vector: appending to a list
    // checks whether it is shared, each time), then put end to end.
    std::vector<const ArticleEntry*> halves[2];
    inTwo(among.size(), sharedScan, [&](qsizetype from, qsizetype to) {
        std::vector<const ArticleEntry*>& into = halves[from == 0 && to < among.size() ? 0 : 1];
        // Copied here: read through the closure, each would be read again after every hit kept.
        const quint64* const titleLetters = letters;
        const quint64 needs = needed;
        const bool decides = lettersDecide;
        const ArticleEntry* const firstEntry = first;
        if (every) {
            if (decides) {
                // The letters alone decide: counted first, so that the hits are kept without growing.
                size_t kept = 0;
                for (qsizetype title = from; title < to; ++title)
                    kept += (titleLetters[title] & needs) == needs;
                into.reserve(kept);
            }
            for (qsizetype title = from; title < to; ++title) {
                if ((titleLetters[title] & needs) == needs && (decides || holds(title)))
                    into.push_back(firstEntry + title);
            }
            return;
        }
        const ArticleEntry* const* const amongData = among.constData();
        const qsizetype* const titleStarts = starts;
        for (qsizetype i = from; i < to; ++i) {
            if (i + qsizetype(prefetchDistance) * 2 < to) {
                // Titles among earlier hits lie anywhere: what the next ones need is fetched ahead, their
                // letters and starts first, then their units.
                const qsizetype later = amongData[i + prefetchDistance * 2] - firstEntry;
                __builtin_prefetch(titleLetters + later);
                __builtin_prefetch(titleStarts + later);
                if (!decides)
                    __builtin_prefetch(units + titleStarts[amongData[i + prefetchDistance] - firstEntry]);
            }
            const qsizetype title = amongData[i] - firstEntry;
            if ((titleLetters[title] & needs) == needs && (decides || holds(title)))
                into.push_back(amongData[i]);
        }
    });
    QList<const ArticleEntry*> hits(qsizetype(halves[0].size() + halves[1].size()));
    std::copy(halves[1].begin(), halves[1].end(), std::copy(halves[0].begin(), halves[0].end(), hits.data()));
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
