#include "forms/acc.h"

#include "corpus/htmlpage.h"
#include "corpus/settingsfile.h"
#include "corpus/workingfiles.h"
#include "forms/backgroundpalette.h"

#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>

const QString Acc::caption = QStringLiteral("..:: Tarvane - Qt ::..");

Acc::Acc(QWidget* parent, const char* name, bool modal, Qt::WindowFlags flags) : accueil(parent, name, modal, flags)
{
    setWindowTitle(caption);
    pic->setPixmap(QPixmap(workingfiles::logoPicture));
    bt1->setIcon(QPixmap(workingfiles::ownFileButton));
    bt2->setIcon(QPixmap(workingfiles::soundsButton));
    bt3->setIcon(QPixmap(workingfiles::inventoryButton));
    for (QPushButton* button : {bt1, bt2, bt3})
        button->setIconSize(button->icon().actualSize(QSize(64, 64)));
    setPalette(backgroundPalette(SettingsFile().value(SettingsFile::colourKey)));
    Txt->setText(htmlpage::read(workingfiles::welcomePage));
}

void Acc::bt1Click()
{
    done(1);
}

void Acc::bt2Click()
{
    done(2);
}

void Acc::bt3Click()
{
    done(3);
}
