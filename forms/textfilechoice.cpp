#include "forms/textfilechoice.h"

#include "corpus/atomicfile.h"
#include "forms/dialogs.h"

#include <QFileInfo>

namespace textfilechoice {

namespace {

// The name as it will be written: `name` itself when it already has the kind's form.
QString completed(const QString& name, Kind kind)
{
    if (kind == Kind::Text)
        return name.endsWith(QLatin1String(".txt")) ? name : name + QLatin1String(".txt");
    // The file name's own suffix counts, not a dot in a folder's name nor the one of a hidden file.
    const QString fileName = QFileInfo(name).fileName();
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return dot > 0 && dot < fileName.size() - 1 ? name : name + QLatin1String(".tsv");
}

} // namespace

QString choose(Dialogs& dialogs, QWidget* parent, Kind kind)
{
    const QString filter =
        kind == Kind::Text ? QStringLiteral("Fichiers Texte (*.txt)") : QStringLiteral("Fichiers TSV (*.tsv)");
    const QString typed = dialogs.saveFileName(parent, QString(), filter);
    if (typed.isEmpty())
        return {};
    // A wildcard is a pattern the user typed, not a name to create.
    const QString fileName = QFileInfo(typed).fileName();
    if (fileName.contains(QLatin1Char('*')) || fileName.contains(QLatin1Char('?'))) {
        dialogs.warning(QStringLiteral("Erreur"),
                        QStringLiteral("Un nom de fichier ne peut contenir ni « * » ni « ? »"));
        return {};
    }
    const QString name = completed(typed, kind);
    // The file dialog asked about the name it was given, not about this one.
    if (name != typed && QFileInfo::exists(name) &&
        !dialogs.question(parent, QStringLiteral("Enregistrer"),
                          QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer ?")
                              .arg(QFileInfo(name).fileName())))
        return {};
    return name;
}

bool write(Dialogs& dialogs, const QString& fileName, const QByteArray& bytes)
{
    if (atomicfile::write(fileName, bytes).isEmpty())
        return true;
    sayUnwritable(dialogs);
    return false;
}

void sayUnwritable(Dialogs& dialogs)
{
    dialogs.warning(QStringLiteral("Erreur"), QStringLiteral("Impossible d'écrire sur ce fichier"));
}

} // namespace textfilechoice
