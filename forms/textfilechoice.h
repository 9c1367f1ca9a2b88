#pragma once

#include <QByteArray>
#include <QString>

class Dialogs;
class QWidget;

// The one way a text file is saved: its name asked under the rules every save follows, then the
// file replaced at once.
namespace textfilechoice {

enum class Kind
{
    Text,  // a report or a saved text: ".txt" added to any name not ending in it
    Table, // tab-separated cells: ".tsv" added only to a name without an extension of its own
};

// Asks for a file name of that kind, completed as above; empty when the user cancelled, gave a name
// holding "*" or "?", or would not replace an existing file of the completed name.
QString choose(Dialogs& dialogs, QWidget* parent, Kind kind = Kind::Text);

// Replaces the file at once; on any failure the user is told and an earlier file stays whole.
bool write(Dialogs& dialogs, const QString& fileName, const QByteArray& bytes);

// Tells the user that a file could not be written.
void sayUnwritable(Dialogs& dialogs);

} // namespace textfilechoice
