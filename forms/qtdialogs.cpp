#include "forms/qtdialogs.h"

#include "forms/acc.h"
#include "forms/miseenforme.h"
#include "forms/progressthrottle.h"
#include "forms/windowflags.h"

#include <QColorDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProgressDialog>
#include <algorithm>

namespace {

// A QProgressDialog, shown once the task has lasted and will last as long again (most end well
// before), then moved as the one throttle of long work allows.
class QtProgress : public Dialogs::Progress
{
public:
    QtProgress(QWidget* parent, const QString& label) : m_parent(parent), m_label(label) {}

    bool advance(int done, int total) override
    {
        if (!m_dialog && !m_throttle.worthShowing(done, total))
            return true;
        if (!m_throttle.due())
            return !m_dialog || !m_dialog->wasCanceled();
        if (!m_dialog) {
            m_dialog =
                std::make_unique<QProgressDialog>(m_label, QStringLiteral("Annuler"), 0, std::max(total, 1), m_parent);
            // Its title says what runs, rather than the program's file name.
            const QString title = QString(m_label).remove(QChar(u'…'));
            m_dialog->setWindowTitle(title);
            // Wide enough for its title not to be cut.
            m_dialog->setMinimumWidth(m_dialog->fontMetrics().horizontalAdvance(title) + 160);
            m_dialog->setWindowModality(Qt::WindowModal);
            m_dialog->setMinimumDuration(0);
        }
        // Each update runs the event loop.
        m_dialog->setValue(std::min(done, m_dialog->maximum()));
        return !m_dialog->wasCanceled();
    }

private:
    QWidget* m_parent;
    QString m_label;
    ProgressThrottle m_throttle;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace

QString QtDialogs::openFileName(QWidget* parent, const QString& startPath, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent, QString(), startPath, filter);
}

QString QtDialogs::saveFileName(QWidget* parent, const QString& startPath, const QString& filter)
{
    return QFileDialog::getSaveFileName(parent, QString(), startPath, filter);
}

void QtDialogs::warning(const QString& caption, const QString& text, const QString& details)
{
    QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Ok);
    box.setInformativeText(details);
    // The box is as wide as its text: a caption longer than that would be cut in its title bar.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int wide = box.fontMetrics().horizontalAdvance(caption) + 120;
        grid->addItem(new QSpacerItem(wide, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                      grid->columnCount());
    }
    box.exec();
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

std::optional<std::vector<ElementRole>> QtDialogs::elementRoles(QWidget* parent, const std::vector<RoleRow>& rows)
{
    MiseEnForme dialog(rows, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.roles();
}

std::unique_ptr<Dialogs::Progress> QtDialogs::progress(QWidget* parent, const QString& label)
{
    return std::make_unique<QtProgress>(parent, label);
}
