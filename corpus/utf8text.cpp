#include "corpus/utf8text.h"

#include <QStringDecoder>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace utf8text {
namespace {

// Widens the ASCII from `p` on, 16 bytes at a time while 16 are left, and stops at the first byte
// that is not ASCII or at the end. A block is written whole, so it may write past what it gives back,
// within as many units as bytes were left.
inline void widenAscii(const unsigned char*& p, const unsigned char* end, QChar*& out)
{
#if defined(__SSE2__)
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i zero = _mm_setzero_si128();
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), _mm_unpackhi_epi8(bytes, zero));
        const int high = _mm_movemask_epi8(bytes);
        if (high == 0) {
            p += 16;
            out += 16;
            continue;
        }
        const int ascii = __builtin_ctz(static_cast<unsigned>(high));
        p += ascii;
        out += ascii;
        return;
    }
#endif
    while (p < end && *p < 0x80)
        *out++ = QChar(char16_t(*p++));
}

} // namespace

Sequence sequenceAt(const unsigned char* p, const unsigned char* end)
{
    int extra;
    char32_t minimum;
    char32_t code;
    if ((*p & 0xE0) == 0xC0) {
        extra = 1, minimum = 0x80, code = *p & 0x1F;
    } else if ((*p & 0xF0) == 0xE0) {
        extra = 2, minimum = 0x800, code = *p & 0x0F;
    } else if ((*p & 0xF8) == 0xF0) {
        extra = 3, minimum = 0x10000, code = *p & 0x07;
    } else {
        return {};
    }
    if (end - p <= extra)
        return {};
    for (int i = 1; i <= extra; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return {};
        code = (code << 6) | (p[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {};
    return {code, extra + 1};
}

QString decode(QByteArrayView utf8)
{
    QString text(utf8.size(), Qt::Uninitialized);
    text.resize(decodeInto(text.data(), utf8) - text.constData());
    return text;
}

QChar* decodeInto(QChar* out, QByteArrayView utf8)
{
    const auto* p = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* const end = p + utf8.size();
    // Never more units than bytes: a block of 16 is written whole while 16 bytes are left.
    while (p < end) {
        widenAscii(p, end, out);
        if (p == end)
            break;
        // Two bytes, the accented letters of Latin scripts, most often.
        if (*p >= 0xC2 && *p < 0xE0 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            *out++ = QChar(char16_t(((*p & 0x1F) << 6) | (p[1] & 0x3F)));
            p += 2;
            continue;
        }
        const Sequence sequence = sequenceAt(p, end);
        if (sequence.length == 0) {
            // Not UTF-8 from here: the rest as the toolkit reads it.
            QStringDecoder decoder(QStringConverter::Utf8,
                                   QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
            return decoder.appendToBuffer(
                out, QByteArrayView(reinterpret_cast<const char*>(p), static_cast<qsizetype>(end - p)));
        }
        p += sequence.length;
        if (sequence.code < 0x10000) {
            *out++ = QChar(char16_t(sequence.code));
        } else {
            *out++ = QChar(QChar::highSurrogate(sequence.code));
            *out++ = QChar(QChar::lowSurrogate(sequence.code));
        }
    }
    return out;
}

QChar* decodeCut(QChar* out, QByteArrayView utf8, const quint32* cuts, size_t cutCount, quint32* units)
{
    const auto* const base = reinterpret_cast<const unsigned char*>(utf8.data());
    const unsigned char* p = base;
    const unsigned char* const end = p + utf8.size();
    // Bytes read less units written: it only changes at a character of several bytes, so a cut in
    // the ASCII since the last one is that many units before its byte position.
    quint32 surplus = 0;
    size_t cut = 0;
    while (p < end) {
        widenAscii(p, end, out);
        if (p == end)
            break;
        const auto at = static_cast<quint32>(p - base);
        for (; cut < cutCount && cuts[cut] <= at; ++cut)
            units[cut] = cuts[cut] - surplus;
        if (*p >= 0xC2 && *p < 0xE0 && end - p >= 2 && (p[1] & 0xC0) == 0x80) {
            *out++ = QChar(char16_t(((*p & 0x1F) << 6) | (p[1] & 0x3F)));
            p += 2;
            ++surplus;
            continue;
        }
        const Sequence sequence = sequenceAt(p, end);
        if (sequence.length == 0)
            return nullptr;
        p += sequence.length;
        if (sequence.code < 0x10000) {
            *out++ = QChar(char16_t(sequence.code));
            surplus += static_cast<quint32>(sequence.length - 1);
        } else {
            *out++ = QChar(QChar::highSurrogate(sequence.code));
            *out++ = QChar(QChar::lowSurrogate(sequence.code));
            surplus += static_cast<quint32>(sequence.length - 2);
        }
    }
    for (; cut < cutCount; ++cut)
        units[cut] = cuts[cut] - surplus;
    return out;
}

} // namespace utf8text
