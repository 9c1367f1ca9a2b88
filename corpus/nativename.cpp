#include "corpus/nativename.h"

#include "corpus/utf8text.h"

#include <QFile>
#include <QStringList>
#include <dirent.h>
#include <sys/stat.h>

namespace nativename {
namespace {

constexpr char16_t strayBase = 0xDC00;

bool isStray(const QChar* c, const QChar* begin)
{
    // A low surrogate after a high one is half of a character, not a stray byte.
    return c->unicode() >= 0xDC80 && c->unicode() <= 0xDCFF && (c == begin || !(c - 1)->isHighSurrogate());
}

bool exists(const QByteArray& bytes)
{
    struct stat info
    {
    };
    return ::lstat(bytes.constData(), &info) == 0;
}

// The entries of `folder` that the toolkit would show as `shownName`.
QStringList entriesShownAs(const QString& folder, const QString& shownName)
{
    QStringList found;
    DIR* dir = ::opendir(encode(folder.isEmpty() ? QStringLiteral(".") : folder).constData());
    if (!dir)
        return found;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray bytes(entry->d_name);
        if (QFile::decodeName(bytes) == shownName)
            found.append(decode(bytes));
    }
    ::closedir(dir);
    return found;
}

} // namespace

QString decode(const QByteArray& bytes)
{
    QString name;
    name.reserve(bytes.size());
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const unsigned char* const end = p + bytes.size();
    while (p < end) {
        if (*p < 0x80) {
            name.append(QChar(char16_t(*p++)));
            continue;
        }
        const utf8text::Sequence sequence = utf8text::sequenceAt(p, end);
        if (sequence.length == 0) {
            name.append(QChar(char16_t(strayBase + *p++)));
            continue;
        }
        const char32_t code[1] = {sequence.code};
        name.append(QString::fromUcs4(code, 1));
        p += sequence.length;
    }
    return name;
}

QByteArray encode(QStringView name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    const QChar* const begin = name.data();
    const QChar* const end = begin + name.size();
    const QChar* run = begin;
    for (const QChar* c = begin; c < end; ++c) {
        if (!isStray(c, begin))
            continue;
        bytes += QStringView(run, c).toUtf8();
        bytes += char(c->unicode() - strayBase);
        run = c + 1;
    }
    bytes += QStringView(run, end).toUtf8();
    return bytes;
}

QString shown(QStringView name)
{
    QString text = name.toString();
    const QChar* const begin = name.data();
    const QChar* const end = begin + name.size();
    for (const QChar* c = begin; c < end; ++c) {
        if (isStray(c, begin))
            text[c - begin] = QChar::ReplacementCharacter;
    }
    return text;
}

QString resolve(const QString& name)
{
    if (!name.contains(QChar::ReplacementCharacter) || exists(encode(name)))
        return name;
    // Folder by folder from the start, so that a stray byte may stand in any of them.
    const QStringList parts = name.split(QLatin1Char('/'));
    QString resolved;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const QString before = i == 0 ? QString() : resolved + QLatin1Char('/');
        QString next = before + part;
        if (part.contains(QChar::ReplacementCharacter) && !exists(encode(next))) {
            const QString folder = i == 0 ? QStringLiteral(".") : (resolved.isEmpty() ? QStringLiteral("/") : resolved);
            const QStringList found = entriesShownAs(folder, part);
            if (found.size() != 1)
                return name;
            next = before + found.constFirst();
        }
        resolved = next;
    }
    return resolved;
}

} // namespace nativename
