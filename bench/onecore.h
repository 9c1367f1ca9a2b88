#pragma once

#include <sched.h>

// Confines every thread of this process to one core while it lives, threads started meanwhile
// included (they inherit the mask of the thread that starts them); the destructor gives every
// thread the mask the process had before.
class OneCore
{
public:
    OneCore();
    ~OneCore();
    OneCore(const OneCore&) = delete;
    OneCore& operator=(const OneCore&) = delete;

    bool pinned() const { return m_pinned; }
    int core() const { return m_core; }

private:
    static bool setForEveryThread(const cpu_set_t& mask);

    cpu_set_t m_before;
    int m_core = -1;
    bool m_pinned = false;
};
