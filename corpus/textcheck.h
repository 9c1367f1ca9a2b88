#pragma once

#include <QChar>
#include <QtGlobal>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The articles' texts of a store, checked against the hashes of their blocks only as they are used:
// the texts of a store of gigabytes are most of it, and reading them all would make its open wait.
// Each block is checked once, by whichever thread needs it first; a thread of its own checks them
// all, in order, once started. Used from any thread.
class TextCheck
{
public:
    // `texts`, of `bytes` bytes, in blocks of `block` bytes whose hashes are `hashes`; article n's
    // text is [starts[n], starts[n + 1]) of its units. All of it must outlive the check.
    TextCheck(const QChar* texts, quint64 bytes, quint64 block, const quint64* hashes, const quint64* starts,
              quint32 articleCount);
    ~TextCheck();
    TextCheck(const TextCheck&) = delete;
    TextCheck& operator=(const TextCheck&) = delete;

    // Whether the text of article `number` is as written.
    bool article(int number) const;
    // Whether every text is.
    bool all() const;
    // Checks every block on a thread of its own, stopped with the check.
    void start();
    // Told once, from the thread that found it, when a block is not as written (at once when one was
    // found already); cleared by an empty function, after which it is never called.
    void onFailure(std::function<void()> failed);

private:
    enum State : quint8
    {
        Unchecked,
        Checking,
        Good,
        Bad,
    };
    bool blocksHold(quint64 first, quint64 end) const;
    bool blockHolds(quint64 block) const;

    const char* m_texts;
    quint64 m_bytes;
    quint64 m_block;
    const quint64* m_hashes;
    const quint64* m_starts;
    quint32 m_articleCount;
    std::unique_ptr<std::atomic<quint8>[]> m_states;
    quint64 m_blockCount;
    std::atomic<bool> m_stop{false};
    // Every block found as written: nothing more to look at.
    mutable std::atomic<bool> m_allHold{false};
    mutable std::mutex m_failureLock;
    mutable std::function<void()> m_failed;
    mutable bool m_hasFailed = false;
    std::thread m_thread;
};
