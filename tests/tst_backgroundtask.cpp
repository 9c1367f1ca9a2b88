// The runner of long work (a load, a search, a sort): the job on a worker thread, the windows
// painted, its progress shown through the dialogs once it lasts, the user's cancel passed on, and
// what it throws passed on.
#include "forms/backgroundtask.h"
#include "forms/qtdialogs.h"
#include "tests/scripteddialogs.h"

#include <QApplication>
#include <QProgressDialog>
#include <QSemaphore>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <stdexcept>

class TestBackgroundTask : public QObject
{
    Q_OBJECT
private slots:
    void run_data();
    void run();
    void passesOnWhatTheJobThrows();
    void showsTheWaitCursorOnceNoticed();
    void progressWindowWorthShowing_data();
    void progressWindowWorthShowing();
    void progressWindowKeys();
};

void TestBackgroundTask::run_data()
{
    QTest::addColumn<int>("delay"); // ms
    QTest::addColumn<int>("cancelAtStep");
    QTest::addColumn<bool>("lasting"); // told that the job lasts
    QTest::addColumn<bool>("ran");
    QTest::addColumn<bool>("answer");
    QTest::newRow("past the delay") << 0 << -1 << true << true << true;
    QTest::newRow("within the delay") << 3600000 << -1 << false << true << true;
    QTest::newRow("cancelled as it runs") << 0 << 1 << true << true << false;
    QTest::newRow("cancelled at once") << 0 << 0 << false << false << false;
}

void TestBackgroundTask::run()
{
    QFETCH(int, delay);
    QFETCH(int, cancelAtStep);
    QFETCH(bool, lasting);
    QFETCH(bool, ran);
    QFETCH(bool, answer);
    ScriptedDialogs dialogs;
    dialogs.cancelAtStep = cancelAtStep;
    BackgroundTask task(dialogs);
    task.setDelay(std::chrono::milliseconds(delay));
    // The job goes on only once this thread has shown a quarter done, or has passed the cancel on.
    QSemaphore seen;
    bool runningSeen = false;
    QTimer poll;
    poll.setInterval(1);
    std::atomic<TaskControl*> running{nullptr};
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (dialogs.progressDone == 250 || (running.load() && running.load()->cancelled())) {
            runningSeen = task.isRunning();
            poll.stop();
            seen.release();
        }
    });
    poll.start();
    int lastingCalls = 0;
    bool jobRan = false;
    bool waited = true;
    bool elsewhere = false;
    const bool answered = task.run(
        nullptr, QStringLiteral("Ouverture du corpus…"),
        [&](TaskControl& control) {
            jobRan = true;
            elsewhere = QThread::currentThread() != qApp->thread();
            running.store(&control);
            control.setTotal(4);
            control.setDone(1);
            if (delay == 0)
                waited = seen.tryAcquire(1, 60000);
            control.setDone(4);
            return !control.cancelled();
        },
        [&lastingCalls] { ++lastingCalls; });
    QCOMPARE(answered, answer);
    QCOMPARE(jobRan, ran);
    QCOMPARE(lastingCalls, lasting ? 1 : 0);
    QVERIFY(!task.isRunning());
    QCOMPARE(dialogs.progressLabels, QStringList({"Ouverture du corpus…"}));
    if (!ran)
        return;
    QVERIFY(waited);
    QVERIFY(elsewhere);
    QCOMPARE(runningSeen, delay == 0);
}

void TestBackgroundTask::passesOnWhatTheJobThrows()
{
    ScriptedDialogs dialogs;
    BackgroundTask task(dialogs);
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             task.run(nullptr, QStringLiteral("Ouverture du corpus…"),
                                      [](TaskControl&) -> bool { throw std::runtime_error("lu"); }));
    QVERIFY(!task.isRunning());
    QVERIFY(!QApplication::overrideCursor());
}

// A job that lasts past a moment shows the wait cursor, and gives it back when it ends.
void TestBackgroundTask::showsTheWaitCursorOnceNoticed()
{
    ScriptedDialogs dialogs;
    BackgroundTask task(dialogs);
    QSemaphore seen;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        const QCursor* cursor = QApplication::overrideCursor();
        if (cursor && cursor->shape() == Qt::WaitCursor) {
            poll.stop();
            seen.release();
        }
    });
    poll.start();
    bool waited = false;
    QVERIFY(task.run(nullptr, QStringLiteral("Tri…"), [&](TaskControl&) {
        waited = seen.tryAcquire(1, 60000);
        return true;
    }));
    QVERIFY(waited);
    QVERIFY(!QApplication::overrideCursor());
    // A job over at once shows none.
    bool cursorSeen = true;
    QVERIFY(task.run(nullptr, QStringLiteral("Tri…"), [&](TaskControl&) {
        cursorSeen = QApplication::overrideCursor() != nullptr;
        return true;
    }));
    QVERIFY(!cursorSeen);
}

void TestBackgroundTask::progressWindowWorthShowing_data()
{
    QTest::addColumn<int>("elapsed"); // ms, against a delay of 500 ms
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<bool>("worth");
    QTest::newRow("before the delay") << 300 << 1 << 4 << false;
    QTest::newRow("a quarter done at the delay") << 500 << 250 << 1000 << true;
    QTest::newRow("half done at the delay") << 500 << 500 << 1000 << true;
    QTest::newRow("more than half done at the delay") << 600 << 600 << 1000 << false;
    QTest::newRow("nothing told yet") << 600 << 0 << 0 << true;
    QTest::newRow("all done") << 800 << 1000 << 1000 << false;
}

void TestBackgroundTask::progressWindowWorthShowing()
{
    QFETCH(int, elapsed);
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(bool, worth);
    QCOMPARE(ProgressThrottle::worthShowing(elapsed, ProgressThrottle::shownAfter, done, total), worth);
}

// The real progress window: titled with what runs; Enter, typed for a field, does not cancel; Escape does.
void TestBackgroundTask::progressWindowKeys()
{
    QWidget window;
    window.show();
    QtDialogs dialogs;
    const std::unique_ptr<Dialogs::Progress> progress =
        dialogs.progress(&window, QStringLiteral("Ouverture du corpus…"));
    QVERIFY(progress->advance(0, 1000));
    QTest::qWait(int(ProgressThrottle::shownAfter.count()) + 50);
    QVERIFY(progress->advance(100, 1000));
    auto* shown = window.findChild<QProgressDialog*>();
    QVERIFY(shown);
    QVERIFY(shown->isVisible());
    QCOMPARE(shown->windowTitle(), QStringLiteral("Ouverture du corpus"));
    shown->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(shown));
    // As the keys come, to the window's focus: its button.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::qWait(int(ProgressThrottle::interval.count()) + 10);
    QVERIFY(progress->advance(200, 1000));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::qWait(int(ProgressThrottle::interval.count()) + 10);
    QVERIFY(!progress->advance(300, 1000));
}

QTEST_MAIN(TestBackgroundTask)
#include "tst_backgroundtask.moc"
