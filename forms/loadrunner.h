#pragma once

#include "forms/progressthrottle.h"

#include <QtGlobal>
#include <chrono>
#include <functional>

class QProgressBar;
class QWidget;

// Runs a long job, a corpus load, on a worker thread while this thread keeps the windows painted.
// User input waits until the job has ended, so that nothing acts on what it is still building.
// A job that lasts longer than the delay shows `strip`, with `bar` following the job's reports.
class LoadRunner
{
public:
    // Told by the job, from its thread, how far it has come: `done` of `total`, in any unit.
    using Report = std::function<void(qint64 done, qint64 total)>;
    using Job = std::function<void(const Report& report)>;

    static constexpr std::chrono::milliseconds shownAfter = ProgressThrottle::shownAfter;

    LoadRunner(QWidget* strip, QProgressBar* bar);

    void setDelay(std::chrono::milliseconds delay) { m_delay = delay; }
    std::chrono::milliseconds delay() const { return m_delay; }
    // Returns once `job` has ended, its strip hidden again; `shown` is called as the strip shows.
    void run(const Job& job, const std::function<void()>& shown = {});
    bool isRunning() const { return m_running; }

private:
    QWidget* m_strip;
    QProgressBar* m_bar;
    std::chrono::milliseconds m_delay = shownAfter;
    bool m_running = false;
};
