#include "qtdialogs.h"

#include "acc.h"
#include "windowflags.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>

QString QtDialogs::openFileName(QWidget* parent, const QString& startPath, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), startPath, filter);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& startPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), startPath, filter);
}

void QtDialogs::warning(const QString& caption, const QString& text)
{
    QMessageBox::warning(nullptr, caption, text, QMessageBox::Ok);
}

bool QtDialogs::question(QWidget* parent, const QString& caption, const QString& text)
{
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

QColor QtDialogs::colour(QWidget* parent, const QColor& initial)
{
    return QColorDialog::getColor(initial, parent);
}

std::optional<QFont> QtDialogs::font(QWidget* parent, const QFont& initial)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, initial, parent);
    return ok ? std::optional<QFont>(chosen) : std::nullopt;
}

bool QtDialogs::printSetup(QWidget* parent, QPrinter& printer)
{
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int QtDialogs::welcomeChoice(QWidget* parent)
{
    Acc welcome(parent, nullptr, true, framedWindowFlags);
    welcome.showMaximized();
    return welcome.exec();
}
