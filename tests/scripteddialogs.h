#pragma once

#include "dialogs.h"

#include <QApplication>
#include <QStringList>

// Answers the program's dialogs from a script and records what was asked.
class ScriptedDialogs : public Dialogs
{
public:
    struct FileRequest
    {
        QString startPath;
        QString filter;
    };
    struct Warning
    {
        QString caption;
        QString text;
        bool waitCursor;
    };

    int welcome = 0;
    QStringList openAnswers; // taken in order; a cancel (empty) once they run out
    QList<FileRequest> openRequests;
    QList<Warning> warnings;

    QString openFileName(QWidget*, const QString& startPath, const QString& filter) override
    {
        openRequests.append({startPath, filter});
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString&, const QString&) override { return {}; }
    void warning(const QString& caption, const QString& text) override
    {
        const QCursor* cursor = QApplication::overrideCursor();
        warnings.append({caption, text, cursor && cursor->shape() == Qt::WaitCursor});
    }
    QColor colour(QWidget*, const QColor&) override { return {}; }
    std::optional<QFont> font(QWidget*, const QFont&) override { return std::nullopt; }
    bool printSetup(QWidget*, QPrinter&) override { return false; }
    int welcomeChoice(QWidget*) override { return welcome; }
};
