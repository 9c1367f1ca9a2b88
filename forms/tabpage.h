#pragma once

#include <QObject>

class ResultPane;
class QWidget;

// What the main window knows of each of its tabs: its pane of results, where typing goes, and the
// rules every tab follows.
class TabPage : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual ResultPane& pane() = 0;
    virtual const ResultPane& pane() const = 0;
    // Where typing goes when the tab is shown.
    virtual QWidget* entry() const = 0;
    // Forgets the corpus's results, as when another corpus replaces it.
    virtual void clear() = 0;
    // Letters are compared without their accents, or again with them: what the tab lists follows.
    virtual void setIgnoreAccents(bool) {}
};
