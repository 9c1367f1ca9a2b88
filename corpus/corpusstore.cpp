#include "corpus/corpusstore.h"

#include "corpus/nativename.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <memory>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <system_error>
#include <thread>
#include <type_traits>
#include <unistd.h>
#include <utility>
#include <xxhash.h>
#if defined(__x86_64__)
// The library's widest vector code this processor runs (AVX2 here), rather than SSE2: the same hashes.
#include <xxh_x86dispatch.h>
#endif

namespace corpusstore {
namespace {

// The layout, in the machine's own byte order (a store is a cache of this machine):
//   header, then the sections in the order of Section, each at a multiple of `alignment`, then
//   the table of the sections, then the trailer, whose hash covers the header, the table and itself.
constexpr char magic[8] = {'T', 'A', 'R', 'V', 'S', 'T', 'O', 'R'};
constexpr quint32 formatVersion = 2;
constexpr quint32 byteOrder = 0x01020304;
constexpr quint64 alignment = 64;
// The articles' texts are checked by blocks of this many bytes, so that a part of them is checked
// without reading the rest.
constexpr quint64 textBlock = quint64(1) << 20;

enum Section : quint32
{
    Text = 1,   // the articles' texts' UTF-16 units, one after the other: first, as written while loading
    TextHashes, // the hash of each block of Text
    Meta,
    TextStarts, // where each article's text starts in Text, then where the last ends
    Strings,    // every other string's UTF-16 units, one after the other
    Starts,     // where each string starts in Strings, then where the last ends
    Elements,   // ElementIndex::Element
    ElementNames,
    ElementTexts,
    ElementValues,
    ValueAttributes,
    Articles, // ElementIndex::ArticleRange
    Edges,
    NameSlots,  // ElementIndex::IdSlot
    ValueSlots, // ElementIndex::IdSlot
    Stats,      // StatsRecord, one a name
    AttributeStatsSection,
    SectionEnd
};
constexpr quint32 sectionCount = SectionEnd - 1;

struct Header
{
    char magic[8];
    quint32 version;
    quint32 byteOrder;
    qint64 size;
    qint64 modifiedNs;
    qint64 changedNs;
    quint64 inode;
    quint64 device;
};

struct TableEntry
{
    quint32 id;
    quint32 reserved;
    quint64 offset;
    quint64 size;
    quint64 hash;
};

struct Trailer
{
    quint64 tableOffset;
    quint32 sectionCount;
    quint32 reserved;
    quint64 hash; // of the header, the table and the fields above
};

// Strings, in order: the corpus's path, the document element's name, the index's names, values and
// attribute names, the element names listed, then each article's title.
struct MetaRecord
{
    quint32 articleCount;
    quint32 elementCount;
    quint32 elementValueCount;
    quint32 edgeCount;
    quint32 nameCount;
    quint32 valueCount;
    quint32 attributeNameCount;
    quint32 listedNameCount;
    quint32 nameSlotCount;
    quint32 valueSlotCount;
    quint32 attributeStatsCount;
    quint32 textBlock;
};

struct StatsRecord
{
    quint64 count;
    quint64 blockCount;
    quint64 titleCount;
    quint64 textLength;
    quint32 firstAttribute;
    quint32 attributeCount;
};

struct AttributeRecord
{
    quint32 attribute;
    quint32 reserved;
    quint64 count;
    quint64 distinct;
    qint64 longest;
};

using Element = ElementIndex::Element;
using TextRange = ElementIndex::TextRange;
using ArticleRange = ElementIndex::ArticleRange;
using IdSlot = ElementIndex::IdSlot;

// The tables are written and mapped as they lie in memory: no padding, nothing but numbers.
static_assert(sizeof(Element) == 32 && std::is_trivially_copyable_v<Element>);
static_assert(sizeof(TextRange) == 8 && std::is_trivially_copyable_v<TextRange>);
static_assert(sizeof(ArticleRange) == 12 && std::is_trivially_copyable_v<ArticleRange>);
static_assert(sizeof(IdSlot) == 8 && std::is_trivially_copyable_v<IdSlot>);
static_assert(sizeof(Header) == 56 && sizeof(TableEntry) == 32 && sizeof(Trailer) == 24);
static_assert(sizeof(MetaRecord) == 48 && sizeof(StatsRecord) == 40 && sizeof(AttributeRecord) == 32);

QString absolute(const QString& path)
{
    return QFileInfo(path).absoluteFilePath();
}

quint64 stringCountOf(const MetaRecord& m)
{
    return 2 + quint64(m.nameCount) + m.valueCount + m.attributeNameCount + m.listedNameCount + m.articleCount;
}

template <typename F> void forEachString(const CorpusContent& content, const QString& corpusPath, F&& f)
{
    f(corpusPath);
    f(content.rootName);
    for (const QStringList* list : {&content.elements.names(), &content.elements.allValues(),
                                    &content.elements.attributeNames(), &content.elementNames}) {
        for (const QString& s : *list)
            f(s);
    }
    for (const ArticleEntry& article : content.articles)
        f(article.title);
}

QString systemError(int error)
{
    return QString::fromStdString(std::generic_category().message(error));
}

// The store being written: a temporary file beside it, which takes its name once whole. It is not
// synced to disk: a store is a cache, checked whole before any use, so one cut short by a crash is
// only ignored, and a sync would make the disk wait for hundreds of megabytes.
class Temporary
{
public:
    explicit Temporary(const QString& path) : m_path(nativename::encode(path)) {}
    ~Temporary() { discard(); }
    Temporary(const Temporary&) = delete;
    Temporary& operator=(const Temporary&) = delete;

    QString open()
    {
        m_temporary = m_path + ".XXXXXX";
        m_fd = ::mkostemp(m_temporary.data(), O_CLOEXEC);
        if (m_fd < 0) {
            m_error = systemError(errno);
            m_temporary.clear();
        }
        return m_error;
    }
    // Writes the pieces in order, whatever the system takes at a time.
    bool write(iovec* pieces, size_t count)
    {
        size_t first = 0;
        while (first < count && m_error.isEmpty()) {
            const ssize_t written = ::writev(m_fd, pieces + first, int(count - first));
            if (written < 0 && errno != EINTR)
                m_error = systemError(errno);
            for (size_t left = written > 0 ? size_t(written) : 0; left > 0;) {
                const size_t taken = std::min(left, pieces[first].iov_len);
                pieces[first].iov_base = static_cast<char*>(pieces[first].iov_base) + taken;
                pieces[first].iov_len -= taken;
                left -= taken;
                if (pieces[first].iov_len == 0)
                    ++first;
            }
        }
        return m_error.isEmpty();
    }
    QString commit()
    {
        if (m_error.isEmpty() && ::close(std::exchange(m_fd, -1)) != 0)
            m_error = systemError(errno);
        if (m_error.isEmpty() && ::rename(m_temporary.constData(), m_path.constData()) != 0)
            m_error = systemError(errno);
        if (m_error.isEmpty())
            m_temporary.clear();
        discard();
        return m_error;
    }
    void discard()
    {
        if (m_fd >= 0)
            ::close(std::exchange(m_fd, -1));
        if (!m_temporary.isEmpty())
            ::unlink(m_temporary.constData());
        m_temporary.clear();
    }
    const QString& errorString() const { return m_error; }
    int fd() const { return m_fd; }
    // Back to its first `size` bytes, written at the end again.
    bool cut(quint64 size)
    {
        if (m_error.isEmpty() && (::ftruncate(m_fd, off_t(size)) != 0 || ::lseek(m_fd, off_t(size), SEEK_SET) < 0))
            m_error = systemError(errno);
        return m_error.isEmpty();
    }

private:
    QByteArray m_path;
    QByteArray m_temporary;
    int m_fd = -1;
    QString m_error;
};

// Sections written one after the other, each hashed as it goes. What is written is gathered, not
// copied: pieces of the content, and of what write() holds until it ends, go as they lie, a thousand a
// system call; only pieces made on the way (copy()) are copied first.
class Out
{
public:
    // Written after `offset` bytes already there, whose sections `table` lists.
    Out(Temporary& file, const std::atomic<bool>* stop, quint64 offset = 0, std::vector<TableEntry> table = {})
        : m_file(file), m_stop(stop), m_offset(offset), m_table(std::move(table))
    {
        m_state.reset(XXH3_createState());
        if (!m_state)
            m_failed = true;
        m_pieces.reserve(pieceLimit);
    }

    // Bytes that stay where they are until the end.
    void raw(const void* bytes, size_t size)
    {
        if (size == 0 || m_failed)
            return;
        m_pieces.push_back({const_cast<void*>(bytes), size});
        m_pending += size;
        m_offset += size;
        if (m_pieces.size() == pieceLimit || m_pending >= pendingLimit)
            flush();
    }
    // Zeros up to the next multiple of `alignment`.
    void align()
    {
        static const char zeros[alignment] = {};
        raw(zeros, size_t((alignment - m_offset % alignment) % alignment));
    }
    void begin(quint32 id)
    {
        align();
        m_entry = {id, 0, m_offset, 0, 0};
        XXH3_64bits_reset(m_state.get());
    }
    void put(const void* bytes, size_t size)
    {
        XXH3_64bits_update(m_state.get(), bytes, size);
        raw(bytes, size);
    }
    // Bytes made on the way, which will not stay: copied first.
    void copy(const void* bytes, size_t size)
    {
        if (m_copied + size > copyLimit)
            flush();
        char* const at = m_copies.get() + m_copied;
        std::memcpy(at, bytes, size);
        m_copied += size;
        put(at, size);
    }
    template <typename T> void putRecords(const T* records, quint64 count) { put(records, size_t(count) * sizeof(T)); }
    // A section of nothing but those records.
    template <typename T> void section(quint32 id, const T* records, quint64 count)
    {
        begin(id);
        putRecords(records, count);
        end();
    }
    void end()
    {
        m_entry.size = m_offset - m_entry.offset;
        m_entry.hash = XXH3_64bits_digest(m_state.get());
        m_table.push_back(m_entry);
    }
    const std::vector<TableEntry>& table() const { return m_table; }
    quint64 offset() const { return m_offset; }
    bool flush()
    {
        if (m_stop && m_stop->load(std::memory_order_relaxed))
            m_failed = true;
        if (!m_failed && !m_pieces.empty() && !m_file.write(m_pieces.data(), m_pieces.size()))
            m_failed = true;
        m_pieces.clear();
        m_pending = 0;
        m_copied = 0;
        return !m_failed;
    }

private:
    static constexpr size_t pieceLimit = 1024; // IOV_MAX
    static constexpr size_t pendingLimit = size_t(4) << 20;
    static constexpr size_t copyLimit = size_t(64) << 10;
    struct FreeState
    {
        void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
    };

    Temporary& m_file;
    const std::atomic<bool>* m_stop;
    std::unique_ptr<XXH3_state_t, FreeState> m_state;
    std::vector<iovec> m_pieces;
    size_t m_pending = 0;
    std::unique_ptr<char[]> m_copies{new char[copyLimit]};
    size_t m_copied = 0;
    quint64 m_offset;
    TableEntry m_entry{};
    std::vector<TableEntry> m_table;
    bool m_failed = false;
};

quint64 trailerHash(const Header& header, const TableEntry* table, quint32 count, quint64 tableOffset)
{
    XXH3_state_t* state = XXH3_createState();
    if (!state)
        return 0;
    XXH3_64bits_reset(state);
    XXH3_64bits_update(state, &header, sizeof header);
    XXH3_64bits_update(state, table, sizeof(TableEntry) * count);
    XXH3_64bits_update(state, &tableOffset, sizeof tableOffset);
    XXH3_64bits_update(state, &count, sizeof count);
    const quint64 hash = XXH3_64bits_digest(state);
    XXH3_freeState(state);
    return hash;
}

Header headerOf(const Identity& identity)
{
    Header header{};
    std::memcpy(header.magic, magic, sizeof magic);
    header.version = formatVersion;
    header.byteOrder = byteOrder;
    header.size = identity.size;
    header.modifiedNs = identity.modifiedNs;
    header.changedNs = identity.changedNs;
    header.inode = identity.inode;
    header.device = identity.device;
    return header;
}

bool hashHolds(quint64 found, quint64 written)
{
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    // A fuzzer never gets past a checksum: every other check is what it tries.
    Q_UNUSED(found);
    Q_UNUSED(written);
    return true;
#else
    return found == written;
#endif
}

// What lies where in a store being read; every number in it checked against what it points into.
class In
{
public:
    In(const char* base, quint64 size) : m_base(base), m_size(size) {}

    bool readFrame(const Identity& identity)
    {
        if (m_size < sizeof(Header) + sizeof(Trailer))
            return false;
        Header header;
        std::memcpy(&header, m_base, sizeof header);
        const Header expected = headerOf(identity);
        if (std::memcmp(&header, &expected, sizeof header) != 0)
            return false;
        Trailer trailer;
        std::memcpy(&trailer, m_base + m_size - sizeof trailer, sizeof trailer);
        if (trailer.sectionCount != sectionCount || trailer.tableOffset < sizeof(Header) ||
            trailer.tableOffset > m_size ||
            m_size - trailer.tableOffset != sizeof(TableEntry) * sectionCount + sizeof(Trailer))
            return false;
        m_table.resize(sectionCount);
        std::memcpy(m_table.data(), m_base + trailer.tableOffset, sizeof(TableEntry) * sectionCount);
        if (!hashHolds(trailerHash(header, m_table.data(), sectionCount, trailer.tableOffset), trailer.hash))
            return false;
        quint64 previousEnd = sizeof(Header);
        for (quint32 i = 0; i < sectionCount; ++i) {
            const TableEntry& entry = m_table[i];
            if (entry.id != i + 1 || entry.offset % alignment != 0 || entry.offset < previousEnd ||
                entry.offset > trailer.tableOffset || entry.size > trailer.tableOffset - entry.offset)
                return false;
            // The texts are checked by blocks (TextCheck), the element records beside the rest.
            if (entry.id != Text && !isElementRecords(Section(entry.id)) && !sectionHolds(Section(entry.id)))
                return false;
            previousEnd = entry.offset + entry.size;
        }
        return true;
    }
    static bool isElementRecords(Section id) { return id >= Elements && id <= ValueAttributes; }
    bool sectionHolds(Section id) const
    {
        const TableEntry& entry = m_table[id - 1];
        return hashHolds(XXH3_64bits(m_base + entry.offset, size_t(entry.size)), entry.hash);
    }

    // The records of a section, when it holds exactly `count` of them.
    template <typename T> const T* records(Section id, quint64 count) const
    {
        const TableEntry& entry = m_table[id - 1];
        if (count > entry.size / sizeof(T) || entry.size != count * sizeof(T))
            return nullptr;
        // Sections of no records still point somewhere valid.
        return reinterpret_cast<const T*>(m_base + entry.offset);
    }
    quint64 sizeOf(Section id) const { return m_table[id - 1].size; }

private:
    const char* m_base;
    quint64 m_size;
    std::vector<TableEntry> m_table;
};

bool isPowerOfTwoOrZero(quint32 n)
{
    return (n & (n - 1)) == 0;
}

bool slotsHold(const IdSlot* table, quint32 slotCount, quint32 idCount)
{
    if (!isPowerOfTwoOrZero(slotCount) || (slotCount == 0 && idCount != 0))
        return false;
    bool free = slotCount == 0;
    for (quint32 i = 0; i < slotCount; ++i) {
        if (table[i].id == ElementIndex::none)
            free = true;
        else if (table[i].id >= idCount)
            return false;
    }
    // A look-up ends at a free slot: there must be one.
    return free;
}

std::optional<CorpusContent> contentOf(std::shared_ptr<const void> storage, const char* base, quint64 size,
                                       const QString& corpusPath, const Identity& identity)
{
    In in(base, size);
    if (!in.readFrame(identity))
        return std::nullopt;
    const MetaRecord* meta = in.records<MetaRecord>(Meta, 1);
    if (!meta)
        return std::nullopt;
    const MetaRecord m = *meta;
    const quint64 stringCount = stringCountOf(m);
    const quint64* starts = in.records<quint64>(Starts, stringCount + 1);
    if (!starts || in.sizeOf(Strings) % 2 != 0 || in.sizeOf(Text) % 2 != 0 || m.textBlock != textBlock)
        return std::nullopt;
    const quint64 units = in.sizeOf(Strings) / 2;
    const auto* text = in.records<QChar>(Strings, units);
    const quint64 textUnits = in.sizeOf(Text) / 2;
    const auto* texts = in.records<QChar>(Text, textUnits);
    const quint64* textStarts = in.records<quint64>(TextStarts, quint64(m.articleCount) + 1);
    const quint64 blocks = (in.sizeOf(Text) + textBlock - 1) / textBlock;
    const quint64* blockHashes = in.records<quint64>(TextHashes, blocks);
    if (!text || starts[0] != 0 || starts[stringCount] != units || !texts || !textStarts || textStarts[0] != 0 ||
        textStarts[m.articleCount] != textUnits || !blockHashes)
        return std::nullopt;
    for (quint64 i = 0; i < stringCount; ++i) {
        if (starts[i + 1] < starts[i])
            return std::nullopt;
    }
    for (quint64 i = 0; i < m.articleCount; ++i) {
        // A text is numbered by 32-bit offsets (TextRange, the edges).
        if (textStarts[i + 1] < textStarts[i] ||
            textStarts[i + 1] - textStarts[i] > std::numeric_limits<quint32>::max())
            return std::nullopt;
    }
    quint64 next = 0;
    const auto string = [&]() {
        const quint64 at = next++;
        return QString::fromRawData(text + starts[at], qsizetype(starts[at + 1] - starts[at]));
    };
    if (string() != absolute(corpusPath))
        return std::nullopt;

    ElementIndex::Tables t;
    t.elementCount = m.elementCount;
    t.elementValueCount = m.elementValueCount;
    t.articleCount = m.articleCount;
    t.edgeCount = m.edgeCount;
    t.nameSlotCount = m.nameSlotCount;
    t.valueSlotCount = m.valueSlotCount;
    t.elements = in.records<Element>(Elements, m.elementCount);
    t.elementNames = in.records<quint32>(ElementNames, m.elementCount);
    t.elementTexts = in.records<TextRange>(ElementTexts, m.elementCount);
    t.elementValues = in.records<quint32>(ElementValues, m.elementValueCount);
    t.valueAttributes = in.records<quint32>(ValueAttributes, m.elementValueCount);
    t.articles = in.records<ArticleRange>(Articles, m.articleCount);
    t.edges = in.records<quint32>(Edges, m.edgeCount);
    t.nameSlots = in.records<IdSlot>(NameSlots, m.nameSlotCount);
    t.valueSlots = in.records<IdSlot>(ValueSlots, m.valueSlotCount);
    const StatsRecord* stats = in.records<StatsRecord>(Stats, m.nameCount);
    const AttributeRecord* attributeStats = in.records<AttributeRecord>(AttributeStatsSection, m.attributeStatsCount);
    if (!t.elements || !t.elementNames || !t.elementTexts || !t.elementValues || !t.valueAttributes || !t.articles ||
        !t.edges || !t.nameSlots || !t.valueSlots || !stats || !attributeStats)
        return std::nullopt;
    if (!slotsHold(t.nameSlots, m.nameSlotCount, m.nameCount) ||
        !slotsHold(t.valueSlots, m.valueSlotCount, m.valueCount))
        return std::nullopt;
    // The element records, most of what is checked here, on a second thread while this one goes on.
    const auto elementsHold = [&in, &t, &m, textStarts] {
        for (quint32 id = Elements; id <= ValueAttributes; ++id) {
            if (!in.sectionHolds(Section(id)))
                return false;
        }
        for (quint32 e = 0; e < m.elementCount; ++e) {
            const Element& element = t.elements[e];
            if (t.elementNames[e] >= m.nameCount || element.firstValue > m.elementValueCount ||
                element.valueCount > m.elementValueCount - element.firstValue)
                return false;
        }
        for (quint32 v = 0; v < m.elementValueCount; ++v) {
            if (t.elementValues[v] >= m.valueCount || t.valueAttributes[v] >= m.attributeNameCount)
                return false;
        }
        // Each element's text within its article's.
        for (quint32 a = 0; a < m.articleCount; ++a) {
            const quint32 first = t.articles[a].firstElement;
            const quint32 end = a + 1 < m.articleCount ? t.articles[a + 1].firstElement : m.elementCount;
            if (first > end || end > m.elementCount)
                return false;
            const quint64 length = textStarts[a + 1] - textStarts[a];
            for (quint32 e = first; e < end; ++e) {
                if (t.elementTexts[e].start > t.elementTexts[e].end || t.elementTexts[e].end > length)
                    return false;
            }
        }
        return true;
    };
    bool elementsHeld = false;
    std::thread elementsThread;
    try {
        elementsThread = std::thread([&] { elementsHeld = elementsHold(); });
    } catch (const std::system_error&) {
        elementsHeld = elementsHold();
    }
    // The second thread ends before anything it reads can go, whatever way this one returns.
    const struct Join
    {
        std::thread& thread;
        ~Join()
        {
            if (thread.joinable())
                thread.join();
        }
    } join{elementsThread};
    for (quint32 n = 0; n < m.nameCount; ++n) {
        const StatsRecord& s = stats[n];
        if (s.firstAttribute > m.attributeStatsCount || s.attributeCount > m.attributeStatsCount - s.firstAttribute)
            return std::nullopt;
    }
    for (quint32 a = 0; a < m.attributeStatsCount; ++a) {
        if (attributeStats[a].attribute >= m.attributeNameCount)
            return std::nullopt;
    }

    CorpusContent content;
    // A copy: the second thread may still read what it holds while this content goes on a refusal.
    content.storage = storage;
    content.rootName = string();
    QStringList names;
    QStringList values;
    QStringList attributeNames;
    for (const auto& [list, count] :
         {std::pair{&names, m.nameCount}, std::pair{&values, m.valueCount},
          std::pair{&attributeNames, m.attributeNameCount}, std::pair{&content.elementNames, m.listedNameCount}}) {
        list->reserve(count);
        for (quint32 i = 0; i < count; ++i)
            list->append(string());
    }
    content.articles.reserve(m.articleCount);
    for (quint32 a = 0; a < m.articleCount; ++a) {
        const ArticleRange& range = t.articles[a];
        const quint32 elementEnd = a + 1 < m.articleCount ? t.articles[a + 1].firstElement : m.elementCount;
        const quint32 edgeEnd = a + 1 < m.articleCount ? t.articles[a + 1].firstEdge : m.edgeCount;
        if (range.hasChildNode > 1 || range.firstElement > elementEnd || elementEnd > m.elementCount ||
            range.firstEdge > edgeEnd || edgeEnd > m.edgeCount)
            return std::nullopt;
        const auto length = quint32(textStarts[a + 1] - textStarts[a]);
        content.articles.push_back({string(), int(a), QString::fromRawData(texts + textStarts[a], length), {}});
        for (quint32 edge = range.firstEdge; edge < edgeEnd; ++edge) {
            if (t.edges[edge] > length || (edge > range.firstEdge && t.edges[edge] <= t.edges[edge - 1]))
                return std::nullopt;
        }
    }
    content.elements = ElementIndex::over(t, std::move(names), std::move(values), std::move(attributeNames));
    for (ArticleEntry& article : content.articles)
        article.edges = content.elements.edges(article.number);
    content.elementStats.resize(m.nameCount);
    for (quint32 n = 0; n < m.nameCount; ++n) {
        const StatsRecord& s = stats[n];
        ElementStats& into = content.elementStats[n];
        into.count = s.count;
        into.blockCount = s.blockCount;
        into.titleCount = s.titleCount;
        into.textLength = s.textLength;
        for (quint32 a = s.firstAttribute; a < s.firstAttribute + s.attributeCount; ++a) {
            const AttributeRecord& r = attributeStats[a];
            into.attributes.push_back({r.attribute, r.count, r.distinct, qsizetype(r.longest)});
        }
    }
    content.roles = ElementRoles::guess(content.elements.names(), content.elementStats);
    content.textCheck =
        std::make_shared<TextCheck>(texts, in.sizeOf(Text), textBlock, blockHashes, textStarts, m.articleCount);
    if (elementsThread.joinable())
        elementsThread.join();
    if (!elementsHeld)
        return std::nullopt;
    return content;
}

// A store mapped, and what tells its file apart. Mappings are never undone: the strings of a content
// (QString::fromRawData) are copied without any count of their copies, so any copy, anywhere, may
// still point into one. A store opened again is the same mapping: stores are only ever replaced by a
// rename, and a file mapped keeps its inode, so the device and inode tell it.
struct Mapping
{
    const char* address = nullptr;
    size_t length = 0;
    quint64 device = 0;
    quint64 inode = 0;
};

const Mapping* mapped(int fd, const struct stat& info)
{
    static std::mutex lock;
    static std::vector<std::unique_ptr<Mapping>> mappings;
    const std::lock_guard<std::mutex> hold(lock);
    for (const std::unique_ptr<Mapping>& m : mappings) {
        if (m->device == quint64(info.st_dev) && m->inode == quint64(info.st_ino) && m->length == size_t(info.st_size))
            return m.get();
    }
    void* address = ::mmap(nullptr, size_t(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    if (address == MAP_FAILED)
        return nullptr;
    mappings.push_back(std::make_unique<Mapping>(
        Mapping{static_cast<const char*>(address), size_t(info.st_size), quint64(info.st_dev), quint64(info.st_ino)}));
    return mappings.back().get();
}

} // namespace

bool Identity::operator==(const Identity& other) const
{
    return size == other.size && modifiedNs == other.modifiedNs && changedNs == other.changedNs &&
           inode == other.inode && device == other.device;
}

std::optional<Identity> identify(const QString& path)
{
    struct stat info;
    if (::stat(nativename::encode(path).constData(), &info) != 0)
        return std::nullopt;
    Identity identity;
    identity.size = qint64(info.st_size);
    identity.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    identity.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + info.st_ctim.tv_nsec;
    identity.inode = quint64(info.st_ino);
    identity.device = quint64(info.st_dev);
    return identity;
}

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
}

QString storePath(const QString& folder, const QString& corpusPath)
{
    const QByteArray name =
        QCryptographicHash::hash(nativename::encode(absolute(corpusPath)), QCryptographicHash::Sha1).toHex();
    return folder + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".store");
}

struct Draft::Private
{
    explicit Private(const QString& path) : file(path) {}

    // Writes the block, hashed first; false when it could not be, the block then kept as it is.
    bool flush()
    {
        if (used == 0)
            return true;
        iovec piece{block.get(), used};
        if (!file.write(&piece, 1)) {
            failed = true;
            return false;
        }
        hashes.push_back(XXH3_64bits(block.get(), used));
        written += used;
        used = 0;
        return true;
    }
    // The last block, shorter than the others, once every text is in.
    bool close()
    {
        if (!closed && !failed)
            closed = flush();
        return closed;
    }

    Temporary file;
    Header header{};
    bool begun = false;
    bool failed = false; // a write did not go through: nothing more goes to the file
    bool closed = false; // no more texts
    std::unique_ptr<char[]> block{new char[textBlock]};
    size_t used = 0;     // of the block
    quint64 written = 0; // the texts' bytes in the file
    quint64 units = 0;   // the units added
    std::vector<quint64> hashes;
    const QChar* texts = nullptr;
    std::shared_ptr<const void> storage;
};

namespace {
constexpr quint64 textOffset = (sizeof(Header) + alignment - 1) / alignment * alignment;
} // namespace

Draft::Draft(const QString& path) : d(std::make_unique<Private>(path))
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !d->file.open().isEmpty())
        d->failed = true;
}

void Draft::begin(const Identity& identity)
{
    d->header = headerOf(identity);
    d->begun = true;
    restart();
}

Draft::~Draft() = default;

bool Draft::ok() const
{
    return !d->failed;
}

void Draft::restart()
{
    if (d->failed || d->texts || !d->begun)
        return;
    d->used = 0;
    d->written = 0;
    d->units = 0;
    d->closed = false;
    d->hashes.clear();
    char head[textOffset] = {};
    std::memcpy(head, &d->header, sizeof d->header);
    iovec piece{head, sizeof head};
    if (!d->file.cut(0) || !d->file.write(&piece, 1))
        d->failed = true;
}

bool Draft::add(const QChar* units, qsizetype count)
{
    if (d->failed || d->closed || !d->begun)
        return false;
    const char* bytes = reinterpret_cast<const char*>(units);
    size_t left = size_t(count) * sizeof(QChar);
    while (left > 0) {
        const size_t taken = std::min<size_t>(left, textBlock - d->used);
        std::memcpy(d->block.get() + d->used, bytes, taken);
        d->used += taken;
        bytes += taken;
        left -= taken;
        if (d->used == textBlock && !d->flush())
            return false;
    }
    d->units += quint64(count);
    return true;
}

quint64 Draft::units() const
{
    return d->units;
}

const QChar* Draft::texts()
{
    if (d->texts)
        return d->texts;
    static const QChar none[1] = {};
    if (d->units == 0)
        return d->texts = none;
    struct stat info;
    if (d->close() && ::fstat(d->file.fd(), &info) == 0) {
        if (const Mapping* mapping = mapped(d->file.fd(), info))
            return d->texts = reinterpret_cast<const QChar*>(mapping->address + textOffset);
    }
    // Read back what the file holds of them, and the rest from the block that could not be written.
    const quint64 bytes = d->units * sizeof(QChar);
    auto copy = std::shared_ptr<char16_t[]>(new char16_t[size_t(d->units)]);
    char* const into = reinterpret_cast<char*>(copy.get());
    const quint64 fromFile = std::min(bytes, d->written);
    for (quint64 done = 0; done < fromFile;) {
        const ssize_t got = ::pread(d->file.fd(), into + done, size_t(fromFile - done), off_t(textOffset + done));
        if (got <= 0 && errno != EINTR)
            throw std::bad_alloc();
        done += quint64(std::max<ssize_t>(got, 0));
    }
    std::memcpy(into + fromFile, d->block.get(), size_t(bytes - fromFile));
    d->failed = true;
    d->file.discard();
    d->storage = copy;
    return d->texts = reinterpret_cast<const QChar*>(copy.get());
}

std::shared_ptr<const void> Draft::storage() const
{
    return d->storage;
}

QString Draft::complete(const CorpusContent& content, const QString& corpusPath, const std::atomic<bool>* stop)
{
    const ElementIndex& index = content.elements;
    const ElementIndex::Tables& t = index.tables();
    // Where each text starts among those added, then where the last ends; the list stays until the end,
    // as what is written is gathered, not copied.
    std::vector<quint64> textStarts;
    textStarts.reserve(content.articles.size() + 1);
    quint64 units = 0;
    for (const ArticleEntry& article : content.articles) {
        textStarts.push_back(units);
        units += quint64(article.text.size());
    }
    textStarts.push_back(units);
    if (content.articles.size() > std::numeric_limits<quint32>::max() ||
        qsizetype(content.elementStats.size()) != index.names().size() || units != d->units)
        return QStringLiteral("Not a corpus that can be kept");
    if (!d->begun || !d->close())
        return d->file.errorString().isEmpty() ? QStringLiteral("Not written") : d->file.errorString();
    const QString corpus = absolute(corpusPath);
    // The texts are there: the rest follows them.
    const TableEntry texts{Text, 0, textOffset, d->written, 0};
    Out out(d->file, stop, textOffset + d->written, {texts});
    out.section(TextHashes, d->hashes.data(), d->hashes.size());

    MetaRecord meta{};
    meta.articleCount = quint32(content.articles.size());
    meta.elementCount = t.elementCount;
    meta.elementValueCount = t.elementValueCount;
    meta.edgeCount = t.edgeCount;
    meta.nameCount = quint32(index.names().size());
    meta.valueCount = quint32(index.allValues().size());
    meta.attributeNameCount = quint32(index.attributeNames().size());
    meta.listedNameCount = quint32(content.elementNames.size());
    meta.nameSlotCount = t.nameSlotCount;
    meta.valueSlotCount = t.valueSlotCount;
    for (const ElementStats& s : content.elementStats)
        meta.attributeStatsCount += quint32(s.attributes.size());
    meta.textBlock = quint32(textBlock);
    out.section(Meta, &meta, 1);

    out.section(TextStarts, textStarts.data(), textStarts.size());

    std::vector<quint64> starts;
    starts.reserve(size_t(stringCountOf(meta) + 1));
    units = 0;
    out.begin(Strings);
    forEachString(content, corpus, [&](const QString& s) {
        starts.push_back(units);
        units += quint64(s.size());
        out.put(s.constData(), size_t(s.size()) * sizeof(QChar));
    });
    starts.push_back(units);
    out.end();
    out.section(Starts, starts.data(), starts.size());
    out.section(Elements, t.elements, t.elementCount);
    out.section(ElementNames, t.elementNames, t.elementCount);
    out.section(ElementTexts, t.elementTexts, t.elementCount);
    out.section(ElementValues, t.elementValues, t.elementValueCount);
    out.section(ValueAttributes, t.valueAttributes, t.elementValueCount);
    out.section(Articles, t.articles, t.articleCount);
    out.section(Edges, t.edges, t.edgeCount);
    out.section(NameSlots, t.nameSlots, t.nameSlotCount);
    out.section(ValueSlots, t.valueSlots, t.valueSlotCount);

    out.begin(Stats);
    quint32 firstAttribute = 0;
    for (const ElementStats& s : content.elementStats) {
        const StatsRecord record{s.count,      s.blockCount,   s.titleCount,
                                 s.textLength, firstAttribute, quint32(s.attributes.size())};
        out.copy(&record, sizeof record);
        firstAttribute += record.attributeCount;
    }
    out.end();
    out.begin(AttributeStatsSection);
    for (const ElementStats& s : content.elementStats) {
        for (const AttributeStats& a : s.attributes) {
            const AttributeRecord record{a.attribute, 0, a.count, a.distinct, qint64(a.longest)};
            out.copy(&record, sizeof record);
        }
    }
    out.end();

    out.align();
    Trailer trailer{out.offset(), sectionCount, 0, 0};
    trailer.hash = trailerHash(d->header, out.table().data(), sectionCount, trailer.tableOffset);
    out.raw(out.table().data(), sizeof(TableEntry) * out.table().size());
    out.raw(&trailer, sizeof trailer);
    if (!out.flush()) {
        d->file.discard();
        return d->file.errorString().isEmpty() ? QStringLiteral("Stopped") : d->file.errorString();
    }
    return d->file.commit();
}

QString write(const QString& path, const CorpusContent& content, const QString& corpusPath, const Identity& identity,
              const std::atomic<bool>* stop)
{
    Draft draft(path);
    draft.begin(identity);
    for (const ArticleEntry& article : content.articles) {
        if (stop && stop->load(std::memory_order_relaxed))
            return QStringLiteral("Stopped");
        if (!draft.add(article.text.constData(), article.text.size()))
            break;
    }
    return draft.complete(content, corpusPath, stop);
}

std::optional<CorpusContent> open(const QString& path, const QString& corpusPath, const Identity& identity)
{
    const int fd = ::open(nativename::encode(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        ::close(fd);
        return std::nullopt;
    }
    const Mapping* mapping = mapped(fd, info);
    ::close(fd);
    if (!mapping)
        return std::nullopt;
    return contentOf(nullptr, mapping->address, mapping->length, corpusPath, identity);
}

std::optional<CorpusContent> fromBytes(const QByteArray& bytes, const QString& corpusPath, const Identity& identity)
{
    // Aligned as a mapping is.
    const size_t words = (size_t(bytes.size()) + 7) / 8;
    auto copy = std::shared_ptr<quint64[]>(new quint64[std::max<size_t>(words, 1)]());
    std::memcpy(copy.get(), bytes.constData(), size_t(bytes.size()));
    const char* base = reinterpret_cast<const char*>(copy.get());
    std::optional<CorpusContent> content =
        contentOf(std::move(copy), base, quint64(bytes.size()), corpusPath, identity);
    // Bytes in memory are checked whole at once.
    if (content && !content->textCheck->all())
        return std::nullopt;
    return content;
}

void trim(const QString& folder, qint64 limit, const QString& keep)
{
    QDir dir(folder);
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden, QDir::Time);
    const QDateTime dayAgo = QDateTime::currentDateTime().addDays(-1);
    const QString kept = keep.isEmpty() ? QString() : QFileInfo(keep).absoluteFilePath();
    qint64 total = 0;
    // Newest first: the first stores fit, the rest go.
    for (const QFileInfo& file : files) {
        const QString name = file.fileName();
        if (name.endsWith(QLatin1String(".store"))) {
            if (file.absoluteFilePath() == kept || total + file.size() <= limit) {
                total += file.size();
                continue;
            }
            QFile::remove(file.absoluteFilePath());
        } else if (name.contains(QLatin1String(".store.")) && file.lastModified() < dayAgo) {
            // The temporary of a write that never ended: one still going is younger.
            QFile::remove(file.absoluteFilePath());
        }
    }
}

void touch(const QString& path)
{
    ::utimensat(AT_FDCWD, nativename::encode(path).constData(), nullptr, 0);
}

} // namespace corpusstore
