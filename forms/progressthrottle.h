#pragma once

#include <QElapsedTimer>
#include <chrono>

// When long work shows how far it has gone, whatever shows it (the load's strip, a progress window):
// not before it has lasted long enough to be noticed, then at most once a frame, as each update
// painted costs the work time.
class ProgressThrottle
{
public:
    // Work over sooner shows nothing: a bar would only flash.
    static constexpr std::chrono::milliseconds shownAfter{500};
    // The progress moves at most this often.
    static constexpr std::chrono::milliseconds interval{16};
    // The bars count in thousandths of the work.
    static constexpr int range = 1000;

    explicit ProgressThrottle(std::chrono::milliseconds delay = shownAfter) : m_delay(delay) { m_clock.start(); }

    qint64 elapsed() const { return m_clock.elapsed(); }
    // Whether a progress window is worth opening now, `done` of `total` being done: the work has lasted
    // the delay, and at the pace it went it will last at least as long again. A window that would close
    // as soon as it is painted only flashes; the wait cursor says enough.
    bool worthShowing(qint64 done, qint64 total) const { return worthShowing(elapsed(), m_delay, done, total); }
    static bool worthShowing(qint64 elapsed, std::chrono::milliseconds delay, qint64 done, qint64 total)
    {
        if (elapsed < delay.count())
            return false;
        if (done <= 0 || total <= 0)
            return true;
        return done < total && elapsed * (total - done) / done >= delay.count();
    }
    // Whether the work has lasted long enough to show its progress.
    bool shows() const { return m_clock.elapsed() >= m_delay.count(); }
    // Whether an update is due now: the work shows, and the last update is a frame ago.
    bool due()
    {
        const qint64 now = m_clock.elapsed();
        if (now < m_delay.count() || (m_updated >= 0 && now - m_updated < interval.count()))
            return false;
        m_updated = now;
        return true;
    }

private:
    std::chrono::milliseconds m_delay;
    QElapsedTimer m_clock;
    qint64 m_updated = -1;
};
