#include "forms/backgroundtask.h"

#include "forms/dialogs.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>

BackgroundTask::BackgroundTask(Dialogs& dialogs) : m_dialogs(dialogs) {}

bool BackgroundTask::run(QWidget* parent, const QString& label, const Job& job, const std::function<void()>& lasting)
{
    constexpr int range = ProgressThrottle::range;
    const ProgressThrottle throttle(m_delay);
    bool lastingTold = !lasting;
    TaskControl control;
    const std::unique_ptr<Dialogs::Progress> progress = m_dialogs.progress(parent, label);
    const auto reached = [&control] {
        const qint64 total = control.total();
        return total > 0 ? int(std::clamp<qint64>(control.done(), 0, total) * range / total) : 0;
    };
    if (!progress->advance(0, range))
        return false;

    std::atomic<bool> finished{false};
    bool answer = false;
    std::exception_ptr thrown;
    QAbstractEventDispatcher* const dispatcher = QAbstractEventDispatcher::instance();
    const auto work = [&] {
        try {
            answer = job(control);
        } catch (...) {
            thrown = std::current_exception();
        }
        finished.store(true, std::memory_order_release);
        if (dispatcher)
            dispatcher->wakeUp();
    };
    // Wakes this thread to ask the progress window, even when no event comes.
    QTimer ticks;
    ticks.setInterval(pollInterval);
    ticks.start();
    // Work the user notices waiting for shows the wait cursor, before its progress window comes.
    bool waitCursor = false;
    QTimer noticed;
    noticed.setSingleShot(true);
    QObject::connect(&noticed, &QTimer::timeout, &noticed, [&waitCursor] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor = true;
    });
    noticed.start(waitCursorAfter);
    m_control = &control;
    m_finished = &finished;
    std::thread worker;
    try {
        worker = std::thread(work);
    } catch (const std::system_error&) {
        // No thread to be had: the job runs here, unpainted, rather than not at all.
        work();
    }
    const auto tellLasting = [&] {
        if (!lastingTold && throttle.shows()) {
            lastingTold = true;
            lasting();
        }
    };
    tellLasting();
    // The main window may itself be modal: the progress window is the one that comes on top of it.
    const QWidget* const modalBefore = QApplication::activeModalWidget();
    while (!finished.load(std::memory_order_acquire)) {
        // Once the modal progress window shows, Qt keeps the user's input from the other windows.
        const QEventLoop::ProcessEventsFlags flags = QApplication::activeModalWidget() != modalBefore
                                                         ? QEventLoop::AllEvents
                                                         : QEventLoop::ExcludeUserInputEvents;
        QCoreApplication::processEvents(flags | QEventLoop::WaitForMoreEvents);
        tellLasting();
        if (!control.cancelled() && !progress->advance(reached(), range))
            control.cancel();
    }
    if (worker.joinable())
        worker.join();
    noticed.stop();
    if (waitCursor)
        QApplication::restoreOverrideCursor();
    m_control = nullptr;
    m_finished = nullptr;
    if (thrown)
        std::rethrow_exception(thrown);
    return answer;
}

void BackgroundTask::stop()
{
    if (!m_control)
        return;
    m_control->cancel();
    while (!m_finished->load(std::memory_order_acquire))
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
