#pragma once

#include "corpus/corpuscontent.h"
#include "corpus/corpusstore.h"

#include <QString>
#include <atomic>
#include <memory>
#include <thread>

// Writes the store of a corpus just loaded on a thread of its own, while the reader reads: the
// content is shared and never changed, so nothing else is. Stopping, or destroying it, ends a write
// still going and leaves nothing of it.
class StoreWriter
{
public:
    StoreWriter() = default;
    ~StoreWriter();
    StoreWriter(const StoreWriter&) = delete;
    StoreWriter& operator=(const StoreWriter&) = delete;

    // Stops any write going, then writes `content`, the corpus at `corpusPath` as `identity` says
    // it was when read, into the store at `storePath`; then the stores of its folder are cut down to
    // `limit` bytes, the least recently used first. When the load wrote the texts into `draft`
    // already, only the rest is written.
    void start(std::shared_ptr<const CorpusContent> content, const QString& corpusPath,
               const corpusstore::Identity& identity, const QString& storePath, qint64 limit,
               std::unique_ptr<corpusstore::Draft> draft = nullptr);
    void stop();
    // Waits for the write going, if any, to end; returns why it failed, empty when it did not.
    QString wait();

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    QString m_error;
};
