#include "bench/childprocess.h"

#include <QElapsedTimer>
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

double ms(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1e3 + static_cast<double>(time.tv_usec) / 1e3;
}

} // namespace

ChildProcess::Times ChildProcess::run(const QString& program, const QStringList& arguments,
                                      const QStringList& extraEnvironment, bool quiet)
{
    std::vector<std::string> argumentBytes{program.toStdString()};
    for (const QString& argument : arguments)
        argumentBytes.push_back(argument.toStdString());
    std::vector<char*> argv;
    for (std::string& argument : argumentBytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    std::vector<std::string> environmentBytes;
    for (const QString& variable : extraEnvironment)
        environmentBytes.push_back(variable.toStdString());
    for (char** variable = environ; *variable; ++variable) {
        const std::string entry(*variable);
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const QString& extra : extraEnvironment)
            replaced = replaced || extra.toStdString().compare(0, name.size(), name) == 0;
        if (!replaced)
            environmentBytes.push_back(entry);
    }
    std::vector<char*> envp;
    for (std::string& variable : environmentBytes)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);

    Times times;
    QElapsedTimer timer;
    timer.start();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return times;
    int status = 0;
    rusage usage{};
    pid_t waited = 0;
    do {
        waited = wait4(pid, &status, 0, &usage);
    } while (waited < 0 && errno == EINTR);
    times.wallMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (waited != pid)
        return times;
    times.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
    if (WIFEXITED(status))
        times.exitCode = WEXITSTATUS(status);
    return times;
}

double ChildProcess::selfCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}
