#include "articlefont.h"

#include "gui_base.h"

#include <QFont>
#include <QTextEdit>

namespace articlefont {

void apply(GUI_Base& form, const QFont& font)
{
    for (QTextEdit* view : {form.TxtView_Corpus, form.Txt_Art, form.Txt_Art_Cro}) {
        view->setFont(font);
        view->update();
    }
}

void applyFamily(GUI_Base& form, const QString& family)
{
    if (family.isEmpty())
        return;
    for (QTextEdit* view : {form.TxtView_Corpus, form.Txt_Art, form.Txt_Art_Cro}) {
        QFont font = view->font();
        font.setFamily(family);
        view->setFont(font);
    }
}

} // namespace articlefont
