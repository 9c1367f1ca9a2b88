#include "forms/loadrunner.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>

LoadRunner::LoadRunner(QWidget* strip, QProgressBar* bar) : m_strip(strip), m_bar(bar) {}

void LoadRunner::run(const Job& job, const std::function<void()>& shown)
{
    // The job's thread only stores; this one reads on each refresh.
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};
    const Report report = [&done, &total](qint64 doneNow, qint64 totalNow) {
        total.store(totalNow, std::memory_order_relaxed);
        done.store(doneNow, std::memory_order_relaxed);
    };
    std::optional<ProgressThrottle> throttle;
    const auto refresh = [&](bool last) {
        if (!throttle->due() && !(last && throttle->shows()))
            return;
        if (m_strip->isHidden()) {
            m_bar->setRange(0, ProgressThrottle::range);
            m_bar->setValue(0);
            m_strip->show();
            if (shown)
                shown();
        }
        const qint64 whole = total.load(std::memory_order_relaxed);
        const qint64 part = std::clamp<qint64>(done.load(std::memory_order_relaxed), 0, whole);
        if (whole > 0)
            m_bar->setValue(int(part * ProgressThrottle::range / whole));
    };

    // The worker allocates nothing of its own: memory that runs out in the job is the job's to
    // report, and whatever it throws is thrown again here.
    std::atomic<bool> finished{false};
    std::exception_ptr thrown;
    QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance();
    QTimer ticks;
    ticks.setInterval(ProgressThrottle::interval);
    QObject::connect(&ticks, &QTimer::timeout, &ticks, [&refresh] { refresh(false); });

    throttle.emplace(m_delay);
    const auto work = [&] {
        try {
            job(report);
        } catch (...) {
            thrown = std::current_exception();
        }
        finished.store(true, std::memory_order_release);
        dispatcher->wakeUp();
    };
    std::thread worker;
    try {
        worker = std::thread(work);
    } catch (const std::system_error&) {
        // No thread to be had: the job runs here, unpainted, rather than not at all.
        work();
    }
    m_running = true;
    refresh(false);
    ticks.start();
    // Paint, timer and posted events go on; keys, clicks and close requests wait for the end.
    while (!finished.load(std::memory_order_acquire))
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    if (worker.joinable())
        worker.join();
    ticks.stop();
    m_running = false;
    if (!m_strip->isHidden()) {
        refresh(true);
        m_strip->hide();
    }
    if (thrown)
        std::rethrow_exception(thrown);
}
