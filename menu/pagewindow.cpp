#include "menu/pagewindow.h"

#include "corpus/htmlpage.h"
#include "forms/windowflags.h"

#include <QDialog>
#include <QGridLayout>
#include <QTextBrowser>

std::unique_ptr<QDialog> createPageWindow(QWidget* parent, const QString& caption, const QString& fileName,
                                          const QSize& size)
{
    auto window = std::make_unique<QDialog>(parent, framedWindowFlags);
    window->setModal(true);
    window->setWindowTitle(caption);
    window->resize(size);

    auto* browser = new QTextBrowser(window.get());
    browser->resize(size);
    // Pictures named in the page are found next to it, in the working directory.
    browser->setSearchPaths({QStringLiteral(".")});
    browser->setText(htmlpage::read(fileName));

    auto* grid = new QGridLayout(window.get());
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(browser, 0, 0);
    return window;
}
