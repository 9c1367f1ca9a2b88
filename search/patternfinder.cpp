#include "search/patternfinder.h"

#include "search/accentfolding.h"

#include <cstring>
#include <memory>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Case folding of every UTF-16 code unit; surrogates stay as they are.
const char16_t* foldTable()
{
    static const std::unique_ptr<char16_t[]> table = [] {
        auto t = std::make_unique<char16_t[]>(0x10000);
        for (char32_t c = 0; c < 0x10000; ++c) {
            const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
            t[c] = surrogate ? char16_t(c) : char16_t(QChar::toCaseFolded(c));
        }
        return t;
    }();
    return table.get();
}

// Every code unit that folds to `folded`.
std::vector<char16_t> variantsOf(char16_t folded)
{
    const char16_t* fold = foldTable();
    std::vector<char16_t> variants;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (fold[c] == folded)
            variants.push_back(char16_t(c));
    }
    return variants;
}

template <size_t N> bool fillVariants(std::array<char16_t, N>& out, const std::vector<char16_t>& variants)
{
    if (variants.empty() || variants.size() > N)
        return false;
    for (size_t i = 0; i < N; ++i)
        out[i] = variants[i < variants.size() ? i : 0];
    return true;
}

} // namespace

const char16_t* PatternFinder::caseFolding()
{
    return foldTable();
}

PatternFinder::PatternFinder(const QString& pattern, Qt::CaseSensitivity cs) : m_pattern(pattern), m_cs(cs)
{
    const qsizetype n = m_pattern.size();
    if (n == 0)
        return;
    for (qsizetype i = 0; i < n; ++i) {
        if (m_pattern.at(i) == u' ')
            m_spaces.push_back(i);
    }
    if (cs == Qt::CaseInsensitive) {
        m_useQt = accentfolding::hasSurrogates(pattern);
        if (m_useQt)
            return;
        const char16_t* fold = foldTable();
        for (QChar& c : m_pattern)
            c = QChar(fold[c.unicode()]);
        m_screen = fillVariants(m_first, variantsOf(m_pattern.front().unicode())) &&
                   fillVariants(m_last, variantsOf(m_pattern.back().unicode()));
    } else {
        m_first.fill(m_pattern.front().unicode());
        m_last.fill(m_pattern.back().unicode());
        m_screen = true;
    }
    m_shift.fill(n);
    for (qsizetype i = 0; i + 1 < n; ++i)
        m_shift[m_pattern.at(i).unicode() & 0xFF] = n - 1 - i;
}

bool PatternFinder::matchesAt(const char16_t* at) const
{
    const auto* p = reinterpret_cast<const char16_t*>(m_pattern.constData());
    const qsizetype n = m_pattern.size();
    if (m_cs == Qt::CaseSensitive)
        return std::memcmp(at, p, static_cast<size_t>(n) * sizeof(char16_t)) == 0;
    const char16_t* fold = foldTable();
    for (qsizetype i = 0; i < n; ++i) {
        if (fold[at[i]] != p[i])
            return false;
    }
    return true;
}

bool PatternFinder::partMatchesAt(QStringView text, qsizetype position, qsizetype part, qsizetype length) const
{
    if (position < 0 || length < 0 || position + length > text.size() || part + length > m_pattern.size())
        return false;
    const QStringView wanted = QStringView(m_pattern).sliced(part, length);
    const QStringView there = text.sliced(position, length);
    if (m_cs == Qt::CaseSensitive || m_useQt)
        return there.compare(wanted, m_cs) == 0;
    const char16_t* fold = foldTable();
    for (qsizetype i = 0; i < length; ++i) {
        if (fold[there.at(i).unicode()] != wanted.at(i).unicode())
            return false;
    }
    return true;
}

qsizetype PatternFinder::horspool(QStringView text, qsizetype from) const
{
    const qsizetype n = m_pattern.size();
    const char16_t* t = text.utf16();
    const char16_t* fold = foldTable();
    const bool folding = m_cs == Qt::CaseInsensitive;
    const char16_t last = m_pattern.back().unicode();
    for (qsizetype at = from; at <= text.size() - n;) {
        const char16_t c = folding ? fold[t[at + n - 1]] : t[at + n - 1];
        if (c == last && matchesAt(t + at))
            return at;
        at += m_shift[c & 0xFF];
    }
    return -1;
}

qsizetype PatternFinder::indexIn(QStringView text, qsizetype from) const
{
    const qsizetype n = m_pattern.size();
    if (n == 0 || from < 0 || from > text.size() - n)
        return -1;
    if (m_useQt)
        return text.indexOf(m_pattern, from, Qt::CaseInsensitive);
    if (!m_screen)
        return horspool(text, from);

    const char16_t* t = text.utf16();
    const qsizetype lastStart = text.size() - n;
    qsizetype at = from;
#if defined(__SSE2__)
    const __m128i f0 = _mm_set1_epi16(static_cast<short>(m_first[0]));
    const __m128i f1 = _mm_set1_epi16(static_cast<short>(m_first[1]));
    const __m128i f2 = _mm_set1_epi16(static_cast<short>(m_first[2]));
    const __m128i l0 = _mm_set1_epi16(static_cast<short>(m_last[0]));
    const __m128i l1 = _mm_set1_epi16(static_cast<short>(m_last[1]));
    const __m128i l2 = _mm_set1_epi16(static_cast<short>(m_last[2]));
    for (; at + 7 <= lastStart; at += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t + at + n - 1));
        const __m128i first =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(a, f0), _mm_cmpeq_epi16(a, f1)), _mm_cmpeq_epi16(a, f2));
        const __m128i last =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(b, l0), _mm_cmpeq_epi16(b, l1)), _mm_cmpeq_epi16(b, l2));
        // Two mask bits per position.
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(first, last)));
        while (mask) {
            const int k = __builtin_ctz(mask) / 2;
            if (matchesAt(t + at + k))
                return at + k;
            mask &= ~(3u << (2 * k));
        }
    }
#endif
    const auto isFirst = [this](char16_t c) { return c == m_first[0] || c == m_first[1] || c == m_first[2]; };
    const auto isLast = [this](char16_t c) { return c == m_last[0] || c == m_last[1] || c == m_last[2]; };
    for (; at <= lastStart; ++at) {
        if (isFirst(t[at]) && isLast(t[at + n - 1]) && matchesAt(t + at))
            return at;
    }
    return -1;
}
