#include "corpus/xmldecoder.h"

#include "corpus/utf8text.h"

#include <QStringDecoder>
#include <cstring>

namespace xmldecoder {
namespace {

bool startsWith(const QByteArray& bytes, const char* prefix, qsizetype length)
{
    return bytes.size() >= length && std::memcmp(bytes.constData(), prefix, static_cast<size_t>(length)) == 0;
}

// Windows-1252 differs from Latin-1 only in 0x80-0x9F; five of those bytes stand for nothing.
constexpr char16_t cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t cp1252(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? cp1252High[byte - 0x80] : char16_t(byte);
}

bool isCp1252Undefined(unsigned char byte)
{
    return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

std::optional<QByteArray> cp1252ToUtf8(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (isCp1252Undefined(byte))
            return std::nullopt;
        *out++ = QChar(cp1252(byte));
    }
    return text.toUtf8();
}

// The length of the valid UTF-8 sequence at `p`, or 0.
int sequenceLength(const unsigned char* p, const unsigned char* end)
{
    return *p < 0x80 ? 1 : utf8text::sequenceAt(p, end).length;
}

// UTF-8 as far as the bytes are; each byte that belongs to no UTF-8 sequence is read as Windows-1252,
// as old French corpora mix the two.
QByteArray mixedBytesToUtf8(QByteArrayView bytes)
{
    QByteArray utf8;
    utf8.reserve(bytes.size() + bytes.size() / 16);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* end = p + bytes.size();
    while (p < end) {
        const int length = sequenceLength(p, end);
        if (length > 0) {
            utf8.append(reinterpret_cast<const char*>(p), length);
            p += length;
            continue;
        }
        const char16_t c = cp1252(*p++);
        if (c < 0x800) {
            utf8.append(char(0xC0 | (c >> 6)));
            utf8.append(char(0x80 | (c & 0x3F)));
        } else {
            utf8.append(char(0xE0 | (c >> 12)));
            utf8.append(char(0x80 | ((c >> 6) & 0x3F)));
            utf8.append(char(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

bool hasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return true;
    }
    return false;
}

} // namespace

QByteArray declaredEncoding(const QByteArray& bytes)
{
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0 || end > 1024)
        return {};
    const QByteArray declaration = bytes.left(end);
    qsizetype at = declaration.indexOf("encoding");
    if (at < 0)
        return {};
    at += 8;
    while (at < declaration.size() && (declaration[at] == ' ' || declaration[at] == '=' || declaration[at] == '\t' ||
                                       declaration[at] == '\r' || declaration[at] == '\n'))
        ++at;
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const char quote = declaration[at];
    const qsizetype close = declaration.indexOf(quote, at + 1);
    if (close < 0)
        return {};
    return declaration.mid(at + 1, close - at - 1).trimmed();
}

bool meantAsUtf8(const QByteArray& bytes, qsizetype* textStart)
{
    *textStart = 0;
    if (startsWith(bytes, "\xEF\xBB\xBF", 3)) {
        *textStart = 3;
        return true;
    }
    if (startsWith(bytes, "\x00\x00\xFE\xFF", 4) || startsWith(bytes, "\xFF\xFE", 2) ||
        startsWith(bytes, "\xFE\xFF", 2) || startsWith(bytes, "\x00<\x00?", 4) || startsWith(bytes, "<\x00?\x00", 4))
        return false;
    const QByteArray declared = declaredEncoding(bytes).toLower();
    return declared.isEmpty() || declared == "utf-8" || declared == "utf8";
}

struct StreamDecoder::Converter
{
    QStringDecoder decoder;
};

StreamDecoder::StreamDecoder(const QByteArray& head)
{
    const auto useQt = [this](QStringConverter::Encoding encoding, qsizetype start) {
        m_kind = Kind::Qt;
        m_textStart = start;
        m_converter = std::make_unique<Converter>(Converter{QStringDecoder(encoding)});
    };
    if (xmldecoder::meantAsUtf8(head, &m_textStart)) {
        m_kind = Kind::Utf8;
    } else if (startsWith(head, "\x00\x00\xFE\xFF", 4)) {
        useQt(QStringConverter::Utf32BE, 4);
    } else if (startsWith(head, "\xFF\xFE\x00\x00", 4)) {
        useQt(QStringConverter::Utf32LE, 4);
    } else if (startsWith(head, "\xFE\xFF", 2) || startsWith(head, "\x00<\x00?", 4)) {
        useQt(QStringConverter::Utf16BE, head.startsWith('\xFE') ? 2 : 0);
    } else if (startsWith(head, "\xFF\xFE", 2) || startsWith(head, "<\x00?\x00", 4)) {
        useQt(QStringConverter::Utf16LE, head.startsWith('\xFF') ? 2 : 0);
    } else {
        const QByteArray name = declaredEncoding(head);
        const QByteArray key = name.toLower();
        if (key == "iso-8859-1" || key == "iso8859-1" || key == "iso_8859-1" || key == "latin1" || key == "latin-1" ||
            key == "l1") {
            m_kind = Kind::Latin1;
        } else if (key == "windows-1252" || key == "cp1252" || key == "x-cp1252") {
            m_kind = Kind::Cp1252;
        } else if (key == "us-ascii" || key == "ascii") {
            m_kind = Kind::Ascii;
        } else {
            QStringDecoder decoder(name.constData());
            if (decoder.isValid()) {
                m_kind = Kind::Qt;
                m_converter = std::make_unique<Converter>(Converter{std::move(decoder)});
            }
        }
    }
}

StreamDecoder::~StreamDecoder() = default;

std::optional<QByteArrayView> StreamDecoder::decode(QByteArrayView bytes, bool last)
{
    // Text meant as UTF-8 goes to the parser as it is, which checks it.
    if (passesThrough())
        return bytes;
    std::optional<QByteArray> converted = convert(bytes, last);
    if (!converted)
        return std::nullopt;
    m_output = std::move(*converted);
    return QByteArrayView(m_output);
}

std::optional<QByteArray> StreamDecoder::convert(QByteArrayView bytes, bool last)
{
    switch (m_kind) {
    case Kind::Utf8: {
        QByteArray piece = m_carry + bytes.toByteArray();
        m_carry.clear();
        if (!last) {
            // Keep back a sequence that the end of the piece may have cut.
            const qsizetype n = piece.size();
            for (qsizetype back = 1; back <= 3 && back <= n; ++back) {
                const auto byte = static_cast<unsigned char>(piece[n - back]);
                if ((byte & 0xC0) != 0x80) {
                    const int length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
                    if (length > back) {
                        m_carry = piece.right(back);
                        piece.chop(back);
                    }
                    break;
                }
            }
        }
        return mixedBytesToUtf8(piece);
    }
    case Kind::Latin1:
        return QString::fromLatin1(bytes).toUtf8();
    case Kind::Cp1252:
        return cp1252ToUtf8(bytes.toByteArray());
    case Kind::Ascii:
        for (const char c : bytes) {
            if (static_cast<unsigned char>(c) >= 0x80)
                return std::nullopt;
        }
        return bytes.toByteArray();
    case Kind::Qt: {
        QString text = m_carriedSurrogate + m_converter->decoder.decode(bytes);
        m_carriedSurrogate.clear();
        if (!last && !text.isEmpty() && text.back().isHighSurrogate()) {
            m_carriedSurrogate = text.back();
            text.chop(1);
        }
        if (m_converter->decoder.hasError() || hasLoneSurrogate(text))
            return std::nullopt;
        return text.toUtf8();
    }
    case Kind::Unknown:
        break;
    }
    return std::nullopt;
}

} // namespace xmldecoder
