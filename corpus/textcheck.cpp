#include "corpus/textcheck.h"

#include <utility>
#include <xxhash.h>
#if defined(__x86_64__)
#include <xxh_x86dispatch.h>
#endif

TextCheck::TextCheck(const QChar* texts, quint64 bytes, quint64 block, const quint64* hashes, const quint64* starts,
                     quint32 articleCount)
    : m_texts(reinterpret_cast<const char*>(texts)), m_bytes(bytes), m_block(block), m_hashes(hashes), m_starts(starts),
      m_articleCount(articleCount), m_blockCount((bytes + block - 1) / block)
{
    m_states.reset(new std::atomic<quint8>[size_t(m_blockCount)]);
    for (quint64 b = 0; b < m_blockCount; ++b)
        m_states[b].store(Unchecked, std::memory_order_relaxed);
}

TextCheck::~TextCheck()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

bool TextCheck::article(int number) const
{
    if (number < 0 || quint32(number) >= m_articleCount)
        return false;
    if (m_allHold.load(std::memory_order_acquire))
        return true;
    const quint64 from = m_starts[number] * sizeof(QChar);
    const quint64 to = m_starts[number + 1] * sizeof(QChar);
    return from == to || blocksHold(from / m_block, (to - 1) / m_block + 1);
}

bool TextCheck::all() const
{
    if (m_allHold.load(std::memory_order_acquire))
        return true;
    const bool hold = blocksHold(0, m_blockCount);
    if (hold)
        m_allHold.store(true, std::memory_order_release);
    return hold;
}

void TextCheck::start()
{
    if (m_thread.joinable())
        return;
    m_thread = std::thread([this] {
        for (quint64 b = 0; b < m_blockCount; ++b) {
            if (m_stop.load(std::memory_order_relaxed) || !blockHolds(b))
                return;
        }
        m_allHold.store(true, std::memory_order_release);
    });
}

void TextCheck::onFailure(std::function<void()> failed)
{
    const std::lock_guard<std::mutex> hold(m_failureLock);
    m_failed = std::move(failed);
    if (m_hasFailed && m_failed)
        std::exchange(m_failed, {})();
}

bool TextCheck::blocksHold(quint64 first, quint64 end) const
{
    for (quint64 b = first; b < end; ++b) {
        if (!blockHolds(b))
            return false;
    }
    return true;
}

bool TextCheck::blockHolds(quint64 block) const
{
    std::atomic<quint8>& state = m_states[block];
    quint8 now = state.load(std::memory_order_acquire);
    if (now == Unchecked && state.compare_exchange_strong(now, Checking, std::memory_order_acq_rel)) {
        const quint64 at = block * m_block;
        const quint64 hash = XXH3_64bits(m_texts + at, size_t(std::min(m_block, m_bytes - at)));
#ifdef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
        // A fuzzer never gets past a checksum: every other check is what it tries.
        const bool holds = true;
        Q_UNUSED(hash);
#else
        const bool holds = hash == m_hashes[block];
#endif
        if (!holds) {
            // Told before the block is seen bad: whoever sees it so knows the failure told.
            const std::lock_guard<std::mutex> hold(m_failureLock);
            m_hasFailed = true;
            if (m_failed)
                std::exchange(m_failed, {})();
        }
        state.store(holds ? Good : Bad, std::memory_order_release);
        return holds;
    }
    // Another thread is on it: a block takes a fraction of a millisecond.
    while ((now = state.load(std::memory_order_acquire)) == Checking)
        std::this_thread::yield();
    return now == Good;
}
