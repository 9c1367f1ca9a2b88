#pragma once

#include "forms/dialogs.h"
#include "forms/qtdialogs.h"

#include <QStringList>
#include <utility>

// Answers every dialog as a user who cancels, and keeps the warnings so that a failed load is seen.
// A save may be given its file name, and the progress windows may be the real ones (never cancelled).
class QuietDialogs : public Dialogs
{
public:
    QStringList warnings;
    QString saveAnswer; // given once
    bool realProgress = false;

    QString openFileName(QWidget*, const QString&, const QString&) override { return {}; }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return std::exchange(saveAnswer, {}); }
    void warning(const QString& caption, const QString& text, const QString& = QString()) override
    {
        warnings.append(caption + ": " + text);
    }
    QColor colour(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> font(QWidget*, const QFont&) override { return std::nullopt; }
    bool printSetup(QWidget*, QPrinter&) override { return false; }
    bool question(QWidget*, const QString&, const QString&) override { return false; }
    int welcomeChoice(QWidget*) override { return 0; }
    std::optional<std::vector<ElementRole>> elementRoles(QWidget*, const std::vector<RoleRow>&) override
    {
        return std::nullopt;
    }
    std::unique_ptr<Progress> progress(QWidget* parent, const QString& label) override
    {
        return realProgress ? QtDialogs().progress(parent, label) : Dialogs::progress(parent, label);
    }
};
