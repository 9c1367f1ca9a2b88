// The runner of a long job: the job on a worker thread, the window painted, its progress shown once
// it lasts, and what it throws passed on.
#include "forms/backgroundtask.h"
#include "forms/gui_base.h"
#include "forms/loadrunner.h"
#include "tests/scripteddialogs.h"

#include <QApplication>
#include <QProgressBar>
#include <QSemaphore>
#include <QTest>
#include <QTimer>
#include <stdexcept>

class TestLoadRunner : public QObject
{
    Q_OBJECT
private slots:
    void loadRunner_data();
    void loadRunner();
    void loadRunnerPassesOnWhatTheJobThrows();
    void backgroundTaskShowsTheWaitCursorOnceNoticed();
};

void TestLoadRunner::loadRunner_data()
{
    QTest::addColumn<int>("delay"); // ms
    QTest::addColumn<bool>("shown");
    QTest::newRow("past the delay") << 0 << true;
    QTest::newRow("within the delay") << 3600000 << false;
}

void TestLoadRunner::loadRunner()
{
    QFETCH(int, delay);
    QFETCH(bool, shown);
    GUI_Base form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget* strip = form.Barre_Chargement;
    QProgressBar* bar = form.Progression_Chargement;
    LoadRunner runner(strip, bar);
    QCOMPARE(runner.delay(), std::chrono::milliseconds(500));
    runner.setDelay(std::chrono::milliseconds(delay));

    // The values the bar was painted with, while the job runs on.
    QList<int> painted;
    struct PaintWatch : QObject
    {
        QList<int>& values;
        explicit PaintWatch(QList<int>& into) : values(into) {}
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                values.append(static_cast<QProgressBar*>(watched)->value());
            return false;
        }
    } watch(painted);
    bar->installEventFilter(&watch);
    QSemaphore seen;
    bool runningSeen = false;
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (painted.contains(250)) {
            runningSeen = runner.isRunning() && strip->isVisible();
            poll.stop();
            seen.release();
        }
    });
    poll.start();
    int shownCalls = 0;
    bool waited = !shown;
    runner.run(
        [&](const LoadRunner::Report& report) {
            report(1, 4);
            if (shown)
                waited = seen.tryAcquire(1, 60000);
            report(4, 4);
        },
        [&shownCalls] { ++shownCalls; });
    QVERIFY(waited);
    QCOMPARE(runningSeen, shown);
    QCOMPARE(shownCalls, shown ? 1 : 0);
    QVERIFY(strip->isHidden());
    QVERIFY(!runner.isRunning());
    if (shown)
        QCOMPARE(bar->value(), 1000);
    else
        QVERIFY(painted.isEmpty());
}

void TestLoadRunner::loadRunnerPassesOnWhatTheJobThrows()
{
    GUI_Base form;
    LoadRunner runner(form.Barre_Chargement, form.Progression_Chargement);
    runner.setDelay(std::chrono::milliseconds(0));
    QVERIFY_THROWS_EXCEPTION(std::runtime_error,
                             runner.run([](const LoadRunner::Report&) { throw std::runtime_error("lu"); }));
    QVERIFY(!runner.isRunning());
    QVERIFY(form.Barre_Chargement->isHidden());
}

// A job that lasts past a moment shows the wait cursor, and gives it back when it ends.
void TestLoadRunner::backgroundTaskShowsTheWaitCursorOnceNoticed()
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

QTEST_MAIN(TestLoadRunner)
#include "tst_loadrunner.moc"
