#pragma once

#include <QByteArray>
#include <QString>

class Dialogs;
class QWidget;

// The one way a text file is saved: its name asked under the rules every save follows, then the
// file replaced at once.
namespace textfilechoice {

// Asks for a file name ending in ".txt" (added when missing); empty when the user cancelled, gave
// a name holding "*" or "?", or would not replace an existing file of the completed name.
QString choose(Dialogs& dialogs, QWidget* parent);

// Replaces the file at once; on any failure the user is told and an earlier file stays whole.
bool write(Dialogs& dialogs, const QString& fileName, const QByteArray& bytes);

} // namespace textfilechoice
