#include "acc.h"

#include "backgroundpalette.h"
#include "regularfile.h"
#include "settingsfile.h"
#include "workingfiles.h"

#include <QLabel>
#include <QPushButton>
#include <QStringDecoder>
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
    Txt->setText(readWelcomePage(workingfiles::welcomePage));
}

QString Acc::readWelcomePage(const QString& fileName)
{
    // Only a regular file of reasonable size: a device or a pipe of that name must not hang the window.
    const regularfile::Result file = regularfile::read(fileName, 16 << 20);
    if (file.status != regularfile::Status::Ok)
        return {};
    const QByteArray& bytes = file.bytes;
    const auto encoding = QStringConverter::encodingForHtml(bytes);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    return decoder.decode(bytes);
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
