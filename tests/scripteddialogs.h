#pragma once

#include "forms/dialogs.h"

#include <QApplication>
#include <QHash>
#include <QStringList>
#include <functional>

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
        QString details;
    };
    struct Question
    {
        QString caption;
        QString text;
    };

    int welcome = 0;
    std::optional<QHash<QString, ElementRole>> roleAnswers;
    std::vector<RoleRow> roleRows;
    QStringList openAnswers; // taken in order; a cancel (empty) once they run out
    QList<FileRequest> openRequests;
    QStringList saveAnswers; // likewise
    QList<FileRequest> saveRequests;
    QList<Warning> warnings;
    QList<bool> questionAnswers; // taken in order; "no" once they run out
    QList<Question> questions;
    QList<QColor> colourAnswers; // taken in order; a cancel (invalid colour) once they run out
    QList<QColor> colourStarts;
    QList<std::optional<QFont>> fontAnswers; // taken in order; a cancel once they run out
    QList<QFont> fontStarts;
    // Answers the print setup: may set up the printer; a cancel when not set.
    std::function<bool(QPrinter&)> printAnswer;
    int printSetups = 0;
    QStringList progressLabels; // one per progress window asked for
    int progressSteps = 0;      // calls to advance, over all of them
    int progressDone = -1;      // what the last call to advance said was done
    // The user cancels at this call to advance (counted from 0 over all the progress windows), and
    // the window answers "cancelled" from then on; -1: never.
    int cancelAtStep = -1;

    QString openFileName(QWidget*, const QString& startPath, const QString& filter) override
    {
        openRequests.append({startPath, filter});
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }
    QString saveFileName(QWidget*, const QString& startPath, const QString& filter) override
    {
        saveRequests.append({startPath, filter});
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
    void warning(const QString& caption, const QString& text, const QString& details = QString()) override
    {
        const QCursor* cursor = QApplication::overrideCursor();
        warnings.append({caption, text, cursor && cursor->shape() == Qt::WaitCursor, details});
    }
    bool question(QWidget*, const QString& caption, const QString& text) override
    {
        questions.append({caption, text});
        return !questionAnswers.isEmpty() && questionAnswers.takeFirst();
    }
    QColor colour(QWidget*, const QColor& initial) override
    {
        colourStarts.append(initial);
        return colourAnswers.isEmpty() ? QColor() : colourAnswers.takeFirst();
    }
    std::optional<QFont> font(QWidget*, const QFont& initial) override
    {
        fontStarts.append(initial);
        return fontAnswers.isEmpty() ? std::nullopt : fontAnswers.takeFirst();
    }
    bool printSetup(QWidget*, QPrinter& printer) override
    {
        ++printSetups;
        return printAnswer && printAnswer(printer);
    }
    int welcomeChoice(QWidget*) override { return welcome; }
    // "Mise en forme": the rows it was given, and the roles it answers, by name (nothing: cancelled).
    std::optional<std::vector<ElementRole>> elementRoles(QWidget*, const std::vector<RoleRow>& rows) override
    {
        roleRows = rows;
        if (!roleAnswers)
            return std::nullopt;
        std::vector<ElementRole> chosen;
        for (const RoleRow& row : rows)
            chosen.push_back(roleAnswers->value(row.name, row.role));
        return chosen;
    }
    std::unique_ptr<Progress> progress(QWidget*, const QString& label) override
    {
        progressLabels.append(label);
        return std::make_unique<ScriptedProgress>(*this);
    }

private:
    class ScriptedProgress : public Progress
    {
    public:
        explicit ScriptedProgress(ScriptedDialogs& dialogs) : m_dialogs(dialogs) {}
        bool advance(int done, int) override
        {
            m_dialogs.progressDone = done;
            if (m_dialogs.progressSteps++ == m_dialogs.cancelAtStep)
                m_cancelled = true;
            return !m_cancelled;
        }

    private:
        ScriptedDialogs& m_dialogs;
        bool m_cancelled = false;
    };
};
