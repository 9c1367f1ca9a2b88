#pragma once

#include "forms/progressthrottle.h"
#include "search/taskcontrol.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <functional>

class Dialogs;
class QWidget;

// Runs a long job (a load; a concordance opened, sorted or exported) on a worker thread while this thread keeps the
// windows painted, shows how far it has gone through Dialogs::progress, the one kind of progress report, and passes the
// user's cancel on to it. Keys and clicks wait for the end, but for those of the progress window once it shows (it is
// modal): nothing acts on what the job reads or builds while it runs.
class BackgroundTask
{
public:
    // Runs on the worker thread; returns whether it went to its end rather than stopping when cancelled.
    using Job = std::function<bool(TaskControl& control)>;

    // The progress window is asked this often whether the user cancelled.
    static constexpr std::chrono::milliseconds pollInterval = ProgressThrottle::interval;
    // A job that lasts longer shows the wait cursor until it ends.
    static constexpr std::chrono::milliseconds waitCursorAfter{300};

    explicit BackgroundTask(Dialogs& dialogs);

    // How long a job runs before it counts as lasting: ProgressThrottle::shownAfter unless changed.
    void setDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    // Returns the job's answer once it has ended; false without running it when the user cancels at
    // once. Whatever the job throws is thrown again here. `lasting`, when given, is called once if the
    // job lasts past the delay, before its progress shows: a window not yet on screen can come first.
    bool run(QWidget* parent, const QString& label, const Job& job, const std::function<void()>& lasting = {});
    bool isRunning() const { return m_control != nullptr; }
    // Cancels the running job and waits for its thread to end; its run() then returns the job's answer.
    void stop();

private:
    Dialogs& m_dialogs;
    std::chrono::milliseconds m_delay = ProgressThrottle::shownAfter;
    TaskControl* m_control = nullptr;
    const std::atomic<bool>* m_finished = nullptr;
};
