#include "corpus/corpusbuilder.h"

#include "corpus/utf8text.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <expat.h>
#include <limits>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <system_error>
#include <thread>
#include <unordered_set>
#include <vector>

namespace corpusbuilder {
namespace {

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

enum class Kind : unsigned char
{
    None,
    Element,
    Other, // text that is not only whitespace, CDATA, a comment, an instruction
};

struct Piece
{
    quint32 start = 0; // in the batch's bytes
    quint32 end = 0;
    bool cdata = false;
    bool blank = true; // only whitespace, outside CDATA
    bool counts() const { return cdata || !blank; }
    bool hasText() const { return end > start && counts(); }
};

// A growing run of bytes, emptied without giving its room back: the parser hands text in short
// runs, and appending each to a std::string cost more than copying it.
class Bytes
{
public:
    Bytes() = default;
    Bytes(const Bytes&) = delete;
    Bytes& operator=(const Bytes&) = delete;
    ~Bytes() { std::free(m_data); }

    void append(const char* text, size_t length)
    {
        if (length == 0)
            return;
        if (length > m_capacity - m_size)
            grow(length);
        std::memcpy(m_data + m_size, text, length);
        m_size += length;
    }
    const char* data() const { return m_data; }
    size_t size() const { return m_size; }
    void clear() { m_size = 0; }

private:
    void grow(size_t length)
    {
        const size_t capacity = std::max<size_t>({m_capacity * 2, m_size + length, 4096});
        void* const data = std::realloc(m_data, capacity);
        if (!data)
            throw std::bad_alloc();
        m_data = static_cast<char*>(data);
        m_capacity = capacity;
    }

    char* m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// An article, or an element below it. Indexes are the batch's.
struct Node
{
    quint32 name = 0;       // its number in the builder's names
    quint32 firstValue = 0; // in the batch's values
    quint32 valueCount = 0;
    quint32 firstPiece = 0;
    quint32 endPiece = 0;
    quint32 subtreeEnd = 0; // the node after its last descendant
    quint32 lastChild = ElementIndex::none;
    Kind firstChild = Kind::None; // whitespace-only text is looked through
    Kind nextSibling = Kind::None;
    bool hasText = false; // some text below it that is not whitespace-only
    bool ownText = false; // some text of its own that is not whitespace-only: its children are inline
};

// Articles as the parser read them: their text as UTF-8 and, in document order, their text pieces
// and their nodes (the article first, then its elements, in the order of the element index).
struct Batch
{
    struct Article
    {
        quint32 firstPiece = 0;
        quint32 firstNode = 0;
    };
    struct Value
    {
        quint32 start = 0;
        quint32 length = 0;
        quint32 name = 0; // its attribute's, in the builder's attribute names
    };
    Bytes bytes;
    Bytes strings; // attribute values
    std::vector<Value> values;
    std::vector<Piece> pieces;
    std::vector<Node> nodes;
    std::vector<Article> articles;
};

std::string_view valueAt(const Batch& batch, quint32 v)
{
    const Batch::Value& value = batch.values[v];
    return std::string_view(batch.strings.data() + value.start, value.length);
}

// What the second thread makes of the batches, in order.
struct Finished
{
    std::vector<ArticleEntry> articles;
    // The first `spilled` articles' texts went into the draft, each from the unit given.
    size_t spilled = 0;
    std::vector<quint64> spilledStarts;
    ElementIndex elements;
    // By the builder's numbers of the names; the attributes too.
    std::vector<ElementStats> stats;
};

// The characters of UTF-8 text, counted up to `limit` + 1.
qsizetype charactersUpTo(std::string_view utf8, qsizetype limit)
{
    if (qsizetype(utf8.size()) <= limit)
        return qsizetype(utf8.size()); // at least as many bytes as characters
    qsizetype count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80 && ++count > limit)
            break;
    }
    return count;
}

// Turns batches into article texts, titles and the element index, on its own thread, while the
// parser reads on: decoding to UTF-16, numbering names and values and finding titles would otherwise
// double the parse. An exception on that thread ends it and is handed back to the parser's.
class Finisher
{
public:
    // A thread the system cannot give is one more resource run out, met as memory is.
    Finisher(qint64 expectedBytes, bool countRoles, corpusstore::Draft* draft)
    try : m_expectedBytes(expectedBytes), m_countRoles(countRoles), m_draft(draft), m_thread([this] { run(); }) {
    } catch (const std::system_error&) {
        throw std::bad_alloc();
    }
    ~Finisher() { stop(); }

    // False when the second thread has stopped on an exception: see error().
    bool push(std::unique_ptr<Batch> batch)
    {
        std::unique_lock lock(m_mutex);
        // A few batches in flight at most, so the memory stays bounded.
        m_room.wait(lock, [this] { return m_queue.size() < 2 || m_error; });
        if (m_error)
            return false;
        m_queue.push_back(std::move(batch));
        m_ready.notify_one();
        return true;
    }

    std::exception_ptr error()
    {
        const std::lock_guard lock(m_mutex);
        return m_error;
    }

    // An emptied batch whose buffers keep their size, when one is back from the second thread.
    std::unique_ptr<Batch> spare()
    {
        const std::lock_guard lock(m_mutex);
        if (m_spares.empty())
            return std::make_unique<Batch>();
        std::unique_ptr<Batch> batch = std::move(m_spares.back());
        m_spares.pop_back();
        return batch;
    }

    // Waits for every batch to be finished; throws what stopped the second thread.
    Finished take()
    {
        stop();
        if (m_error)
            std::rethrow_exception(m_error);
        return std::move(m_finished);
    }

private:
    void stop()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
            m_ready.notify_one();
        }
        if (m_thread.joinable())
            m_thread.join();
    }

    void run()
    {
        try {
            work();
        } catch (...) {
            const std::lock_guard lock(m_mutex);
            m_error = std::current_exception();
            m_room.notify_one();
        }
    }

    void work()
    {
        m_finished.elements.reserveFor(m_expectedBytes);
        m_finished.articles.reserve(static_cast<size_t>(std::max<qint64>(m_expectedBytes, 0) / 512));
        for (;;) {
            std::unique_ptr<Batch> batch;
            {
                std::unique_lock lock(m_mutex);
                m_ready.wait(lock, [this] { return !m_queue.empty() || m_done; });
                if (m_queue.empty())
                    return;
                batch = std::move(m_queue.front());
                m_queue.pop_front();
                m_room.notify_one();
            }
            finish(*batch);
            // Buffers are handed back rather than freed: a megabyte taken anew from the system each
            // time costs more than the parse of it.
            batch->bytes.clear();
            batch->strings.clear();
            batch->values.clear();
            batch->pieces.clear();
            batch->nodes.clear();
            batch->articles.clear();
            const std::lock_guard lock(m_mutex);
            m_spares.push_back(std::move(batch));
        }
    }

    void finish(const Batch& batch);
    // The texts of the articles finished go into the draft, and out of memory, until one cannot.
    void spill();
    // Fills m_edges with the block edges of the article whose nodes are [firstNode, endNode).
    void findEdges(const Batch& batch, quint32 firstNode, quint32 endNode, const QString& text);
    // Fills m_trimmedFrom and m_trimmedUntil for the article's text, in one pass over it.
    void findTrimmedEnds(const Piece* pieces, quint32 count, const QString& text);
    // The article's title, and in `node` the element that gives it (none when none does).
    QString title(const Batch& batch, quint32 article, const QString& text, quint32& node) const;
    ElementStats& statsOf(quint32 name)
    {
        if (name >= m_finished.stats.size()) {
            m_finished.stats.resize(name + 1);
            m_pairs.resize(name + 1);
        }
        return m_finished.stats[name];
    }
    // Counts a value of an element of that name, with the number the index gave it.
    void countValue(quint32 name, quint32 attribute, std::string_view value, quint32 id);

    const qint64 m_expectedBytes;
    const bool m_countRoles;
    corpusstore::Draft* const m_draft;
    bool m_spillEnded = false;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::condition_variable m_room;
    std::deque<std::unique_ptr<Batch>> m_queue;
    std::vector<std::unique_ptr<Batch>> m_spares;
    bool m_done = false;
    std::exception_ptr m_error;
    Finished m_finished;
    std::vector<quint32> m_valueHashes; // those of the article's attribute values
    // Elements with text not signed yet, and their searched texts.
    std::vector<quint32> m_signed;
    std::vector<QStringView> m_searched;
    std::vector<quint32> m_cuts;    // where each piece of the article starts in its bytes
    std::vector<quint32> m_offsets; // where each piece of the article starts in its text
    // For the elements' texts without whitespace at either end: [i] is where the text of pieces i and
    // after starts without it (the text's end if only whitespace), and where the text of the pieces
    // before i ends without it (0 if only whitespace).
    std::vector<quint32> m_trimmedFrom;
    std::vector<quint32> m_trimmedUntil;
    std::vector<quint32> m_edges;
    // The nodes open at some point of a walk down an article.
    struct OpenNode
    {
        quint32 subtreeEnd = 0;
        quint32 endPiece = 0;
        bool block = false;   // its parent has no text of its own
        bool ownText = false; // its children are inline
    };
    std::vector<OpenNode> m_open;
    // The distinct values of each attribute counted in m_finished.stats, while they may make headings.
    // Each attribute of each name, numbered as met, beside m_finished.stats's; and the values seen of
    // each, as pair number + 1 in the high half, value number in the low (open addressing, 0 free).
    std::vector<std::vector<quint32>> m_pairs;
    quint32 m_pairCount = 0;
    std::vector<quint64> m_seen;
    size_t m_seenCount = 0;
    // Whether the key was not seen before.
    bool firstSeen(quint64 key);
    std::thread m_thread;
};

void Finisher::finish(const Batch& batch)
{
    for (size_t a = 0; a < batch.articles.size(); ++a) {
        const Batch::Article& article = batch.articles[a];
        const bool last = a + 1 == batch.articles.size();
        const quint32 endPiece = last ? static_cast<quint32>(batch.pieces.size()) : batch.articles[a + 1].firstPiece;
        const quint32 endNode = last ? static_cast<quint32>(batch.nodes.size()) : batch.articles[a + 1].firstNode;

        const quint32 startByte = article.firstPiece < endPiece ? batch.pieces[article.firstPiece].start : 0;
        const quint32 endByte = article.firstPiece < endPiece ? batch.pieces[endPiece - 1].end : 0;
        QString text(static_cast<qsizetype>(endByte - startByte), Qt::Uninitialized); // no more units than bytes
        QChar* const begin = text.data();
        // The pieces follow one another in the batch's bytes: the article is decoded in one pass.
        const quint32 pieceCount = endPiece - article.firstPiece;
        m_cuts.resize(pieceCount + 1);
        for (quint32 p = 0; p < pieceCount; ++p)
            m_cuts[p] = batch.pieces[article.firstPiece + p].start - startByte;
        m_cuts[pieceCount] = endByte - startByte;
        m_offsets.resize(pieceCount + 1);
        const QByteArrayView articleBytes(batch.bytes.data() + startByte, static_cast<qsizetype>(endByte - startByte));
        QChar* out = utf8text::decodeCut(begin, articleBytes, m_cuts.data(), m_cuts.size(), m_offsets.data());
        if (!out) {
            // Not UTF-8 throughout: piece by piece, each as the toolkit reads it where it is not.
            out = begin;
            for (quint32 p = article.firstPiece; p < endPiece; ++p) {
                m_offsets[p - article.firstPiece] = static_cast<quint32>(out - begin);
                const Piece& piece = batch.pieces[p];
                out = utf8text::decodeInto(out, QByteArrayView(batch.bytes.data() + piece.start,
                                                               static_cast<qsizetype>(piece.end - piece.start)));
            }
            m_offsets[pieceCount] = static_cast<quint32>(out - begin);
        }
        text.resize(out - begin);
        if (text.capacity() - text.size() > text.size() / 8)
            text.squeeze();

        findTrimmedEnds(batch.pieces.data() + article.firstPiece, endPiece - article.firstPiece, text);
        ElementIndex& index = m_finished.elements;
        // The article's values are hashed first, so that their slots are fetched together rather
        // than one cache miss after another.
        const quint32 firstValue = article.firstNode + 1 < endNode ? batch.nodes[article.firstNode + 1].firstValue : 0;
        const quint32 endValue = article.firstNode + 1 < endNode
                                     ? batch.nodes[endNode - 1].firstValue + batch.nodes[endNode - 1].valueCount
                                     : 0;
        m_valueHashes.resize(endValue - firstValue);
        for (quint32 v = firstValue; v < endValue; ++v)
            m_valueHashes[v - firstValue] = index.valueHash(valueAt(batch, v));
        index.beginArticle();
        for (quint32 n = article.firstNode + 1; n < endNode; ++n) {
            const Node& node = batch.nodes[n];
            const quint32 element = index.addElement(node.name);
            for (quint32 v = node.firstValue; v < node.firstValue + node.valueCount; ++v) {
                const std::string_view value = valueAt(batch, v);
                const quint32 attribute = batch.values[v].name;
                const quint32 id = index.addValue(element, attribute, value, m_valueHashes[v - firstValue]);
                if (m_countRoles)
                    countValue(node.name, attribute, value, id);
            }
            const quint32 first = node.firstPiece - article.firstPiece;
            const quint32 start = m_trimmedFrom[first];
            const quint32 end = m_trimmedUntil[node.endPiece - article.firstPiece];
            if (m_countRoles) {
                ElementStats& stats = statsOf(node.name);
                ++stats.count;
                stats.textLength += start < end ? end - start : 0;
            }
            if (start < end) {
                index.setElementText(element, start, end);
                m_signed.push_back(element);
                m_searched.push_back(
                    QStringView(text).mid(start, std::min<qsizetype>(end - start, ElementIndex::textLimit)));
            } else {
                index.setElementText(element, m_offsets[first], m_offsets[first]);
            }
        }
        findEdges(batch, article.firstNode, endNode, text);
        index.setEdges(m_edges.data(), m_edges.size());
        index.endArticle(batch.nodes[article.firstNode].firstChild != Kind::None);

        ArticleEntry entry;
        quint32 titleNode = ElementIndex::none;
        entry.title = title(batch, static_cast<quint32>(a), text, titleNode);
        if (m_countRoles && titleNode != ElementIndex::none && titleNode != article.firstNode)
            ++statsOf(batch.nodes[titleNode].name).titleCount;
        entry.number = static_cast<int>(m_finished.articles.size());
        entry.text = std::move(text);
        m_finished.articles.push_back(std::move(entry));
        // Signed a few articles at a time, their texts still at hand; a text keeps its place when
        // moved into its entry.
        if (m_signed.size() >= 64 || last) {
            index.setSignatures(m_signed.data(), m_searched.data(), m_signed.size());
            m_signed.clear();
            m_searched.clear();
            spill();
        }
    }
}

void Finisher::spill()
{
    if (!m_draft || m_spillEnded)
        return;
    std::vector<ArticleEntry>& articles = m_finished.articles;
    for (size_t& n = m_finished.spilled; n < articles.size(); ++n) {
        QString& text = articles[n].text;
        const quint64 start = m_draft->units();
        if (!m_draft->add(text.constData(), text.size())) {
            // The disk is full, say: the rest stays in memory, as without a draft.
            m_spillEnded = true;
            return;
        }
        m_finished.spilledStarts.push_back(start);
        text = QString();
    }
}

void Finisher::findEdges(const Batch& batch, quint32 firstNode, quint32 endNode, const QString& text)
{
    m_edges.clear();
    const QChar* const chars = text.constData();
    const auto size = static_cast<quint32>(text.size());
    const quint32 base = batch.nodes[firstNode].firstPiece;
    // Whitespace on either side already parts the words: only the other edges are kept. They come
    // in order, so that an edge met twice (the end of a block and the start of the next) is the last kept.
    const auto keep = [&](quint32 piece) {
        const quint32 offset = m_offsets[piece - base];
        if (offset > 0 && offset < size && !chars[offset - 1].isSpace() && !chars[offset].isSpace() &&
            (m_edges.empty() || m_edges.back() != offset))
            m_edges.push_back(offset);
    };
    // Nodes come in document order: a node's parent is the innermost node still open before it, and
    // the nodes that close before it end where it starts or earlier, the innermost first.
    const Node& article = batch.nodes[firstNode];
    m_open.assign(1, {article.subtreeEnd, article.endPiece, false, article.ownText});
    for (quint32 n = firstNode + 1; n < endNode; ++n) {
        while (m_open.back().subtreeEnd <= n) {
            if (m_open.back().block)
                keep(m_open.back().endPiece);
            m_open.pop_back();
        }
        const Node& node = batch.nodes[n];
        const bool block = !m_open.back().ownText;
        if (block) {
            keep(node.firstPiece);
            if (m_countRoles)
                ++statsOf(node.name).blockCount;
        }
        m_open.push_back({node.subtreeEnd, node.endPiece, block, node.ownText});
    }
    for (; m_open.size() > 1; m_open.pop_back()) {
        if (m_open.back().block)
            keep(m_open.back().endPiece);
    }
}

void Finisher::findTrimmedEnds(const Piece* pieces, quint32 count, const QString& text)
{
    m_trimmedFrom.resize(count + 1);
    m_trimmedUntil.resize(count + 1);
    const QChar* const chars = text.constData();
    m_trimmedUntil[0] = 0;
    for (quint32 p = 0; p < count; ++p) {
        quint32 start = m_offsets[p];
        quint32 end = m_offsets[p + 1];
        // The indentation between elements is known to be whitespace without reading it again.
        if (!pieces[p].counts())
            start = end;
        while (start < end && chars[start].isSpace())
            ++start;
        while (end > start && chars[end - 1].isSpace())
            --end;
        m_trimmedFrom[p] = start < end ? start : ElementIndex::none;
        m_trimmedUntil[p + 1] = start < end ? end : m_trimmedUntil[p];
    }
    m_trimmedFrom[count] = static_cast<quint32>(text.size());
    for (quint32 p = count; p-- > 0;) {
        if (m_trimmedFrom[p] == ElementIndex::none)
            m_trimmedFrom[p] = m_trimmedFrom[p + 1];
    }
}

void Finisher::countValue(quint32 name, quint32 attribute, std::string_view value, quint32 id)
{
    std::vector<AttributeStats>& attributes = statsOf(name).attributes;
    std::vector<quint32>& pairs = m_pairs[name];
    size_t a = 0;
    while (a < attributes.size() && attributes[a].attribute != attribute)
        ++a;
    if (a == attributes.size()) {
        attributes.push_back({attribute, 0, 0, 0});
        pairs.push_back(m_pairCount++);
    }
    AttributeStats& stats = attributes[a];
    ++stats.count;
    if (stats.longest > AttributeStats::headingLimit || stats.distinct > AttributeStats::distinctLimit)
        return;
    stats.longest = std::max(stats.longest, charactersUpTo(value, AttributeStats::headingLimit));
    // Past either bound the attribute makes no headings: its values need no more counting.
    if (stats.longest <= AttributeStats::headingLimit && firstSeen((quint64(pairs[a]) + 1) << 32 | id))
        ++stats.distinct;
}

bool Finisher::firstSeen(quint64 key)
{
    if ((m_seenCount + 1) * 2 > m_seen.size()) {
        std::vector<quint64> table(std::max<size_t>(1024, m_seen.size() * 2));
        for (const quint64 old : m_seen) {
            if (old == 0)
                continue;
            size_t i = size_t(old * 0x9E3779B97F4A7C15ull >> 20) & (table.size() - 1);
            while (table[i] != 0)
                i = (i + 1) & (table.size() - 1);
            table[i] = old;
        }
        m_seen.swap(table);
    }
    const size_t mask = m_seen.size() - 1;
    for (size_t i = size_t(key * 0x9E3779B97F4A7C15ull >> 20) & mask;; i = (i + 1) & mask) {
        if (m_seen[i] == key)
            return false;
        if (m_seen[i] == 0) {
            m_seen[i] = key;
            ++m_seenCount;
            return true;
        }
    }
}

QString Finisher::title(const Batch& batch, quint32 article, const QString& text, quint32& node) const
{
    // Down the chain of first children to the first leaf with text, then forward over siblings
    // without text. Each step moves down or forward in document order, so the walk is linear.
    const std::vector<Node>& nodes = batch.nodes;
    const auto firstChildElement = [&nodes](quint32 e) {
        return nodes[e].firstChild == Kind::Element ? e + 1 : ElementIndex::none;
    };
    const auto nextSiblingElement = [&nodes](quint32 e) {
        return nodes[e].nextSibling == Kind::Element ? nodes[e].subtreeEnd : ElementIndex::none;
    };
    quint32 e = batch.articles[article].firstNode;
    while (e != ElementIndex::none && firstChildElement(e) != ElementIndex::none && nodes[e].hasText) {
        while (firstChildElement(e) != ElementIndex::none)
            e = firstChildElement(e);
        while (e != ElementIndex::none && !nodes[e].hasText)
            e = nextSiblingElement(e);
    }
    node = e;
    if (e == ElementIndex::none)
        return {};
    // Its text, whitespace-only text nodes left out.
    const quint32 base = batch.articles[article].firstPiece;
    QString title;
    for (quint32 p = nodes[e].firstPiece; p < nodes[e].endPiece; ++p) {
        if (batch.pieces[p].counts())
            title += QStringView(text).mid(m_offsets[p - base], m_offsets[p - base + 1] - m_offsets[p - base]);
    }
    return title;
}

// Receives the parser's events. Inside an article it keeps what the title rule and the element index
// need: the text nodes, as ranges of the UTF-8 text, and a record for the article and each element.
class Builder
{
public:
    Builder(XML_Parser parser, BatchLimit limit, qint64 expectedBytes, corpusstore::Draft* draft)
        : m_parser(parser), m_limit(limit), m_batch(std::make_unique<Batch>()),
          m_finisher(expectedBytes, limit.countRoles, draft), m_draft(draft)
    {
    }

    // After the whole document was read.
    CorpusContent take()
    {
        flush();
        rethrow();
        Finished finished = m_finisher.take();
        if (finished.spilled > 0) {
            // The texts from where they now lie.
            const QChar* const texts = m_draft->texts();
            const quint64 end = m_draft->units();
            for (size_t n = 0; n < finished.spilled; ++n) {
                const quint64 start = finished.spilledStarts[n];
                const quint64 next = n + 1 < finished.spilled ? finished.spilledStarts[n + 1] : end;
                finished.articles[n].text = QString::fromRawData(texts + start, qsizetype(next - start));
            }
            m_content.storage = m_draft->storage();
        }
        m_content.articles = std::move(finished.articles);
        m_content.elements = std::move(finished.elements);
        ElementIndex& index = m_content.elements;
        const QStringList names = m_names.takeTexts();
        index.finish(names, m_attributeNames.takeTexts());
        // The counts by the index's numbers of the names: two names the index made one add up.
        m_content.elementStats.resize(index.nameCount());
        for (size_t n = 0; n < finished.stats.size(); ++n) {
            ElementStats& into = m_content.elementStats[index.nameId(names.at(qsizetype(n)))];
            ElementStats& from = finished.stats[n];
            into.count += from.count;
            into.blockCount += from.blockCount;
            into.titleCount += from.titleCount;
            into.textLength += from.textLength;
            into.attributes.insert(into.attributes.end(), from.attributes.begin(), from.attributes.end());
        }
        QStringList indexNames;
        for (quint32 id = 0; id < index.nameCount(); ++id)
            indexNames.append(index.name(id));
        m_content.roles = ElementRoles::guess(indexNames, m_content.elementStats);
        // The index's edges no longer move: each article sees its own.
        for (size_t n = 0; n < m_content.articles.size(); ++n)
            m_content.articles[n].edges = index.edges(static_cast<int>(n));
        // The names of the elements inside the articles after those of the document and its articles.
        for (quint32 id = 0; id < index.nameCount(); ++id) {
            if (m_outerNames.count(index.name(id).toStdString()) == 0)
                m_content.elementNames.append(index.name(id));
        }
        return std::move(m_content);
    }

    void startElement(const char* name, const char** attributes);
    void endElement();
    void characters(const char* text, int length);
    void otherNode();
    void startCdata();
    void endCdata();
    void skippedEntity(const char* name);
    bool stopped() const { return m_stopped; }
    // An exception must not cross the parser's C frames: it stops the parse, and is thrown again
    // once the parser has returned.
    void fail(std::exception_ptr error)
    {
        m_error = std::move(error);
        stop();
    }
    void rethrow() const
    {
        if (m_error)
            std::rethrow_exception(m_error);
    }

private:
    bool inArticle() const { return m_depth >= 2; }
    void closeText();
    // A node that counts starts under the innermost open node.
    void childStarts(Kind kind);
    void closeNode();
    void flush();
    // Ends the parse; the file is refused.
    void stop()
    {
        m_stopped = true;
        XML_StopParser(m_parser, XML_FALSE);
    }

    XML_Parser m_parser;
    const BatchLimit m_limit;
    bool m_stopped = false;
    std::exception_ptr m_error;
    CorpusContent m_content;
    std::unordered_set<std::string> m_outerNames;
    std::string m_lastOuterName;
    int m_depth = 0;
    bool m_textOpen = false;
    bool m_cdata = false;
    std::unique_ptr<Batch> m_batch;
    std::vector<quint32> m_open; // the open nodes of the current article
    // The names of the elements inside articles: few, so numbered here at once rather than copied,
    // the last seen of each pair of first letters remembered.
    ElementIndex::Interner m_names;
    struct RecentName
    {
        std::string bytes;
        quint32 id = ElementIndex::none;
    };
    std::array<RecentName, 64> m_recentNames;
    // Those of their attributes, alike.
    ElementIndex::Interner m_attributeNames;
    std::array<RecentName, 64> m_recentAttributes;
    static quint32 numberOf(const char* name, ElementIndex::Interner& names, std::array<RecentName, 64>& recent);
    Finisher m_finisher;
    corpusstore::Draft* const m_draft;
};

void Builder::closeText()
{
    if (!m_textOpen)
        return;
    m_textOpen = false;
    Piece& piece = m_batch->pieces.back();
    piece.end = static_cast<quint32>(m_batch->bytes.size());
    if (!piece.counts())
        return;
    childStarts(Kind::Other);
    if (piece.hasText())
        m_batch->nodes[m_open.back()].hasText = true;
    if (!piece.blank)
        m_batch->nodes[m_open.back()].ownText = true;
}

void Builder::childStarts(Kind kind)
{
    std::vector<Node>& nodes = m_batch->nodes;
    Node& parent = nodes[m_open.back()];
    if (parent.firstChild == Kind::None)
        parent.firstChild = kind;
    if (parent.lastChild != ElementIndex::none) {
        nodes[parent.lastChild].nextSibling = kind;
        parent.lastChild = ElementIndex::none;
    }
}

void Builder::startElement(const char* name, const char** attributes)
{
    if (m_depth == 0)
        m_content.rootName = utf8text::decode(name);
    // The articles' name, most often the same for all, is looked up only when it changes.
    if (m_depth <= 1 && m_lastOuterName != name) {
        m_lastOuterName = name;
        if (m_outerNames.insert(m_lastOuterName).second)
            m_content.elementNames.append(utf8text::decode(name));
    }
    if (m_batch->nodes.size() >= std::numeric_limits<quint32>::max() - 1)
        throw std::bad_alloc(); // past what the index can number: as if memory ran out
    if (m_depth == 1) {
        // An article: its own attributes are not searched, only those of the elements below it.
        Node article;
        article.firstPiece = static_cast<quint32>(m_batch->pieces.size());
        m_batch->articles.push_back({article.firstPiece, static_cast<quint32>(m_batch->nodes.size())});
        m_batch->nodes.push_back(article);
        m_open.assign(1, static_cast<quint32>(m_batch->nodes.size() - 1));
    } else if (m_depth >= 2) {
        closeText();
        childStarts(Kind::Element);
        Node node;
        node.name = numberOf(name, m_names, m_recentNames);
        Bytes& strings = m_batch->strings;
        node.firstValue = static_cast<quint32>(m_batch->values.size());
        for (const char** a = attributes; *a; a += 2) {
            const auto start = static_cast<quint32>(strings.size());
            const size_t length = std::strlen(a[1]);
            strings.append(a[1], length);
            const quint32 attribute = m_limit.countRoles ? numberOf(a[0], m_attributeNames, m_recentAttributes) : 0;
            m_batch->values.push_back({start, static_cast<quint32>(length), attribute});
        }
        node.valueCount = static_cast<quint32>(m_batch->values.size()) - node.firstValue;
        if (strings.size() >= std::numeric_limits<quint32>::max() / 2)
            throw std::bad_alloc(); // past what the index can number: as if memory ran out
        node.firstPiece = static_cast<quint32>(m_batch->pieces.size());
        m_batch->nodes.push_back(node);
        m_open.push_back(static_cast<quint32>(m_batch->nodes.size() - 1));
    }
    ++m_depth;
}

quint32 Builder::numberOf(const char* name, ElementIndex::Interner& names, std::array<RecentName, 64>& recentNames)
{
    // Told apart by their first two bytes, and compared without measuring the name first.
    const auto* const bytes = reinterpret_cast<const unsigned char*>(name);
    RecentName& recent = recentNames[(bytes[0] * 7u + (bytes[0] != 0 ? bytes[1] : 0u)) % recentNames.size()];
    if (recent.id != ElementIndex::none && std::strcmp(recent.bytes.c_str(), name) == 0)
        return recent.id;
    const size_t length = std::strlen(name);
    const quint32 id = names.intern(std::string_view(name, length));
    recent.bytes.assign(name, length);
    recent.id = id;
    return id;
}

void Builder::closeNode()
{
    const quint32 index = m_open.back();
    Node& node = m_batch->nodes[index];
    node.endPiece = static_cast<quint32>(m_batch->pieces.size());
    node.subtreeEnd = static_cast<quint32>(m_batch->nodes.size());
    const bool hasText = node.hasText;
    m_open.pop_back();
    if (!m_open.empty()) {
        Node& parent = m_batch->nodes[m_open.back()];
        parent.lastChild = index;
        parent.hasText = parent.hasText || hasText;
    }
}

void Builder::endElement()
{
    if (inArticle())
        closeText();
    --m_depth;
    if (m_depth >= 2) {
        closeNode();
    } else if (m_depth == 1) {
        closeNode();
        if (m_batch->bytes.size() + m_batch->strings.size() >= m_limit.bytes || m_batch->nodes.size() >= m_limit.nodes)
            flush();
    }
}

void Builder::flush()
{
    if (m_batch->articles.empty())
        return;
    if (!m_finisher.push(std::move(m_batch)))
        return fail(m_finisher.error());
    m_batch = m_finisher.spare();
}

void Builder::characters(const char* text, int length)
{
    if (!inArticle())
        return;
    Bytes& bytes = m_batch->bytes;
    if (bytes.size() + static_cast<size_t>(length) >= std::numeric_limits<quint32>::max())
        throw std::bad_alloc(); // past what the index can number: as if memory ran out
    if (!m_textOpen) {
        Piece piece;
        piece.start = static_cast<quint32>(bytes.size());
        piece.cdata = m_cdata;
        m_batch->pieces.push_back(piece);
        m_textOpen = true;
    }
    Piece& piece = m_batch->pieces.back();
    if (piece.blank) {
        for (int i = 0; i < length && piece.blank; ++i)
            piece.blank = isXmlSpace(text[i]);
    }
    bytes.append(text, static_cast<size_t>(length));
}

void Builder::otherNode()
{
    if (!inArticle())
        return;
    closeText();
    childStarts(Kind::Other);
}

void Builder::startCdata()
{
    if (!inArticle())
        return;
    closeText();
    m_cdata = true;
    // An empty section is a node too.
    characters("", 0);
}

void Builder::endCdata()
{
    if (!inArticle())
        return;
    closeText();
    m_cdata = false;
}

void Builder::skippedEntity(const char* name)
{
    // An entity declared outside the file, which is never read: its reference stays as written.
    const std::string reference = std::string("&") + name + ";";
    characters(reference.data(), static_cast<int>(reference.size()));
}

template <typename Method, typename... Args> void dispatch(void* data, Method method, Args... args)
{
    Builder* builder = static_cast<Builder*>(data);
    if (builder->stopped())
        return;
    try {
        (builder->*method)(args...);
    } catch (...) {
        builder->fail(std::current_exception());
    }
}

// What expat met, as a reader of the program's messages says it.
QString frenchReason(XML_Error code)
{
    switch (code) {
    case XML_ERROR_SYNTAX:
        return QStringLiteral("erreur de syntaxe");
    case XML_ERROR_NO_ELEMENTS:
        return QStringLiteral("document inachevé ou sans élément");
    case XML_ERROR_INVALID_TOKEN:
        return QStringLiteral("caractère ou balise non valide");
    case XML_ERROR_UNCLOSED_TOKEN:
        return QStringLiteral("balise non fermée");
    case XML_ERROR_PARTIAL_CHAR:
        return QStringLiteral("caractère incomplet");
    case XML_ERROR_TAG_MISMATCH:
        return QStringLiteral("la balise de fin ne correspond pas à la balise ouverte");
    case XML_ERROR_DUPLICATE_ATTRIBUTE:
        return QStringLiteral("attribut en double");
    case XML_ERROR_JUNK_AFTER_DOC_ELEMENT:
        return QStringLiteral("texte après la fin de l'élément racine");
    case XML_ERROR_UNDEFINED_ENTITY:
        return QStringLiteral("entité non déclarée");
    case XML_ERROR_RECURSIVE_ENTITY_REF:
        return QStringLiteral("entité qui se cite elle-même");
    case XML_ERROR_BAD_CHAR_REF:
        return QStringLiteral("référence à un caractère non valide");
    case XML_ERROR_BINARY_ENTITY_REF:
        return QStringLiteral("référence à une entité binaire");
    case XML_ERROR_MISPLACED_XML_PI:
        return QStringLiteral("déclaration XML ailleurs qu'au début du fichier");
    case XML_ERROR_UNKNOWN_ENCODING:
        return QStringLiteral("encodage inconnu");
    case XML_ERROR_INCORRECT_ENCODING:
        return QStringLiteral("encodage déclaré incorrect");
    case XML_ERROR_UNCLOSED_CDATA_SECTION:
        return QStringLiteral("section CDATA non fermée");
    case XML_ERROR_UNBOUND_PREFIX:
        return QStringLiteral("préfixe d'espace de noms non déclaré");
    case XML_ERROR_XML_DECL:
        return QStringLiteral("déclaration XML mal formée");
    case XML_ERROR_ABORTED:
        return QStringLiteral("lecture interrompue");
#if XML_MAJOR_VERSION > 2 || (XML_MAJOR_VERSION == 2 && XML_MINOR_VERSION >= 4)
    case XML_ERROR_AMPLIFICATION_LIMIT_BREACH:
        return QStringLiteral("entités qui s'étendent au-delà de la limite permise");
#endif
    default:
        break;
    }
    return QStringLiteral("document XML mal formé (erreur %1 de l'analyseur)").arg(int(code));
}

} // namespace

struct StreamParser::Private
{
    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser{XML_ParserCreate("UTF-8"), &XML_ParserFree};
    std::unique_ptr<Builder> builder;
    bool failed = false;
    bool ended = false;
    QString refusal;
};

StreamParser::StreamParser(BatchLimit limit, qint64 expectedBytes, corpusstore::Draft* draft)
    : d(std::make_unique<Private>())
{
    if (!d->parser)
        throw std::bad_alloc();
    XML_Parser p = d->parser.get();
    d->builder = std::make_unique<Builder>(p, limit, expectedBytes, draft);
    XML_SetUserData(p, d->builder.get());
    XML_SetElementHandler(
        p,
        [](void* data, const XML_Char* name, const XML_Char** attributes) {
            dispatch(data, &Builder::startElement, name, attributes);
        },
        [](void* data, const XML_Char*) { dispatch(data, &Builder::endElement); });
    XML_SetCharacterDataHandler(
        p, [](void* data, const XML_Char* text, int length) { dispatch(data, &Builder::characters, text, length); });
    XML_SetCommentHandler(p, [](void* data, const XML_Char*) { dispatch(data, &Builder::otherNode); });
    XML_SetProcessingInstructionHandler(
        p, [](void* data, const XML_Char*, const XML_Char*) { dispatch(data, &Builder::otherNode); });
    XML_SetCdataSectionHandler(
        p, [](void* data) { dispatch(data, &Builder::startCdata); },
        [](void* data) { dispatch(data, &Builder::endCdata); });
    XML_SetSkippedEntityHandler(p, [](void* data, const XML_Char* name, int isParameterEntity) {
        if (!isParameterEntity)
            dispatch(data, &Builder::skippedEntity, name);
    });
    // No external entity is ever fetched: without a handler for them, the parser leaves them out.
    XML_SetParamEntityParsing(p, XML_PARAM_ENTITY_PARSING_NEVER);
}

StreamParser::~StreamParser() = default;

bool StreamParser::feed(QByteArrayView utf8, bool last)
{
    if (d->failed || d->ended)
        return false;
    // In slices, as the parser takes an int length.
    constexpr qsizetype slice = 64 << 20;
    qsizetype at = 0;
    do {
        const qsizetype length = std::min(slice, utf8.size() - at);
        const bool final = last && at + length >= utf8.size();
        if (!parsed(XML_Parse(d->parser.get(), utf8.data() + at, static_cast<int>(length), final)))
            return false;
        at += length;
    } while (at < utf8.size());
    d->ended = last;
    return true;
}

char* StreamParser::buffer(qsizetype size)
{
    if (d->failed || d->ended)
        return nullptr;
    void* const buffer = XML_GetBuffer(d->parser.get(), static_cast<int>(size));
    if (!buffer)
        parsed(XML_STATUS_ERROR); // throws when the parser is out of memory
    return static_cast<char*>(buffer);
}

bool StreamParser::parseBuffer(qsizetype length, bool last)
{
    if (d->failed || d->ended || !parsed(XML_ParseBuffer(d->parser.get(), static_cast<int>(length), last)))
        return false;
    d->ended = last;
    return true;
}

bool StreamParser::parsed(int status)
{
    if (status == XML_STATUS_OK)
        return true;
    d->failed = true;
    d->builder->rethrow();
    const XML_Error code = XML_GetErrorCode(d->parser.get());
    if (code == XML_ERROR_NO_MEMORY)
        throw std::bad_alloc();
    // Expat counts columns from 0, a reader from 1.
    d->refusal = QStringLiteral("ligne %1, colonne %2 : %3")
                     .arg(XML_GetCurrentLineNumber(d->parser.get()))
                     .arg(XML_GetCurrentColumnNumber(d->parser.get()) + 1)
                     .arg(frenchReason(code));
    return false;
}

QString StreamParser::refusal() const
{
    return d->refusal;
}

std::optional<CorpusContent> StreamParser::finish()
{
    if (d->failed || !d->ended)
        return std::nullopt;
    return d->builder->take();
}

} // namespace corpusbuilder
