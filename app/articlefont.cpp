#include "app/articlefont.h"

#include "forms/gui_base.h"

#include <QFont>
#include <QTextEdit>
#include <algorithm>

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

QFont zoomed(const QFont& font, int steps)
{
    QFont larger = font;
    if (steps == 0)
        return larger;
    if (font.pointSizeF() > 0)
        larger.setPointSizeF(std::max(1.0, font.pointSizeF() + steps));
    else if (font.pixelSize() > 0)
        larger.setPixelSize(std::max(1, font.pixelSize() + steps));
    return larger;
}

} // namespace articlefont
