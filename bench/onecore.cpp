#include "bench/onecore.h"

#include <QDir>
#include <sys/types.h>

OneCore::OneCore()
{
    CPU_ZERO(&m_before);
    if (sched_getaffinity(0, sizeof m_before, &m_before) != 0)
        return;
    for (int cpu = 0; cpu < CPU_SETSIZE && m_core < 0; ++cpu) {
        if (CPU_ISSET(cpu, &m_before))
            m_core = cpu;
    }
    if (m_core < 0)
        return;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(m_core, &one);
    m_pinned = setForEveryThread(one);
}

OneCore::~OneCore()
{
    if (m_core >= 0)
        setForEveryThread(m_before);
}

bool OneCore::setForEveryThread(const cpu_set_t& mask)
{
    // sched_setaffinity with a thread id acts on that thread alone: go through them all.
    bool all = true;
    const QStringList threads = QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& thread : threads) {
        bool ok = false;
        const pid_t id = thread.toInt(&ok);
        if (ok && sched_setaffinity(id, sizeof mask, &mask) != 0)
            all = false;
    }
    return all && !threads.isEmpty();
}
