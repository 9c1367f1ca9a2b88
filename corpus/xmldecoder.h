#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <optional>

// Turns the bytes of an XML file into UTF-8 the way XML readers do: a byte-order mark first,
// else the encoding named in the XML declaration, else UTF-8. Text meant as UTF-8 that is not
// is read byte by byte as Windows-1252 where it is not; any other encoding must decode cleanly.
namespace xmldecoder {

// Whether the bytes are meant as UTF-8 (a UTF-8 byte-order mark, a UTF-8 declaration, or neither a
// declaration nor another mark), and where their text starts.
bool meantAsUtf8(const QByteArray& bytes, qsizetype* textStart);

// The encoding name of the XML declaration at the start of ASCII-compatible bytes, or empty.
QByteArray declaredEncoding(const QByteArray& bytes);

// Decodes a file piece by piece into UTF-8, so that the whole file is never held. The encoding is found from the first
// piece, which must hold the declaration.
class StreamDecoder
{
public:
    explicit StreamDecoder(const QByteArray& head);
    ~StreamDecoder();
    StreamDecoder(const StreamDecoder&) = delete;
    StreamDecoder& operator=(const StreamDecoder&) = delete;

    // Where the text starts, after a byte-order mark.
    qsizetype textStart() const { return m_textStart; }
    // Text meant as UTF-8 is passed on unchecked, for the parser checks it, unless `mixed` asks for the
    // bytes that belong to no UTF-8 sequence to be read as Windows-1252.
    bool meantAsUtf8() const { return m_kind == Kind::Utf8; }
    void setMixed(bool mixed) { m_mixed = mixed; }
    // Whether decode() gives the bytes as they are.
    bool passesThrough() const { return m_kind == Kind::Utf8 && !m_mixed; }

    // The next piece as UTF-8, valid until the next call: UTF-8 is passed on as it is, without a
    // copy. Nothing when the piece cannot be decoded in the file's encoding.
    std::optional<QByteArrayView> decode(QByteArrayView bytes, bool last);

private:
    enum class Kind
    {
        Utf8,
        Latin1,
        Cp1252,
        Ascii,
        Qt,
        Unknown,
    };

    // The piece converted to UTF-8 (mixed UTF-8 and Windows-1252 included).
    std::optional<QByteArray> convert(QByteArrayView bytes, bool last);

    Kind m_kind = Kind::Unknown;
    qsizetype m_textStart = 0;
    bool m_mixed = false;
    QByteArray m_carry;         // the start of a UTF-8 sequence cut by the end of a piece
    QString m_carriedSurrogate; // a high surrogate whose pair may come with the next piece
    QByteArray m_output;        // the last piece decoded, when it had to be converted
    struct Converter;
    std::unique_ptr<Converter> m_converter;
};

} // namespace xmldecoder
