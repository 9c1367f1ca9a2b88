#pragma once

#include <QString>

class Dialogs;
class QWidget;

// The one way a corpus file is chosen: the open dialog, then its answer taken back to the file it
// names, should the name hold bytes that are not UTF-8 (the dialog shows those as U+FFFD).
namespace xmlfilechoice {

inline const QString filter = QStringLiteral("Fichiers XML (*.xml)");

// Empty when the user cancelled.
QString choose(Dialogs& dialogs, QWidget* parent, const QString& startPath = QString(),
               const QString& shownFilter = filter);

} // namespace xmlfilechoice
