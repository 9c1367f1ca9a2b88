#pragma once

#include <QSize>
#include <QString>
#include <memory>

class QDialog;
class QWidget;

// The help and about windows: a modal framed dialog showing one page of the working directory.
// The whole file is shown, so its line breaks stay white space. A missing page shows nothing.
std::unique_ptr<QDialog> createPageWindow(QWidget* parent, const QString& caption, const QString& fileName,
                                          const QSize& size);
