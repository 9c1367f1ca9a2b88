#include "search/termmatcher.h"

#include "search/accentfolding.h"
#include "search/wordboundary.h"

#include <QHash>
#include <algorithm>
#include <array>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Below this many terms, one fast scan per term costs less than reading every unit through the automaton.
constexpr int onePassFrom = 3;
// The deterministic table is kept to 16 MB; a larger automaton follows its fail links instead.
constexpr size_t tableLimit = size_t(1) << 22;

// Walks the deterministic table from `state` over the units from `from` on, and stops after the
// first unit that reaches a state ending a term, or at `to`; returns where it stopped. Kept apart
// so that the walk holds everything in registers.
qsizetype walk(const quint32* table, const quint32* classOf, const char16_t* units, qsizetype from, qsizetype to,
               quint32& state)
{
    quint32 at = state;
    qsizetype i = from;
    while (i < to) {
        at = table[(at >> 1) + classOf[units[i]]];
        ++i;
        if (at & 1)
            break;
    }
    state = at;
    return i;
}

// The same, never inlined: the screened scan keeps many values live around its short walks, and a walk
// inlined there spills them at every unit.
__attribute__((noinline)) qsizetype walkApart(const quint32* table, const quint32* classOf, const char16_t* units,
                                              qsizetype from, qsizetype to, quint32& state)
{
    return walk(table, classOf, units, from, to, state);
}

// How common a key unit is in French text, rarest first; the screen picks the rarest it can.
int commonness(char16_t unit)
{
    if (unit >= u'A' && unit <= u'Z')
        return 0; // a capital with case respected
    static constexpr char16_t order[] = u"kwzyxjhgbfqvmpcdolurntiase";
    for (int i = 0; order[i]; ++i) {
        if (order[i] == unit)
            return i + 1;
    }
    // Digits and other letters are about as rare as h; spaces and signs come between most words.
    return QChar::isLetterOrNumber(unit) ? 7 : 30;
}

} // namespace

TermMatcher::TermMatcher(const QStringList& terms, Qt::CaseSensitivity cs, Method method, Accents accents)
    : m_cs(cs), m_fold(accents != Accents::Kept),
      m_level(accents == Accents::Ignored ? accentfolding::Level::Accents : accentfolding::Level::Apostrophes)
{
    const char16_t* fold = PatternFinder::caseFolding();
    struct Distinct
    {
        QString term;
        QString key; // as the automaton reads it; null when it must be looked for on its own
    };
    std::vector<Distinct> distinct;
    QHash<QString, int> seen;
    for (const QString& term : terms) {
        Distinct d{term, QString()};
        // Qt folds a surrogate pair as one character, which the unit-by-unit table cannot; only the
        // automaton folds, so it then takes the pair as two units.
        const bool folds = m_fold && (m_level == accentfolding::Level::Accents || accentfolding::holdsApostrophe(term));
        if (!term.isEmpty() && (folds || !(cs == Qt::CaseInsensitive && accentfolding::hasSurrogates(term)))) {
            d.key = m_fold ? accentfolding::fold(term, m_level) : term;
            if (cs == Qt::CaseInsensitive) {
                for (QChar& c : d.key)
                    c = QChar(fold[c.unicode()]);
            }
        }
        // Keys and the terms left out of the automaton are told apart by their first character.
        const QString name = (d.key.isNull() ? QStringLiteral("t") + term : QStringLiteral("k") + d.key);
        if (seen.contains(name))
            continue;
        seen.insert(name, static_cast<int>(distinct.size()));
        distinct.push_back(std::move(d));
    }
    const auto inAutomaton = [](const Distinct& d) { return !d.key.isNull(); };
    const bool onePass =
        m_fold || method == Method::OnePass ||
        (method == Method::Automatic && std::count_if(distinct.cbegin(), distinct.cend(), inAutomaton) >= onePassFrom);

    std::vector<std::pair<int, QString>> keys;
    for (const Distinct& d : distinct) {
        const int id = termCount();
        m_lengths.push_back(d.term.size());
        m_keyLengths.push_back(d.key.isNull() ? d.term.size() : d.key.size());
        m_keySpaced.push_back(d.key.contains(QLatin1Char(' ')));
        if (onePass && inAutomaton(d)) {
            keys.emplace_back(id, d.key);
        } else {
            m_finders.emplace_back(d.term, cs);
            m_finderTerms.push_back(id);
        }
    }
    if (!keys.empty())
        build(keys);
    if (m_fold && !m_table.empty())
        chooseScreen(keys);
}

void TermMatcher::chooseScreen(const std::vector<std::pair<int, QString>>& keys)
{
    const char16_t* fold = PatternFinder::caseFolding();
    const auto keyOf = [&](char16_t unit) { return m_cs == Qt::CaseInsensitive ? fold[unit] : unit; };
    // The text units that stand for each key unit, alone or as one half of a ligature.
    std::vector<qint32> slot(0x10000, -1);
    std::vector<std::vector<char16_t>> forms;
    for (const auto& [id, key] : keys) {
        for (const QChar c : key) {
            if (slot[c.unicode()] < 0) {
                slot[c.unicode()] = static_cast<qint32>(forms.size());
                forms.emplace_back();
            }
        }
    }
    for (char32_t u = 0; u < 0x10000; ++u) {
        const accentfolding::Expansion folded = accentfolding::expand(char16_t(u), m_level);
        const qint32 first = slot[keyOf(folded.first)];
        const qint32 second = folded.second ? slot[keyOf(folded.second)] : -1;
        for (const qint32 s : {first, second}) {
            if (s >= 0 && forms[size_t(s)].size() <= maxScreen)
                forms[size_t(s)].push_back(char16_t(u));
        }
    }
    std::vector<char16_t> chosen; // key units
    std::vector<char16_t> screen; // their text forms
    for (const auto& [id, key] : keys) {
        int best = -1;
        for (qsizetype i = 0; i < key.size(); ++i) {
            const char16_t c = key.at(i).unicode();
            // An edge read as a space has no unit in the text to be screened for.
            if (c == u' ')
                continue;
            const std::vector<char16_t>& f = forms[size_t(slot[c])];
            if (f.size() > maxScreen)
                continue;
            const auto cost = [&](char16_t k) { return std::make_pair(commonness(k), forms[size_t(slot[k])].size()); };
            if (best < 0 || cost(c) < cost(key.at(best).unicode()))
                best = static_cast<int>(i);
        }
        if (best < 0)
            return;
        const char16_t c = key.at(best).unicode();
        if (std::find(chosen.cbegin(), chosen.cend(), c) == chosen.cend()) {
            chosen.push_back(c);
            const std::vector<char16_t>& f = forms[size_t(slot[c])];
            screen.insert(screen.end(), f.cbegin(), f.cend());
        }
    }
    std::sort(screen.begin(), screen.end());
    screen.erase(std::unique(screen.begin(), screen.end()), screen.end());
    if (screen.size() > maxScreen)
        return;
    // An occurrence holds the unit that stands for a chosen key unit at folded position j: each
    // text unit before it stands for at least one folded unit (œ for two), so the occurrence starts
    // at most j units before it, and ends at most (key length - j) units after its start. Every
    // position of a chosen unit in every key is counted, whichever the text uses.
    for (const auto& [id, key] : keys) {
        for (qsizetype j = 0; j < key.size(); ++j) {
            if (std::find(chosen.cbegin(), chosen.cend(), key.at(j).unicode()) != chosen.cend()) {
                m_screenBefore = std::max(m_screenBefore, j);
                m_screenAfter = std::max(m_screenAfter, key.size() - j);
            }
        }
    }
    m_screenCount = static_cast<int>(screen.size());
    for (size_t i = 0; i < maxScreen; ++i)
        m_screen[i] = screen[i % screen.size()];
}

void TermMatcher::build(const std::vector<std::pair<int, QString>>& keys)
{
    const char16_t* fold = PatternFinder::caseFolding();
    // Classes: 0 any other unit that cannot separate words, 1 any other that may, then one per unit of the keys.
    std::vector<qint32> classOfKeyUnit(0x10000, -1);
    quint32 classes = 2;
    for (const auto& [id, key] : keys) {
        for (const QChar c : key) {
            if (classOfKeyUnit[c.unicode()] < 0)
                classOfKeyUnit[c.unicode()] = static_cast<qint32>(classes++);
        }
    }
    m_classOf.resize(0x10000);
    m_classSeparates.assign(classes, false);
    m_classSeparates[1] = true;
    m_firstPair = classes;
    const auto keyClass = [&](char16_t unit) {
        const char16_t key = m_cs == Qt::CaseInsensitive ? fold[unit] : unit;
        return classOfKeyUnit[key];
    };
    for (char32_t u = 0; u < 0x10000; ++u) {
        const accentfolding::Expansion folded =
            m_fold ? accentfolding::expand(char16_t(u), m_level) : accentfolding::Expansion{char16_t(u), 0};
        if (folded.second) {
            // A letter read as two: a class of its own unless neither half is in a key.
            const auto first = static_cast<quint32>(std::max(keyClass(folded.first), 0));
            const auto second = static_cast<quint32>(std::max(keyClass(folded.second), 0));
            quint32 c = 0;
            if (first != 0 || second != 0) {
                const auto pair = std::find(m_pairs.cbegin(), m_pairs.cend(), std::make_pair(first, second));
                c = m_firstPair + static_cast<quint32>(pair - m_pairs.cbegin());
                if (pair == m_pairs.cend()) {
                    m_pairs.emplace_back(first, second);
                    m_classSeparates.push_back(false);
                    ++classes;
                }
            }
            m_classOf[u] = c;
            continue;
        }
        // A surrogate may belong to a separator beyond the basic plane: the boundary is checked at each candidate.
        const bool separates = QChar::isSurrogate(u) || wordboundary::isSeparator(u);
        const qint32 key = keyClass(folded.first);
        const quint32 c = key >= 0 ? quint32(key) : (separates ? 1u : 0u);
        m_classOf[u] = c;
        if (separates)
            m_classSeparates[c] = true;
    }
    m_boundary = classes;
    m_symbols = classes + 1;
    m_edgeClass = m_classOf[u' '];

    // The trie of the keys, each opened by the boundary symbol.
    m_nodes.resize(1);
    const auto child = [this](quint32 node, quint32 symbol) {
        for (const auto& [s, next] : m_nodes[node].children) {
            if (s == symbol)
                return next;
        }
        const auto next = static_cast<quint32>(m_nodes.size());
        m_nodes[node].children.emplace_back(symbol, next);
        m_nodes.emplace_back();
        return next;
    };
    for (const auto& [id, key] : keys) {
        quint32 node = child(0, m_boundary);
        for (const QChar c : key) {
            const auto cls = static_cast<quint32>(classOfKeyUnit[c.unicode()]);
            node = child(node, cls);
            if (m_classSeparates[cls])
                node = child(node, m_boundary);
        }
        m_nodes[node].term = id;
        m_longest = std::max(m_longest, key.size());
    }
    for (Node& node : m_nodes)
        std::sort(node.children.begin(), node.children.end());

    // Fail links and output chains, breadth first.
    std::vector<quint32> order{0};
    for (size_t i = 0; i < order.size(); ++i) {
        const quint32 node = order[i];
        for (const auto& [symbol, next] : m_nodes[node].children) {
            const quint32 fail = node == 0 ? 0 : step(m_nodes[node].fail, symbol);
            Node& n = m_nodes[next];
            n.fail = fail;
            n.nextOutput = m_nodes[fail].term >= 0 ? qint32(fail) : m_nodes[fail].nextOutput;
            order.push_back(next);
        }
    }
    m_start = step(0, m_boundary);

    const size_t symbols = m_symbols;
    if (m_nodes.size() * symbols > tableLimit)
        return;
    std::vector<quint32> next(m_nodes.size() * symbols);
    for (const quint32 node : order) {
        quint32* row = next.data() + node * symbols;
        const quint32* failRow = next.data() + m_nodes[node].fail * symbols;
        for (quint32 s = 0; s < m_symbols; ++s)
            row[s] = node == 0 ? 0 : failRow[s];
        for (const auto& [symbol, to] : m_nodes[node].children)
            row[symbol] = to;
    }
    // A unit that may separate words is followed by the boundary symbol: one step for both.
    for (size_t node = 0; node < m_nodes.size(); ++node) {
        quint32* row = next.data() + node * symbols;
        for (quint32 s = 0; s < m_boundary; ++s) {
            if (m_classSeparates[s])
                row[s] = next[row[s] * symbols + m_boundary];
        }
    }
    // A unit read as two letters takes both steps at once; a term ending after the first of them
    // would end inside the unit, and is not reported.
    for (size_t node = 0; node < m_nodes.size(); ++node) {
        quint32* row = next.data() + node * symbols;
        for (size_t p = 0; p < m_pairs.size(); ++p)
            row[m_firstPair + p] = next[next[node * symbols + m_pairs[p].first] * symbols + m_pairs[p].second];
    }
    m_table.resize(next.size());
    for (size_t i = 0; i < next.size(); ++i) {
        const Node& to = m_nodes[next[i]];
        const bool output = to.term >= 0 || to.nextOutput >= 0;
        m_table[i] = (next[i] * m_symbols) << 1 | (output ? 1u : 0u);
    }
}

quint32 TermMatcher::step(quint32 node, quint32 symbol) const
{
    for (;;) {
        const auto& children = m_nodes[node].children;
        const auto it = std::lower_bound(children.cbegin(), children.cend(), std::pair<quint32, quint32>(symbol, 0));
        if (it != children.cend() && it->first == symbol)
            return it->second;
        if (node == 0)
            return 0;
        node = m_nodes[node].fail;
    }
}

template <typename Candidate>
void TermMatcher::scan(QStringView text, const BlockEdges& edges, qsizetype from, qsizetype to,
                       const Candidate& candidate) const
{
    if (m_screenCount > 0) {
        scanScreened(text, edges, from, to, candidate);
        return;
    }
    const char16_t* units = text.utf16();
    const quint32* classOf = m_classOf.data();
    // Every term ending at `node`, longest first.
    const auto report = [&](quint32 node, qsizetype end) {
        for (qint32 at = m_nodes[node].term >= 0 ? qint32(node) : m_nodes[node].nextOutput; at >= 0;
             at = m_nodes[static_cast<size_t>(at)].nextOutput) {
            const int term = m_nodes[static_cast<size_t>(at)].term;
            const qsizetype start = startOf(text, edges, from, term, end);
            if (start >= 0 && !candidate(term, start, end))
                return false;
        }
        return true;
    };
    // The next edge to read, as a space where it parts words; a space ends no term.
    const quint32* edge = edges.after(from);
    if (!m_table.empty()) {
        quint32 state = (m_start * m_symbols) << 1;
        for (qsizetype i = from; i < to;) {
            if (edge != edges.end() && qsizetype(*edge) == i) {
                if (wordboundary::insideWord(text, i))
                    state = m_table[(state >> 1) + m_edgeClass];
                ++edge;
            }
            const qsizetype stop = edge != edges.end() && qsizetype(*edge) < to ? qsizetype(*edge) : to;
            i = walk(m_table.data(), classOf, units, i, stop, state);
            if ((state & 1) && !report((state >> 1) / m_symbols, i))
                return;
        }
        return;
    }
    quint32 node = m_start;
    for (qsizetype i = from; i < to; ++i) {
        if (edge != edges.end() && qsizetype(*edge) == i) {
            if (wordboundary::insideWord(text, i))
                node = step(step(node, m_edgeClass), m_boundary);
            ++edge;
        }
        const quint32 c = classOf[units[i]];
        if (c >= m_firstPair && c < m_boundary) {
            const auto& [first, second] = m_pairs[c - m_firstPair];
            node = step(step(node, first), second);
            const Node& at = m_nodes[node];
            if ((at.term >= 0 || at.nextOutput >= 0) && !report(node, i + 1))
                return;
            continue;
        }
        node = step(node, c);
        if (m_classSeparates[c])
            node = step(node, m_boundary);
        const Node& at = m_nodes[node];
        if ((at.term >= 0 || at.nextOutput >= 0) && !report(node, i + 1))
            return;
    }
}

template <typename Candidate>
void TermMatcher::scanSideBySide(QStringView text, const BlockEdges& edges, const Candidate& candidate) const
{
    // Each step of a walk waits for the one before: walks over parts of the text go on side by side.
    // Each reads on past the end of its part as far as a term can reach and keeps the terms that
    // start in its part; each but the first starts at the root on the unit before its part, so that
    // it finds no term that starts earlier.
    constexpr int parts = 4;
    const qsizetype size = text.size();
    if (m_table.empty() || m_screenCount > 0 || size < parts * (m_longest + 32)) {
        scan(text, edges, 0, size, candidate);
        return;
    }
    const char16_t* units = text.utf16();
    const quint32* classOf = m_classOf.data();
    const quint32* table = m_table.data();
    std::array<qsizetype, parts + 1> bound{};
    for (int k = 0; k <= parts; ++k)
        bound[size_t(k)] = size * k / parts;
    std::array<quint32, parts> state{};
    std::array<qsizetype, parts> at{};
    std::array<qsizetype, parts> end{};
    // Each walk's next edge, read as a space where it parts words.
    std::array<const quint32*, parts> edge{};
    qsizetype together = size;
    for (size_t k = 0; k < parts; ++k) {
        state[k] = k == 0 ? (m_start * m_symbols) << 1 : 0;
        at[k] = k == 0 ? 0 : bound[k] - 1;
        end[k] = std::min(size, bound[k + 1] + m_longest);
        edge[k] = edges.after(at[k]);
        together = std::min(together, end[k] - at[k]);
    }
    const auto report = [&](size_t k, qsizetype stop) {
        const quint32 node = (state[k] >> 1) / m_symbols;
        for (qint32 n = m_nodes[node].term >= 0 ? qint32(node) : m_nodes[node].nextOutput; n >= 0;
             n = m_nodes[static_cast<size_t>(n)].nextOutput) {
            const int term = m_nodes[static_cast<size_t>(n)].term;
            const qsizetype start = startOf(text, edges, at[k], term, stop);
            if (start >= 0 && start < bound[k + 1] && !candidate(term, start, stop))
                return false;
        }
        return true;
    };
    const auto readEdge = [&](size_t k, qsizetype position) {
        if (edge[k] != edges.end() && qsizetype(*edge[k]) == position) {
            if (wordboundary::insideWord(text, position))
                state[k] = table[(state[k] >> 1) + m_edgeClass];
            ++edge[k];
        }
    };
    // The walks go on together up to the nearest edge of any of them.
    for (qsizetype i = 0; i < together;) {
        qsizetype stop = together;
        for (size_t k = 0; k < parts; ++k) {
            readEdge(k, at[k] + i);
            if (edge[k] != edges.end())
                stop = std::min(stop, qsizetype(*edge[k]) - at[k]);
        }
        // The states and texts in locals of this loop alone, which the lambdas do not see: they stay
        // in registers.
        std::array<quint32, parts> walking = state;
        std::array<const char16_t*, parts> read{};
        for (size_t k = 0; k < parts; ++k)
            read[k] = units + at[k];
        for (; i < stop; ++i) {
            quint32 any = 0;
            for (size_t k = 0; k < parts; ++k) {
                walking[k] = table[(walking[k] >> 1) + classOf[read[k][i]]];
                any |= walking[k];
            }
            if ((any & 1) == 0)
                continue;
            state = walking;
            for (size_t k = 0; k < parts; ++k) {
                if ((state[k] & 1) && !report(k, at[k] + i + 1))
                    return;
            }
        }
        state = walking;
    }
    for (size_t k = 0; k < parts; ++k) {
        for (qsizetype j = at[k] + together; j < end[k];) {
            readEdge(k, j);
            const qsizetype stop =
                edge[k] != edges.end() && qsizetype(*edge[k]) < end[k] ? qsizetype(*edge[k]) : end[k];
            j = walk(table, classOf, units, j, stop, state[k]);
            if ((state[k] & 1) && !report(k, j))
                return;
        }
    }
}

template <typename Candidate>
void TermMatcher::scanScreened(QStringView text, const BlockEdges& edges, qsizetype from, qsizetype to,
                               const Candidate& candidate) const
{
    const char16_t* units = text.utf16();
    const quint32* classOf = m_classOf.data();
    const quint32* table = m_table.data();
    // The automaton's state after the units before `done`, read from `from` or from the root at some
    // unit past it. Started at the root on the unit before an occurrence (whose boundary symbol it
    // reads), the walk reaches a state on whose output chain the occurrence lies, and it reports only
    // what a walk from `from` reports, at the same ends and in the same order.
    quint32 state = (m_start * m_symbols) << 1;
    qsizetype done = from;
    // The next edge to read, and where it lies (past every unit when there is none): one comparison a
    // walk where the article has no edge near.
    const quint32* edge = edges.after(from);
    constexpr qsizetype noEdge = std::numeric_limits<qsizetype>::max();
    qsizetype edgeAt = edge != edges.end() ? qsizetype(*edge) : noEdge;
    const auto nextEdge = [&] {
        ++edge;
        edgeAt = edge != edges.end() ? qsizetype(*edge) : noEdge;
    };
    const auto readTo = [&](qsizetype until) {
        while (done < until) {
            if (edgeAt == done) {
                if (wordboundary::insideWord(text, done))
                    state = table[(state >> 1) + m_edgeClass];
                nextEdge();
            }
            done = walkApart(table, classOf, units, done, std::min(edgeAt, until), state);
            if (!(state & 1))
                continue;
            const quint32 node = (state >> 1) / m_symbols;
            for (qint32 at = m_nodes[node].term >= 0 ? qint32(node) : m_nodes[node].nextOutput; at >= 0;
                 at = m_nodes[static_cast<size_t>(at)].nextOutput) {
                const int term = m_nodes[static_cast<size_t>(at)].term;
                const qsizetype start = startOf(text, edges, from, term, done);
                if (start >= 0 && !candidate(term, start, done))
                    return false;
            }
        }
        return true;
    };
    // Candidates come in order: a window that meets the part already read goes on from it.
    const auto visit = [&](qsizetype unit) {
        const qsizetype start = unit - m_screenBefore - 1;
        if (start > done) {
            done = start;
            state = 0;
            while (edgeAt <= start)
                nextEdge();
        }
        return readTo(std::min(to, unit + m_screenAfter));
    };
    qsizetype at = from;
#if defined(__SSE2__)
    __m128i forms[maxScreen];
    for (int i = 0; i < maxScreen; ++i)
        forms[i] = _mm_set1_epi16(static_cast<short>(m_screen[i]));
    for (; at + 8 <= to; at += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units + at));
        __m128i hit = _mm_cmpeq_epi16(a, forms[0]);
        for (int i = 1; i < m_screenCount; ++i)
            hit = _mm_or_si128(hit, _mm_cmpeq_epi16(a, forms[i]));
        // Two mask bits per unit.
        auto mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
        while (mask) {
            const int k = __builtin_ctz(mask) / 2;
            if (!visit(at + k))
                return;
            mask &= ~(3u << (2 * k));
        }
    }
#endif
    const auto first = m_screen.cbegin();
    const auto last = first + m_screenCount;
    for (; at < to; ++at) {
        if (std::find(first, last, units[at]) != last && !visit(at))
            return;
    }
}

bool TermMatcher::matches(QStringView text, const BlockEdges& edges, bool all) const
{
    for (const PatternFinder& finder : m_finders) {
        if (wordboundary::containsWholeWord(text, edges, finder) != all)
            return !all;
    }
    if (!usesOnePass())
        return all;
    // A candidate read with an edge as a space is a phrase that runs across it.
    const auto whole = [&](qsizetype start, qsizetype end) {
        return wordboundary::isWholeWord(text, edges, start, end - start, wordboundary::Reading::EdgesAsSpaces);
    };
    if (!all) {
        bool found = false;
        scanSideBySide(text, edges, [&](int, qsizetype start, qsizetype end) {
            found = whole(start, end);
            return !found;
        });
        return found;
    }
    std::vector<bool> seen(m_lengths.size(), false);
    auto missing = static_cast<qsizetype>(m_lengths.size() - m_finders.size());
    scanSideBySide(text, edges, [&](int term, qsizetype start, qsizetype end) {
        if (!seen[static_cast<size_t>(term)] && whole(start, end)) {
            seen[static_cast<size_t>(term)] = true;
            --missing;
        }
        return missing > 0;
    });
    return missing == 0;
}

bool TermMatcher::matchesWithin(QStringView text, const BlockEdges& edges, bool all, const TextSpan* spans,
                                size_t spanCount) const
{
    const TextSpan* spansEnd = spans + spanCount;
    const auto inSomeSpan = [&](const PatternFinder& finder) {
        return containsWholeWordWithin(text, edges, finder, spans, spansEnd);
    };
    for (const PatternFinder& finder : m_finders) {
        if (inSomeSpan(finder) != all)
            return !all;
    }
    if (!usesOnePass())
        return all;
    std::vector<bool> seen(m_lengths.size(), false);
    auto missing = static_cast<qsizetype>(m_lengths.size() - m_finders.size());
    for (const TextSpan* span = spans; span != spansEnd; ++span) {
        // The automaton reads the span alone; each candidate is judged against the whole text.
        scan(text, edges, span->start, span->end, [&](int term, qsizetype start, qsizetype end) {
            const auto t = static_cast<size_t>(term);
            if (!seen[t] &&
                wordboundary::isWholeWord(text, edges, start, end - start, wordboundary::Reading::EdgesAsSpaces)) {
                seen[t] = true;
                --missing;
                if (!all)
                    return false;
            }
            return missing > 0;
        });
        const bool found = std::find(seen.cbegin(), seen.cend(), true) != seen.cend();
        if (all ? missing == 0 : found)
            return true;
    }
    return false;
}

qsizetype TermMatcher::startOf(QStringView text, const BlockEdges& edges, qsizetype from, int term, qsizetype end) const
{
    const auto t = static_cast<size_t>(term);
    qsizetype need = m_keyLengths[t];
    const bool acrossEdges = m_keySpaced[t] && !edges.isEmpty();
    // Only a ligature folds to more than one unit.
    const bool ligatures = m_fold && m_level == accentfolding::Level::Accents;
    if (!ligatures && !acrossEdges)
        return end - need;
    qsizetype at = end;
    while (need > 0 && at > from) {
        --at;
        need -= ligatures ? accentfolding::expand(text.utf16()[at]).length() : 1;
        // The edge before this unit was read as a space of the key.
        if (need > 0 && acrossEdges && at > from && wordboundary::edgePartsWords(text, edges, at))
            --need;
    }
    return need == 0 ? at : -1;
}

std::vector<QList<qsizetype>> TermMatcher::occurrences(QStringView text, const BlockEdges& edges, qsizetype limit) const
{
    const std::vector<QList<Occurrence>> ranges = occurrenceRanges(text, edges, limit);
    std::vector<QList<qsizetype>> starts(ranges.size());
    for (size_t term = 0; term < ranges.size(); ++term) {
        for (const Occurrence& found : ranges[term])
            starts[term].append(found.start);
    }
    return starts;
}

std::vector<QList<TermMatcher::Occurrence>> TermMatcher::occurrenceRanges(QStringView text, const BlockEdges& edges,
                                                                          qsizetype limit) const
{
    std::vector<QList<Occurrence>> lists(m_lengths.size());
    if (limit == 0)
        return lists;
    constexpr qsizetype none = std::numeric_limits<qsizetype>::max();
    // The earliest last start of a full list.
    qsizetype horizon = none;
    for (size_t i = 0; i < m_finders.size(); ++i) {
        QList<Occurrence>& found = lists[static_cast<size_t>(m_finderTerms[i])];
        for (wordboundary::Occurrence next = wordboundary::findWholeWord(text, edges, m_finders[i]);
             next.start >= 0 && found.size() != limit;
             next = wordboundary::findWholeWord(text, edges, m_finders[i], next.start + next.length))
            found.append({next.start, next.length});
        if (found.size() == limit)
            horizon = std::min(horizon, found.constLast().start);
    }
    if (!usesOnePass())
        return lists;
    std::vector<qsizetype> nextFrom(m_lengths.size(), 0);
    scan(text, edges, 0, text.size(), [&](int term, qsizetype start, qsizetype end) {
        QList<Occurrence>& found = lists[static_cast<size_t>(term)];
        if (found.size() != limit && start >= nextFrom[static_cast<size_t>(term)] &&
            wordboundary::isWholeWord(text, edges, start, end - start, wordboundary::Reading::EdgesAsSpaces)) {
            found.append({start, end - start});
            nextFrom[static_cast<size_t>(term)] = end;
            if (found.size() == limit)
                horizon = std::min(horizon, start);
        }
        // Every later candidate starts at or after the end of this one less the longest term's length.
        return horizon == none || end - m_longest < horizon;
    });
    return lists;
}
