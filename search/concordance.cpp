#include "search/concordance.h"

#include "search/highlighter.h"
#include "search/patternfinder.h"
#include "search/taskcontrol.h"
#include "search/wordboundary.h"

#include <algorithm>
#include <array>
#include <exception>
#include <numeric>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// A word is a run of characters that do not separate words; the halves of a character beyond the
// basic plane are taken as part of a word. Looked up once for every unit, at start: walks through
// millions of contexts ask for each of their units.
using WordUnits = std::array<bool, 0x10000>;

const WordUnits wordUnits = [] {
    WordUnits table{};
    for (char32_t c = 0; c < 0x10000; ++c)
        table[c] = QChar::isSurrogate(c) || !wordboundary::isSeparator(c);
    return table;
}();

struct Word
{
    qsizetype start = 0;
    qsizetype end = 0;
    bool isEmpty() const { return end <= start; }
};

Word wordAfter(QStringView text, const BlockEdges& edges, qsizetype from)
{
    const char16_t* units = text.utf16();
    qsizetype start = from;
    while (start < text.size() && !wordUnits[units[start]])
        ++start;
    qsizetype end = start;
    while (end < text.size() && wordUnits[units[end]])
        ++end;
    // A word ends at a block edge that parts words.
    for (const quint32* edge = edges.after(start); edge != edges.end() && qsizetype(*edge) < end; ++edge) {
        if (wordboundary::insideWord(text, *edge))
            return {start, qsizetype(*edge)};
    }
    return {start, end};
}

Word wordBefore(QStringView text, const BlockEdges& edges, qsizetype before)
{
    const char16_t* units = text.utf16();
    qsizetype end = before;
    while (end > 0 && !wordUnits[units[end - 1]])
        --end;
    qsizetype start = end;
    while (start > 0 && wordUnits[units[start - 1]])
        --start;
    // A word starts at a block edge that parts words.
    for (const quint32* edge = edges.after(start); edge != edges.end() && qsizetype(*edge) < end; ++edge) {
        if (wordboundary::insideWord(text, *edge))
            start = *edge;
    }
    return {start, end};
}

// Letter case aside, unit by unit; a text before any longer one it begins.
int compareFolded(QStringView a, QStringView b)
{
    const char16_t* fold = PatternFinder::caseFolding();
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t x = fold[a[i].unicode()];
        const char16_t y = fold[b[i].unicode()];
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// The words from `a` and from `b` on, read one by one forward or backward: the first that differ
// decide; fewer words come first.
int compareWords(QStringView a, const BlockEdges& edgesA, qsizetype fromA, QStringView b, const BlockEdges& edgesB,
                 qsizetype fromB, bool backwards)
{
    for (int k = 0; k < Concordance::contextWords; ++k) {
        const Word wa = backwards ? wordBefore(a, edgesA, fromA) : wordAfter(a, edgesA, fromA);
        const Word wb = backwards ? wordBefore(b, edgesB, fromB) : wordAfter(b, edgesB, fromB);
        if (wa.isEmpty() || wb.isEmpty())
            return wa.isEmpty() == wb.isEmpty() ? 0 : (wa.isEmpty() ? -1 : 1);
        const int c = compareFolded(a.sliced(wa.start, wa.end - wa.start), b.sliced(wb.start, wb.end - wb.start));
        if (c != 0)
            return c;
        fromA = backwards ? wa.start : wa.end;
        fromB = backwards ? wb.start : wb.end;
    }
    return 0;
}

// Gives `take` the units a context sorts by, until it returns false: each word's units, letter case
// aside, then 1, which no word holds and which comes before any unit of one. Returns whether every
// unit was taken. Two contexts compare as these units do, the shorter first.
template <typename Take>
bool eachWordUnit(QStringView text, const BlockEdges& edges, qsizetype from, bool backwards, Take&& take)
{
    const char16_t* fold = PatternFinder::caseFolding();
    for (int k = 0; k < Concordance::contextWords; ++k) {
        const Word w = backwards ? wordBefore(text, edges, from) : wordAfter(text, edges, from);
        if (w.isEmpty())
            break;
        for (qsizetype i = w.start; i < w.end; ++i) {
            if (!take(fold[text[i].unicode()]))
                return false;
        }
        if (!take(char16_t(1)))
            return false;
        from = backwards ? w.start : w.end;
    }
    return true;
}

// The first twelve units of what a row sorts by, packed so that comparing keys compares them: a
// first difference here is the rows' order. Units not filled are 0, which no unit is.
using Key = std::array<quint64, 3>;
constexpr int keyUnits = 12;

bool sameKey(const Key& a, const Key& b)
{
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}

bool keyBefore(const Key& a, const Key& b)
{
    if (a[0] != b[0])
        return a[0] < b[0];
    return a[1] != b[1] ? a[1] < b[1] : a[2] < b[2];
}

class KeyWriter
{
public:
    bool put(char16_t unit)
    {
        if (m_count == keyUnits)
            return false;
        m_key[size_t(m_count / 4)] |= quint64(unit) << (16 * (3 - m_count % 4));
        ++m_count;
        return true;
    }
    const Key& key() const { return m_key; }

private:
    Key m_key{};
    int m_count = 0;
};

Key textKey(QStringView text)
{
    const char16_t* fold = PatternFinder::caseFolding();
    KeyWriter writer;
    for (qsizetype i = 0; i < text.size() && writer.put(fold[text[i].unicode()]); ++i) {
    }
    return writer.key();
}

// FNV-1a over 16-bit units: only ever confirmed by a full comparison.
class UnitHash
{
public:
    bool put(char16_t unit)
    {
        m_hash = (m_hash ^ unit) * 0x100000001b3ULL;
        return true;
    }
    quint64 value() const { return m_hash; }

private:
    quint64 m_hash = 0xcbf29ce484222325ULL;
};

// Thrown from within the sort once its task is cancelled: the one way out of std::sort.
struct Cancelled
{
};

// The steps of one thread, told to the control in batches; throws Cancelled once it is cancelled.
class Pace
{
public:
    explicit Pace(TaskControl& control) : m_control(control) {}
    ~Pace() { m_control.advance(m_count); }
    Pace(const Pace&) = delete;
    Pace& operator=(const Pace&) = delete;
    void step()
    {
        if (++m_count < batch)
            return;
        m_control.advance(m_count);
        m_count = 0;
        if (m_control.cancelled())
            throw Cancelled();
    }

private:
    static constexpr int batch = 4096;
    TaskControl& m_control;
    int m_count = 0;
};

// Fewer rows are not worth a second thread.
constexpr size_t parallelFrom = 1 << 16;

// Runs `first` here and `second` on a thread of its own, side by side; what either throws is thrown
// here once both have ended. With no thread to be had, one after the other.
template <typename First, typename Second> void sideBySide(const First& first, const Second& second)
{
    std::exception_ptr thrown;
    std::thread other;
    try {
        other = std::thread([&second, &thrown] {
            try {
                second();
            } catch (...) {
                thrown = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        second();
    }
    try {
        first();
    } catch (...) {
        if (other.joinable())
            other.join();
        throw;
    }
    if (other.joinable())
        other.join();
    if (thrown)
        std::rethrow_exception(thrown);
}

// `work(from, to)` over [0, count): in two halves side by side when there are enough.
template <typename Work> void inHalves(size_t count, const Work& work)
{
    if (count < parallelFrom) {
        work(size_t(0), count);
        return;
    }
    const size_t half = count / 2;
    sideBySide([&] { work(size_t(0), half); }, [&] { work(half, count); });
}

QString oneLine(QString cell)
{
    for (QChar& c : cell) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    }
    return cell;
}

// Writes `text` at `to` as a cell of an exported line, where a tab or a line break becomes a space;
// returns the end.
QChar* writeOneLine(QChar* to, QStringView text)
{
    for (const QChar c : text)
        *to++ = c == u'\t' || c == u'\n' || c == u'\r' ? QChar(u' ') : c;
    return to;
}

// Writes what QString::simplified() makes of `text` at `to`, without a string of its own; returns the end.
QChar* writeSimplified(QChar* to, QStringView text)
{
    QChar* const start = to;
    bool space = false;
    for (const QChar c : text) {
        if (c.isSpace()) {
            space = true;
            continue;
        }
        if (space && to != start)
            *to++ = u' ';
        space = false;
        *to++ = c;
    }
    return to;
}

} // namespace

struct Concordance::Keyed
{
    Key key;
    quint32 row;
    bool whole; // the key holds all the row sorts by: equal keys are equal rows
};

std::optional<Concordance::Rows> Concordance::rowsOf(const SearchResult& result, TaskControl* control)
{
    Rows rows;
    if (control)
        control->setTotal(result.count());
    const bool whole =
        highlighter::eachHitRanges(result, [&rows, control](int row, const QList<highlighter::Range>& marks) {
            if (!marks.isEmpty())
                ++rows.articles;
            for (const highlighter::Range& mark : marks)
                rows.occurrences.push_back({quint32(row), quint32(mark.start), quint32(mark.length)});
            if (!control)
                return true;
            control->advance(1);
            return !control->cancelled();
        });
    if (!whole)
        return std::nullopt;
    rows.occurrences.shrink_to_fit();
    rows.order.resize(rows.occurrences.size());
    std::iota(rows.order.begin(), rows.order.end(), quint32(0));
    return rows;
}

void Concordance::setResult(SearchResult result, Rows rows)
{
    beginResetModel();
    m_result = std::move(result);
    m_occurrences = std::move(rows.occurrences);
    m_articles = rows.articles;
    m_order = std::move(rows.order);
    endResetModel();
}

void Concordance::setResult(SearchResult result)
{
    // Whatever the model held goes before the new rows are made: both would be held at once.
    setResult(SearchResult(), Rows());
    std::optional<Rows> rows = rowsOf(result);
    setResult(std::move(result), std::move(*rows));
}

const QString& Concordance::textOf(const Occurrence& occurrence) const
{
    return m_result.hits().at(occurrence.hit)->text;
}

qsizetype Concordance::leftStart(const Occurrence& occurrence) const
{
    const QString& text = textOf(occurrence);
    const BlockEdges& edges = m_result.hits().at(occurrence.hit)->edges;
    qsizetype from = occurrence.start;
    for (int k = 0; k < contextWords; ++k) {
        const Word w = wordBefore(text, edges, from);
        if (w.isEmpty())
            break;
        from = w.start;
    }
    return from;
}

qsizetype Concordance::rightEnd(const Occurrence& occurrence) const
{
    const QString& text = textOf(occurrence);
    const BlockEdges& edges = m_result.hits().at(occurrence.hit)->edges;
    qsizetype to = qsizetype(occurrence.start) + occurrence.length;
    for (int k = 0; k < contextWords; ++k) {
        const Word w = wordAfter(text, edges, to);
        if (w.isEmpty())
            break;
        to = w.end;
    }
    return to;
}

QString Concordance::cell(int row, int column) const
{
    if (row < 0 || row >= occurrenceCount())
        return {};
    const Occurrence& o = occurrence(row);
    const QString& text = textOf(o);
    const qsizetype end = qsizetype(o.start) + o.length;
    switch (column) {
    case TitleColumn:
        return m_result.hits().at(o.hit)->title;
    case LeftColumn: {
        const qsizetype from = leftStart(o);
        return text.mid(from, o.start - from).simplified();
    }
    case HitColumn:
        return text.mid(o.start, o.length);
    case RightColumn:
        return text.mid(end, rightEnd(o) - end).simplified();
    default:
        return {};
    }
}

QString Concordance::tabSeparatedHeader() const
{
    QStringList names;
    for (int column = 0; column < ColumnCount; ++column)
        names << oneLine(headerData(column, Qt::Horizontal).toString());
    return names.join(u'\t') + u'\n';
}

int Concordance::appendTabSeparated(QString& out, int from, qsizetype size) const
{
    const int first = std::max(from, 0);
    int row = first;
    for (; row < occurrenceCount() && (row == first || out.size() < size); ++row) {
        const Occurrence& o = occurrence(row);
        const QStringView text = textOf(o);
        const QStringView title = m_result.hits().at(o.hit)->title;
        const qsizetype left = leftStart(o);
        const qsizetype end = qsizetype(o.start) + o.length;
        const qsizetype right = rightEnd(o);
        // Room for the line at its longest, cut back once written.
        const qsizetype at = out.size();
        out.resize(at + title.size() + (right - left) + 4);
        QChar* to = writeOneLine(out.data() + at, title);
        *to++ = u'\t';
        to = writeSimplified(to, text.sliced(left, o.start - left));
        *to++ = u'\t';
        to = writeOneLine(to, text.sliced(o.start, o.length));
        *to++ = u'\t';
        to = writeSimplified(to, text.sliced(end, right - end));
        *to++ = u'\n';
        out.resize(to - out.constData());
    }
    return row;
}

qsizetype Concordance::heldBytes() const
{
    return qsizetype(m_occurrences.capacity() * sizeof(Occurrence) + m_order.capacity() * sizeof(quint32));
}

int Concordance::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : occurrenceCount();
}

int Concordance::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant Concordance::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return cell(index.row(), index.column());
    if (role == Qt::TextAlignmentRole) {
        // The left contexts end where the occurrences begin: one below the other.
        const Qt::Alignment side = index.column() == LeftColumn ? Qt::AlignRight : Qt::AlignLeft;
        return QVariant::fromValue(side | Qt::AlignVCenter);
    }
    return {};
}

QVariant Concordance::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TitleColumn:
        return QStringLiteral("Article");
    case LeftColumn:
        return QStringLiteral("Contexte gauche");
    case HitColumn:
        return QStringLiteral("Occurrence");
    case RightColumn:
        return QStringLiteral("Contexte droit");
    default:
        return {};
    }
}

int Concordance::compare(int column, const Occurrence& a, const Occurrence& b) const
{
    const QString& ta = textOf(a);
    const QString& tb = textOf(b);
    switch (column) {
    case TitleColumn: {
        if (a.hit == b.hit)
            return 0;
        const QString& x = m_result.hits().at(a.hit)->title;
        const QString& y = m_result.hits().at(b.hit)->title;
        const int folded = compareFolded(x, y);
        return folded != 0 ? folded : QStringView(x).compare(y);
    }
    case LeftColumn:
        return compareWords(ta, m_result.hits().at(a.hit)->edges, a.start, tb, m_result.hits().at(b.hit)->edges,
                            b.start, true);
    case HitColumn: {
        const QStringView x = QStringView(ta).sliced(a.start, a.length);
        const QStringView y = QStringView(tb).sliced(b.start, b.length);
        const int folded = compareFolded(x, y);
        return folded != 0 ? folded : x.compare(y);
    }
    case RightColumn:
        return compareWords(ta, m_result.hits().at(a.hit)->edges, qsizetype(a.start) + a.length, tb,
                            m_result.hits().at(b.hit)->edges, qsizetype(b.start) + b.length, false);
    default:
        return 0;
    }
}

// Equal for rows that compare equal: the title or the occurrence as written, or the context's words
// letter case aside.
quint64 Concordance::identity(int column, const Occurrence& occurrence) const
{
    UnitHash hash;
    const QStringView text = textOf(occurrence);
    const BlockEdges& edges = m_result.hits().at(occurrence.hit)->edges;
    const auto exact = [&hash](QStringView units) {
        for (const QChar c : units)
            hash.put(c.unicode());
    };
    switch (column) {
    case TitleColumn:
        exact(m_result.hits().at(occurrence.hit)->title);
        break;
    case LeftColumn:
        eachWordUnit(text, edges, occurrence.start, true, [&hash](char16_t unit) { return hash.put(unit); });
        break;
    case HitColumn:
        exact(text.sliced(occurrence.start, occurrence.length));
        break;
    default:
        eachWordUnit(text, edges, qsizetype(occurrence.start) + occurrence.length, false,
                     [&hash](char16_t unit) { return hash.put(unit); });
        break;
    }
    return hash.value();
}

// Rows of one key, in the order of the text, put in the order of what they sort by. Many rows may
// share their whole context (a formula repeated through an article): rows are grouped by it, each
// checked against its group once, and only the groups are compared.
void Concordance::orderTies(int column, bool descending, Keyed* first, size_t count, TaskControl& control) const
{
    const auto before = [&](quint32 x, quint32 y) {
        int c = compare(column, m_occurrences[x], m_occurrences[y]);
        if (descending)
            c = -c;
        return c != 0 ? c < 0 : x < y;
    };
    constexpr size_t fewTies = 16;
    if (count <= fewTies) {
        std::sort(first, first + count, [&](const Keyed& x, const Keyed& y) { return before(x.row, y.row); });
        return;
    }
    std::vector<quint64> hashes(count);
    inHalves(count, [&](size_t from, size_t to) {
        Pace pace(control);
        for (size_t i = from; i < to; ++i) {
            hashes[i] = identity(column, m_occurrences[first[i].row]);
            pace.step();
        }
    });
    struct Group
    {
        quint32 row;         // the first of the group, which the others equal
        qint64 nextSameHash; // another group of the same hash, or -1
        quint32 size;
    };
    std::vector<Group> groups;
    std::vector<quint32> groupOf(count);
    std::unordered_map<quint64, quint32> byHash;
    for (size_t i = 0; i < count; ++i) {
        // Runs of one context are common: the row before is looked at first.
        if (i > 0 && hashes[i] == hashes[i - 1]) {
            groupOf[i] = groupOf[i - 1];
            continue;
        }
        const auto [at, added] = byHash.try_emplace(hashes[i], quint32(groups.size()));
        if (added)
            groups.push_back({first[i].row, -1, 0});
        groupOf[i] = at->second;
    }
    hashes = {};
    // A row whose hash is its group's but not its context: looked for again among the groups of that
    // hash, or a group of its own.
    std::vector<char> differs(count);
    inHalves(count, [&](size_t from, size_t to) {
        Pace pace(control);
        for (size_t i = from; i < to; ++i) {
            const quint32 row = first[i].row;
            const quint32 with = groups[groupOf[i]].row;
            differs[i] = row != with && compare(column, m_occurrences[row], m_occurrences[with]) != 0;
            pace.step();
        }
    });
    for (size_t i = 0; i < count; ++i) {
        if (!differs[i])
            continue;
        const quint32 row = first[i].row;
        qint64 g = groupOf[i];
        while (compare(column, m_occurrences[row], m_occurrences[groups[size_t(g)].row]) != 0) {
            if (groups[size_t(g)].nextSameHash < 0) {
                groups[size_t(g)].nextSameHash = qint64(groups.size());
                groups.push_back({row, -1, 0});
            }
            g = groups[size_t(g)].nextSameHash;
        }
        groupOf[i] = quint32(g);
    }
    differs = {};
    for (size_t i = 0; i < count; ++i)
        ++groups[groupOf[i]].size;
    std::vector<quint32> ranked(groups.size());
    std::iota(ranked.begin(), ranked.end(), quint32(0));
    Pace pace(control);
    std::sort(ranked.begin(), ranked.end(), [&](quint32 g, quint32 h) {
        pace.step();
        return before(groups[g].row, groups[h].row);
    });
    // Each group's rows, still in the order of the text, where its rank puts them.
    std::vector<quint32> offsets(groups.size());
    quint32 offset = 0;
    for (const quint32 g : ranked) {
        offsets[g] = offset;
        offset += groups[g].size;
    }
    std::vector<quint32> rows(count);
    for (size_t i = 0; i < count; ++i)
        rows[offsets[groupOf[i]]++] = first[i].row;
    for (size_t i = 0; i < count; ++i)
        first[i].row = rows[i];
}

std::optional<std::vector<quint32>> Concordance::sortedOrder(int column, Qt::SortOrder order,
                                                             TaskControl& control) const
{
    if (column < 0 || column >= ColumnCount)
        return std::nullopt;
    const size_t count = m_occurrences.size();
    // A step a row for the keys, about one a row for each halving of the sort, one a row for the
    // merge and one for the equal keys.
    int halvings = 1;
    while ((size_t(1) << halvings) < count)
        ++halvings;
    control.setTotal(qint64(count) * (halvings + 3));
    std::optional<std::vector<quint32>> sorted = sortRows(column, order, control);
#if defined(__GLIBC__)
    // The sort's scratch memory, freed in between blocks still in use, would otherwise stay with the
    // process: it goes back to the system.
    malloc_trim(0);
#endif
    return sorted;
}

std::optional<std::vector<quint32>> Concordance::sortRows(int column, Qt::SortOrder order, TaskControl& control) const
{
    const size_t count = m_occurrences.size();
    try {
        std::vector<Keyed> keyed(count);
        inHalves(count, [&](size_t from, size_t to) {
            Pace pace(control);
            for (size_t i = from; i < to; ++i) {
                const Occurrence& o = m_occurrences[i];
                const QStringView text = textOf(o);
                const BlockEdges& edges = m_result.hits().at(o.hit)->edges;
                KeyWriter writer;
                bool whole = false;
                const auto put = [&writer](char16_t unit) { return writer.put(unit); };
                switch (column) {
                case TitleColumn:
                    keyed[i] = {textKey(m_result.hits().at(o.hit)->title), quint32(i), false};
                    break;
                case LeftColumn:
                    whole = eachWordUnit(text, edges, o.start, true, put);
                    keyed[i] = {writer.key(), quint32(i), whole};
                    break;
                case HitColumn:
                    keyed[i] = {textKey(text.sliced(o.start, o.length)), quint32(i), false};
                    break;
                default:
                    whole = eachWordUnit(text, edges, qsizetype(o.start) + o.length, false, put);
                    keyed[i] = {writer.key(), quint32(i), whole};
                    break;
                }
                pace.step();
            }
        });
        const bool descending = order == Qt::DescendingOrder;
        const auto less = [descending](const Keyed& x, const Keyed& y) {
            if (!sameKey(x.key, y.key))
                return descending ? keyBefore(y.key, x.key) : keyBefore(x.key, y.key);
            return x.row < y.row;
        };
        // The two halves sorted side by side, then merged.
        const size_t half = count >= parallelFrom ? count / 2 : count;
        const auto sortPart = [&](size_t from, size_t to) {
            Pace pace(control);
            std::sort(keyed.begin() + qsizetype(from), keyed.begin() + qsizetype(to),
                      [&](const Keyed& x, const Keyed& y) {
                          pace.step();
                          return less(x, y);
                      });
        };
        sideBySide([&] { sortPart(0, half); }, [&] { sortPart(half, count); });
        std::inplace_merge(keyed.begin(), keyed.begin() + qsizetype(half), keyed.end(), less);
        control.advance(qint64(count));
        // Rows of equal keys are in the order of the text: those whose keys do not hold all they sort
        // by are compared in full. Runs too small to share their work are shared between two threads.
        struct Run
        {
            size_t start;
            size_t count;
        };
        std::vector<Run> small;
        size_t smallRows = 0;
        {
            Pace pace(control);
            for (size_t i = 0; i < count;) {
                size_t j = i + 1;
                bool whole = keyed[i].whole;
                while (j < count && sameKey(keyed[j].key, keyed[i].key)) {
                    whole = whole && keyed[j].whole;
                    ++j;
                }
                if (j - i >= parallelFrom && !whole) {
                    orderTies(column, descending, keyed.data() + i, j - i, control);
                } else if (j - i > 1 && !whole) {
                    small.push_back({i, j - i});
                    smallRows += j - i;
                }
                for (; i < j; ++i)
                    pace.step();
            }
        }
        size_t split = 0;
        for (size_t rows = 0; split < small.size() && rows < smallRows / 2; ++split)
            rows += small[split].count;
        const auto orderSome = [&](size_t from, size_t to) {
            for (size_t r = from; r < to; ++r)
                orderTies(column, descending, keyed.data() + small[r].start, small[r].count, control);
        };
        if (smallRows >= parallelFrom)
            sideBySide([&] { orderSome(0, split); }, [&] { orderSome(split, small.size()); });
        else
            orderSome(0, small.size());
        if (control.cancelled())
            return std::nullopt;
        std::vector<quint32> rows(count);
        for (size_t i = 0; i < count; ++i)
            rows[i] = keyed[i].row;
        return rows;
    } catch (const Cancelled&) {
        return std::nullopt;
    }
}

void Concordance::setOrder(std::vector<quint32> order)
{
    if (order.size() != m_occurrences.size())
        return;
    beginResetModel();
    m_order = std::move(order);
    endResetModel();
}

void Concordance::sort(int column, Qt::SortOrder order)
{
    TaskControl control;
    std::optional<std::vector<quint32>> rows = sortedOrder(column, order, control);
    if (rows)
        setOrder(std::move(*rows));
}
