#include "corpus/storewriter.h"

#include <QFileInfo>

StoreWriter::~StoreWriter()
{
    stop();
}

void StoreWriter::start(std::shared_ptr<const CorpusContent> content, const QString& corpusPath,
                        const corpusstore::Identity& identity, const QString& storePath, qint64 limit,
                        std::unique_ptr<corpusstore::Draft> draft)
{
    stop();
    m_stop = false;
    m_error.clear();
    m_thread = std::thread(
        [this, content = std::move(content), corpusPath, identity, storePath, limit, draft = std::move(draft)] {
            QString why = draft ? draft->complete(*content, corpusPath, &m_stop)
                                : corpusstore::write(storePath, *content, corpusPath, identity, &m_stop);
            if (why.isEmpty())
                corpusstore::trim(QFileInfo(storePath).absolutePath(), limit, storePath);
            m_error = std::move(why);
        });
}

void StoreWriter::stop()
{
    m_stop = true;
    wait();
}

QString StoreWriter::wait()
{
    if (m_thread.joinable())
        m_thread.join();
    return m_error;
}
