#pragma once

#include "corpus/blockedges.h"
#include "search/accentfolding.h"
#include "search/patternfinder.h"
#include "search/searchscope.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <utility>
#include <vector>

// Finds the whole-word occurrences (search/wordboundary.h) of many terms at once, letter case
// respected or ignored as PatternFinder does. Built once per search. With many terms the text is
// read once for all of them, through an Aho-Corasick automaton over UTF-16 units, so the cost does
// not grow with the number of terms; a few terms are each looked for on their own, which is faster.
// Accents may be ignored (search/accentfolding.h): the automaton then reads the text's units through
// their folded forms, so the text is never copied; an occurrence covers the text's own characters
// (three for "œil" found by "oeil") and its word boundaries are the text's. The automaton reads each
// block edge that parts words as a space, so a phrase runs from one block to the next.
class TermMatcher
{
public:
    enum class Method
    {
        Automatic,
        PerTerm, // one scan per term
        OnePass, // one scan for all the terms
    };
    enum class Accents
    {
        Kept,
        Ignored, // always one pass; beyond the basic plane, letter case is then respected
        // Kept, but ’ and ‘ read as ': always one pass; beyond the basic plane, letter case is then
        // respected in the terms that hold an apostrophe
        Apostrophes,
    };
    struct Occurrence
    {
        qsizetype start = 0;
        qsizetype length = 0;
    };

    TermMatcher(const QStringList& terms, Qt::CaseSensitivity cs, Method method = Method::Automatic,
                Accents accents = Accents::Kept);

    // The distinct terms: terms equal under the case rule count once.
    int termCount() const { return static_cast<int>(m_lengths.size()); }
    qsizetype termLength(int term) const { return m_lengths[static_cast<size_t>(term)]; }
    bool usesOnePass() const { return !m_nodes.empty(); }

    // Whether every term (`all`) or at least one term has a whole-word occurrence in `text`, whose
    // block edges are `edges`. Without terms: `all`.
    bool matches(QStringView text, const BlockEdges& edges, bool all) const;
    // The same, counting only the occurrences that lie in one of `spans` (sorted, apart), each
    // judged whole against the whole text.
    bool matchesWithin(QStringView text, const BlockEdges& edges, bool all, const TextSpan* spans,
                       size_t spanCount) const;

    // For each distinct term, the starts of its whole-word occurrences, each looked for past the end
    // of the one before it. With a non-negative `limit`, at most `limit` a term; and once a list is
    // full, the reading may stop: every occurrence that starts before the earliest last start of a
    // full list is there, later ones may be left out.
    std::vector<QList<qsizetype>> occurrences(QStringView text, const BlockEdges& edges, qsizetype limit = -1) const;
    // The same occurrences with their lengths in `text`, which differ from the term's when accents
    // are ignored or when a phrase runs across an edge.
    std::vector<QList<Occurrence>> occurrenceRanges(QStringView text, const BlockEdges& edges,
                                                    qsizetype limit = -1) const;

private:
    // Calls `candidate(term, start, end)` for each occurrence of a term in [from, to) of `text` that
    // follows a possible word boundary, in order of their ends, overlapping ones included, as long as
    // it returns true. Each edge that parts words is read as a space.
    template <typename Candidate>
    void scan(QStringView text, const BlockEdges& edges, qsizetype from, qsizetype to,
              const Candidate& candidate) const;
    // The same over the whole text, in no particular order.
    template <typename Candidate>
    void scanSideBySide(QStringView text, const BlockEdges& edges, const Candidate& candidate) const;
    // The same as scan(), reading through the automaton only around the units m_screen picks out.
    template <typename Candidate>
    void scanScreened(QStringView text, const BlockEdges& edges, qsizetype from, qsizetype to,
                      const Candidate& candidate) const;
    void chooseScreen(const std::vector<std::pair<int, QString>>& keys);
    quint32 step(quint32 node, quint32 symbol) const;
    void build(const std::vector<std::pair<int, QString>>& keys); // (term, key as read)
    // Where the occurrence of `term` that ends at `end` starts in `text`, read from `from` on; -1 when
    // it would start inside a unit's folded form.
    qsizetype startOf(QStringView text, const BlockEdges& edges, qsizetype from, int term, qsizetype end) const;

    Qt::CaseSensitivity m_cs;
    bool m_fold = false; // the text read through folded forms, at m_level
    accentfolding::Level m_level = accentfolding::Level::Accents;
    std::vector<qsizetype> m_lengths;    // by distinct term
    std::vector<qsizetype> m_keyLengths; // the same, folded
    std::vector<bool> m_keySpaced;       // whether the key holds a space, which an edge may stand for
    // Terms looked for one by one, and their ids: all of them, or those the automaton leaves out
    // (a surrogate pair with case ignored, which Qt folds as one character).
    std::vector<PatternFinder> m_finders;
    std::vector<int> m_finderTerms;

    // The automaton reads, for each text unit, the unit's class, then, when the class may separate
    // words, the boundary symbol; each term is inserted as the boundary symbol followed by its
    // units read the same way, so that it is found only where it may start a whole word.
    std::vector<quint32> m_classOf; // by UTF-16 unit
    std::vector<bool> m_classSeparates;
    // Units that fold to two (œ, æ) read as one class that stands for two steps, the pair kept here
    // from m_firstPair on; none separates words.
    quint32 m_firstPair = 0;
    std::vector<std::pair<quint32, quint32>> m_pairs;
    quint32 m_symbols = 0;   // classes, then the boundary symbol
    quint32 m_boundary = 0;  // the boundary symbol
    quint32 m_edgeClass = 0; // the class of a space, which an edge that parts words is read as
    qsizetype m_longest = 0;
    struct Node
    {
        std::vector<std::pair<quint32, quint32>> children; // by symbol, sorted
        quint32 fail = 0;
        int term = -1;          // the term ending here
        qint32 nextOutput = -1; // the nearest node on the fail chain that ends a term
    };
    std::vector<Node> m_nodes;
    // When small enough, every transition of the deterministic automaton, a unit's boundary symbol
    // included: (next node * symbols) << 1, plus 1 when the next node ends a term.
    std::vector<quint32> m_table;
    quint32 m_start = 0; // the node after the boundary that opens the text

    // With accents ignored, the text units that may stand for a chosen key unit of each key (one of
    // few original forms), compared eight at a time; none when m_screenCount is 0. Every occurrence
    // holds one of them, and starts at most m_screenBefore units before it and ends at most
    // m_screenAfter units after its start.
    static constexpr int maxScreen = 8;
    std::array<char16_t, maxScreen> m_screen{};
    int m_screenCount = 0;
    qsizetype m_screenBefore = 0;
    qsizetype m_screenAfter = 0;
};
