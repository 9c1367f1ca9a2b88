#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <cerrno>
#include <csignal>
#include <functional>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs work that may hang, crash or eat memory (a FIFO, a device, a hostile file) in a child
// process, so that a test always finishes and reports what went wrong.
namespace isolated {

struct Outcome
{
    bool answered = false;
    QByteArray answer;
    QString failure; // why there is no answer
};

inline qint64 residentBytes(pid_t pid)
{
    QFile statm(QStringLiteral("/proc/%1/statm").arg(pid));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toLongLong() * sysconf(_SC_PAGESIZE) : 0;
}

// `work` runs in the child; its result is the answer. A child that has not answered within
// `deadlineMs`, or holds more than `maxResident` bytes, is killed.
inline Outcome run(const std::function<QByteArray()>& work, int deadlineMs = 20000,
                   qint64 maxResident = qint64(1) << 30)
{
    Outcome outcome;
    int fds[2];
    if (pipe(fds) != 0) {
        outcome.failure = QStringLiteral("pipe() failed");
        return outcome;
    }
    const pid_t pid = fork();
    if (pid < 0) {
        outcome.failure = QStringLiteral("fork() failed");
        return outcome;
    }
    if (pid == 0) {
        close(fds[0]);
        const QByteArray answer = work();
        const char* data = answer.constData();
        qsizetype left = answer.size();
        while (left > 0) {
            const ssize_t written = write(fds[1], data, static_cast<size_t>(left));
            if (written <= 0 && errno != EINTR)
                _exit(3);
            if (written > 0) {
                data += written;
                left -= written;
            }
        }
        _exit(0);
    }
    close(fds[1]);

    QElapsedTimer clock;
    clock.start();
    bool ended = false;
    bool killed = false;
    char buffer[65536];
    while (!ended) {
        pollfd waiting{fds[0], POLLIN, 0};
        const int ready = poll(&waiting, 1, 100);
        if (ready > 0) {
            const ssize_t got = read(fds[0], buffer, sizeof buffer);
            if (got > 0)
                outcome.answer.append(buffer, got);
            else if (got == 0 || errno != EINTR)
                ended = true;
        }
        if (!ended && clock.elapsed() > deadlineMs) {
            outcome.failure = QStringLiteral("no answer within %1 s").arg(deadlineMs / 1000);
            killed = true;
        } else if (!ended && residentBytes(pid) > maxResident) {
            outcome.failure = QStringLiteral("more than %1 MB of memory").arg(maxResident >> 20);
            killed = true;
        }
        if (killed) {
            kill(pid, SIGKILL);
            ended = true;
        }
    }
    close(fds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (killed)
        return outcome;
    if (WIFSIGNALED(status))
        outcome.failure = QStringLiteral("crashed (signal %1)").arg(WTERMSIG(status));
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        outcome.failure = QStringLiteral("exited with %1").arg(WEXITSTATUS(status));
    else
        outcome.answered = true;
    return outcome;
}

} // namespace isolated
