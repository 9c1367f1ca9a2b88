#pragma once

#include "corpus/elementroles.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QPrinter;
class QWidget;

// One element name of the corpus as "Mise en forme" lists it.
struct RoleRow
{
    QString name;
    quint64 count = 0;
    ElementRole role = ElementRole::Normal;
};

// Every standard dialog the program asks goes through here, so that tests can answer them
// without a modal loop. QtDialogs asks the real ones.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // How far a long task has gone, shown while it runs.
    class Progress
    {
    public:
        virtual ~Progress() = default;
        // `done` of `total` steps so far; false once the user has cancelled.
        virtual bool advance(int, int) { return true; }
    };

    // A file name to open or to save; empty when the user cancels.
    virtual QString openFileName(QWidget* parent, const QString& startPath, const QString& filter) = 0;
    virtual QString saveFileName(QWidget* parent, const QString& startPath, const QString& filter) = 0;
    // A warning box without a parent window and with a single OK button; `details`, when given, say
    // more under the text (which file, and why).
    virtual void warning(const QString& caption, const QString& text, const QString& details = QString()) = 0;
    // A yes/no question; true only when the user answers yes.
    virtual bool question(QWidget* parent, const QString& caption, const QString& text) = 0;
    // An invalid colour when the user cancels.
    virtual QColor colour(QWidget* parent, const QColor& initial) = 0;
    virtual std::optional<QFont> font(QWidget* parent, const QFont& initial) = 0;
    // True when the user accepts the print setup.
    virtual bool printSetup(QWidget* parent, QPrinter& printer) = 0;
    // Runs the welcome dialog: 1 personal file, 2 and 3 the stock corpora, 0 no choice.
    virtual int welcomeChoice(QWidget* parent) = 0;
    // Runs "Mise en forme" on the rows: the role of each row, in their order, once the user accepts;
    // nothing when the user cancels.
    virtual std::optional<std::vector<ElementRole>> elementRoles(QWidget* parent, const std::vector<RoleRow>& rows) = 0;
    // A progress window for a task that starts now, shown once it has run for half a second, with a
    // button "Annuler" that Escape presses too; it closes with the returned object. By default
    // nothing is shown and nothing cancels.
    virtual std::unique_ptr<Progress> progress(QWidget*, const QString&) { return std::make_unique<Progress>(); }
};
