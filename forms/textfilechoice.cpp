#include "textfilechoice.h"

#include "atomicfile.h"
#include "dialogs.h"

#include <QFileInfo>

namespace textfilechoice {

QString choose(Dialogs& dialogs, QWidget* parent)
{
    QString name = dialogs.saveFileName(parent, QString(), QStringLiteral("Fichiers Texte (*.txt)"));
    if (name.isEmpty())
        return {};
    // A wildcard is a pattern the user typed, not a name to create.
    const QString fileName = QFileInfo(name).fileName();
    if (fileName.contains(QLatin1Char('*')) || fileName.contains(QLatin1Char('?'))) {
        dialogs.warning(QStringLiteral("Erreur"),
                        QStringLiteral("Un nom de fichier ne peut contenir ni « * » ni « ? »"));
        return {};
    }
    if (!name.endsWith(QLatin1String(".txt"))) {
        name += QLatin1String(".txt");
        // The file dialog asked about the name it was given, not about this one.
        if (QFileInfo::exists(name) &&
            !dialogs.question(parent, QStringLiteral("Enregistrer"),
                              QStringLiteral("Le fichier « %1 » existe déjà.\nVoulez-vous le remplacer ?")
                                  .arg(QFileInfo(name).fileName())))
            return {};
    }
    return name;
}

bool write(Dialogs& dialogs, const QString& fileName, const QByteArray& bytes)
{
    if (atomicfile::write(fileName, bytes).isEmpty())
        return true;
    dialogs.warning(QStringLiteral("Erreur"), QStringLiteral("Impossible d'écrire sur ce fichier"));
    return false;
}

} // namespace textfilechoice
