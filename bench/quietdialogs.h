#pragma once

#include "dialogs.h"

#include <QStringList>

// Answers every dialog as a user who cancels, and keeps the warnings so that a failed load is seen.
class QuietDialogs : public Dialogs
{
public:
    QStringList warnings;

    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    void warning(const QString& caption, const QString& text, const QString& = QString()) override
    {
        warnings.append(caption + ": " + text);
    }
    QColor colour(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> font(QWidget*, const QFont&) override { return std::nullopt; }
    bool printSetup(QWidget*, QPrinter&) override { return false; }
    bool question(QWidget*, const QString&, const QString&) override { return false; }
    int welcomeChoice(QWidget*) override { return 0; }
};
