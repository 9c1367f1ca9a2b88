#include "concordance.h"

#include "highlighter.h"
#include "patternfinder.h"
#include "wordboundary.h"

#include <algorithm>
#include <array>
#include <thread>
#include <utility>

namespace {

// A word is a run of characters that do not separate words; the halves of a character beyond the
// basic plane are taken as part of a word.
bool inWord(QChar c)
{
    return c.isSurrogate() || !wordboundary::isSeparator(c.unicode());
}

struct Word
{
    qsizetype start = 0;
    qsizetype end = 0;
    bool isEmpty() const { return end <= start; }
};

Word wordAfter(QStringView text, const BlockEdges& edges, qsizetype from)
{
    qsizetype start = from;
    while (start < text.size() && !inWord(text[start]))
        ++start;
    qsizetype end = start;
    while (end < text.size() && inWord(text[end]))
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
    qsizetype end = before;
    while (end > 0 && !inWord(text[end - 1]))
        --end;
    qsizetype start = end;
    while (start > 0 && inWord(text[start - 1]))
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

// The first twelve units of what a row sorts by, packed so that comparing keys compares them: a
// first difference here is the rows' order; equal keys are compared in full.
using Key = std::array<quint64, 3>;
constexpr int keyUnits = 12;

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

// Each word's units, then 1, which no word holds and which comes before any unit of one; 0 after the last.
Key wordsKey(QStringView text, const BlockEdges& edges, qsizetype from, bool backwards)
{
    const char16_t* fold = PatternFinder::caseFolding();
    KeyWriter writer;
    for (int k = 0; k < Concordance::contextWords; ++k) {
        const Word w = backwards ? wordBefore(text, edges, from) : wordAfter(text, edges, from);
        if (w.isEmpty())
            break;
        for (qsizetype i = w.start; i < w.end; ++i) {
            if (!writer.put(fold[text[i].unicode()]))
                return writer.key();
        }
        if (!writer.put(1))
            break;
        from = backwards ? w.start : w.end;
    }
    return writer.key();
}

QString oneLine(QString cell)
{
    for (QChar& c : cell) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    }
    return cell;
}

} // namespace

void Concordance::setResult(SearchResult result)
{
    beginResetModel();
    m_result = std::move(result);
    m_occurrences.clear();
    m_occurrences.shrink_to_fit();
    m_articles = 0;
    highlighter::eachHitRanges(m_result, [this](int row, const QList<highlighter::Range>& marks) {
        if (!marks.isEmpty())
            ++m_articles;
        for (const highlighter::Range& mark : marks)
            m_occurrences.push_back({quint32(row), quint32(mark.start), quint32(mark.length)});
    });
    m_occurrences.shrink_to_fit();
    endResetModel();
}

const QString& Concordance::textOf(const Occurrence& occurrence) const
{
    return m_result.hits().at(occurrence.hit)->text;
}

QString Concordance::cell(int row, int column) const
{
    if (row < 0 || row >= occurrenceCount())
        return {};
    const Occurrence& o = occurrence(row);
    const QString& text = textOf(o);
    const BlockEdges& edges = m_result.hits().at(o.hit)->edges;
    const qsizetype end = qsizetype(o.start) + o.length;
    switch (column) {
    case TitleColumn:
        return m_result.hits().at(o.hit)->title;
    case LeftColumn: {
        qsizetype from = o.start;
        for (int k = 0; k < contextWords; ++k) {
            const Word w = wordBefore(text, edges, from);
            if (w.isEmpty())
                break;
            from = w.start;
        }
        return text.mid(from, o.start - from).simplified();
    }
    case HitColumn:
        return text.mid(o.start, o.length);
    case RightColumn: {
        qsizetype to = end;
        for (int k = 0; k < contextWords; ++k) {
            const Word w = wordAfter(text, edges, to);
            if (w.isEmpty())
                break;
            to = w.end;
        }
        return text.mid(end, to - end).simplified();
    }
    default:
        return {};
    }
}

QByteArray Concordance::tabSeparated() const
{
    QByteArray out;
    const auto line = [&out](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                out += '\t';
            out += oneLine(cells.at(i)).toUtf8();
        }
        out += '\n';
    };
    QStringList header;
    for (int column = 0; column < ColumnCount; ++column)
        header << headerData(column, Qt::Horizontal).toString();
    line(header);
    for (int row = 0; row < occurrenceCount(); ++row)
        line({cell(row, TitleColumn), cell(row, LeftColumn), cell(row, HitColumn), cell(row, RightColumn)});
    return out;
}

qsizetype Concordance::heldBytes() const
{
    return qsizetype(m_occurrences.capacity() * sizeof(Occurrence));
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

void Concordance::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    struct Keyed
    {
        Key key;
        quint32 row;
    };
    constexpr size_t parallelFrom = 1 << 16;
    const size_t count = m_occurrences.size();
    std::vector<Keyed> keyed(count);
    const auto makeKeys = [&](size_t from, size_t to) {
        for (size_t i = from; i < to; ++i) {
            const Occurrence& o = m_occurrences[i];
            const QString& text = textOf(o);
            Key key;
            switch (column) {
            case TitleColumn:
                key = textKey(m_result.hits().at(o.hit)->title);
                break;
            case LeftColumn:
                key = wordsKey(text, m_result.hits().at(o.hit)->edges, o.start, true);
                break;
            case HitColumn:
                key = textKey(QStringView(text).sliced(o.start, o.length));
                break;
            default:
                key = wordsKey(text, m_result.hits().at(o.hit)->edges, qsizetype(o.start) + o.length, false);
                break;
            }
            keyed[i] = {key, quint32(i)};
        }
    };
    const bool descending = order == Qt::DescendingOrder;
    const auto less = [&](const Keyed& x, const Keyed& y) {
        const Occurrence& a = m_occurrences[x.row];
        const Occurrence& b = m_occurrences[y.row];
        int c = x.key < y.key ? -1 : (y.key < x.key ? 1 : compare(column, a, b));
        if (descending)
            c = -c;
        if (c != 0)
            return c < 0;
        return a.hit != b.hit ? a.hit < b.hit : a.start < b.start;
    };
    // Half a million rows: the two halves are keyed and sorted side by side, then merged. Everything
    // read is only read.
    const size_t half = count >= parallelFrom ? count / 2 : count;
    {
        std::thread second(makeKeys, half, count);
        makeKeys(0, half);
        second.join();
    }
    {
        std::thread second([&] { std::sort(keyed.begin() + qsizetype(half), keyed.end(), less); });
        std::sort(keyed.begin(), keyed.begin() + qsizetype(half), less);
        second.join();
    }
    std::inplace_merge(keyed.begin(), keyed.begin() + qsizetype(half), keyed.end(), less);
    std::vector<Occurrence> sorted;
    sorted.reserve(m_occurrences.size());
    for (const Keyed& k : keyed)
        sorted.push_back(m_occurrences[k.row]);
    keyed = {};
    beginResetModel();
    m_occurrences = std::move(sorted);
    endResetModel();
}
