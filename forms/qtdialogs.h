#pragma once

#include "forms/dialogs.h"

class QtDialogs : public Dialogs
{
public:
    QString openFileName(QWidget* parent, const QString& startPath, const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& startPath, const QString& filter) override;
    void warning(const QString& caption, const QString& text, const QString& details = QString()) override;
    bool question(QWidget* parent, const QString& caption, const QString& text) override;
    QColor colour(QWidget* parent, const QColor& initial) override;
    std::optional<QFont> font(QWidget* parent, const QFont& initial) override;
    bool printSetup(QWidget* parent, QPrinter& printer) override;
    int welcomeChoice(QWidget* parent) override;
    std::optional<std::vector<ElementRole>> elementRoles(QWidget* parent, const std::vector<RoleRow>& rows) override;
    std::unique_ptr<Progress> progress(QWidget* parent, const QString& label) override;
};
