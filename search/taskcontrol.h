#pragma once

#include <QtGlobal>
#include <atomic>

// What a long task on other threads shares with the thread that shows it: how far it has gone, in
// steps of its own, and whether the user asked it to stop. Every member may be used from any thread.
class TaskControl
{
public:
    void setTotal(qint64 total) { m_total.store(total, std::memory_order_relaxed); }
    qint64 total() const { return m_total.load(std::memory_order_relaxed); }
    void advance(qint64 steps) { m_done.fetch_add(steps, std::memory_order_relaxed); }
    void setDone(qint64 done) { m_done.store(done, std::memory_order_relaxed); }
    qint64 done() const { return m_done.load(std::memory_order_relaxed); }

    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }

private:
    std::atomic<qint64> m_total{0};
    std::atomic<qint64> m_done{0};
    std::atomic<bool> m_cancelled{false};
};
