#include "corpus/rolefile.h"

#include "corpus/atomicfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace {

const QByteArray corpusKey = QByteArrayLiteral("corpus=");

} // namespace

namespace rolefile {

QString pathFor(const QString& corpusPath)
{
    const QString absolute = QFileInfo(corpusPath).absoluteFilePath();
    const QByteArray name = QCryptographicHash::hash(absolute.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + QStringLiteral("/mise-en-forme/") +
           QString::fromLatin1(name) + QStringLiteral(".conf");
}

QHash<QString, ElementRole> read(const QString& corpusPath)
{
    QHash<QString, ElementRole> roles;
    QFile file(pathFor(corpusPath));
    // A few lines a name: anything much larger is not this program's.
    if (file.size() > 4 * 1024 * 1024 || !file.open(QIODevice::ReadOnly))
        return roles;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray& line : lines) {
        const qsizetype equals = line.lastIndexOf('=');
        if (equals <= 0 || line.startsWith(corpusKey))
            continue;
        if (const std::optional<ElementRole> role = ElementRoles::roleNamed(QString::fromUtf8(line.mid(equals + 1))))
            roles.insert(QString::fromUtf8(line.first(equals)), *role);
    }
    return roles;
}

QString write(const QString& corpusPath, const QHash<QString, ElementRole>& roles)
{
    const QString path = pathFor(corpusPath);
    if (roles.isEmpty()) {
        QFile::remove(path);
        return {};
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QStringLiteral("dossier impossible à créer");
    QStringList names = roles.keys();
    std::sort(names.begin(), names.end());
    QByteArray bytes = corpusKey + QFileInfo(corpusPath).absoluteFilePath().toUtf8() + '\n';
    for (const QString& name : names)
        bytes += name.toUtf8() + '=' + ElementRoles::roleName(roles.value(name)).toUtf8() + '\n';
    return atomicfile::write(path, bytes);
}

} // namespace rolefile
