#pragma once

#include "corpus/elementroles.h"

#include <QHash>
#include <QString>

// The roles a reader chose for a corpus's element names, kept per corpus file in the program's data
// folder (QStandardPaths::AppDataLocation), one small file each: "corpus=" and the file's path,
// then a "name=Rôle" line per name whose role the reader changed.
namespace rolefile {

// Where the roles of the corpus at `corpusPath` are kept.
QString pathFor(const QString& corpusPath);
// The roles kept for it, by element name; none when nothing was kept or the file cannot be read.
QHash<QString, ElementRole> read(const QString& corpusPath);
// Keeps them at once (an empty set removes the file); on failure an earlier file stays whole and the
// reason is returned, empty on success.
QString write(const QString& corpusPath, const QHash<QString, ElementRole>& roles);

} // namespace rolefile
