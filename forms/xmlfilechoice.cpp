#include "forms/xmlfilechoice.h"

#include "corpus/nativename.h"
#include "forms/dialogs.h"

namespace xmlfilechoice {

QString choose(Dialogs& dialogs, QWidget* parent, const QString& startPath, const QString& shownFilter)
{
    const QString chosen = dialogs.openFileName(parent, startPath, shownFilter);
    return chosen.isEmpty() ? chosen : nativename::resolve(chosen);
}

} // namespace xmlfilechoice
