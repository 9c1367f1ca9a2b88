#pragma once

#include <QString>
#include <QStringList>

// Runs programs to their end and reads what they cost from the kernel's own accounting, which a
// QProcess does not give: the child's CPU time (user + system, every thread) comes from wait4.
class ChildProcess
{
public:
    struct Times
    {
        double wallMs = 0;
        double cpuMs = 0;
        int exitCode = -1; // -1 when it could not start or did not exit normally
    };

    // The child inherits this process's standard output and error; extraEnvironment adds or replaces
    // variables ("NAME=value"). stdout can be sent to /dev/null instead.
    static Times run(const QString& program, const QStringList& arguments, const QStringList& extraEnvironment = {},
                     bool quiet = false);

    // User + system CPU time of this process so far, all its threads, live or ended, in ms.
    static double selfCpuMs();
};
