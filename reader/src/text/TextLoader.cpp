#include "TextLoader.h"

#include "TextTransformer.h"
#include "TextTuning.h"
#include "WorkerPool.h"
#include "ZkTextDecoder.h"

#include <QFile>

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>

#ifdef __GLIBC__
#include <malloc.h>
#endif

using namespace TextTuning;

struct TextLoader::Job {
    Job(const QString &name, qint64 start, const ZkTextDecoder &fileDecoder,
        const TextTransformer &textTransformer, quint64 number)
        : fileName(name), from(start), decoder(fileDecoder), transformer(textTransformer),
          generation(number)
    {
    }

    const QString fileName;
    const qint64 from;
    // the worker's, once the job runs
    ZkTextDecoder decoder;
    TextTransformer transformer;
    const quint64 generation;

    // The worker waits on room while the window has many characters to take.
    std::mutex mutex;
    std::condition_variable room;
    qint64 queued = 0; // handed over and not yet taken
    bool cancelled = false;

    bool isCancelled()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return cancelled;
    }
    // False once the job is cancelled.
    bool waitForRoom(qint64 characters)
    {
        std::unique_lock<std::mutex> lock(mutex);
        room.wait(lock, [this] { return queued <= QueuedCharacterLimit || cancelled; });
        queued += characters;
        return !cancelled;
    }
    void take(qint64 characters)
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            queued -= characters;
        }
        room.notify_one();
    }
    void cancel()
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            cancelled = true;
        }
        room.notify_one();
    }
};

namespace
{

// The whole of a short file, the first stretch of a long one; and for the
// bytes to decide, a stretch of its middle.
bool readStart(QFile *file, bool withMiddle, QByteArray *start, QByteArray *middle)
{
    if (!file->open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file->size();
    *start = size <= WholeReadBytes ? file->readAll() : file->read(HeadBytes);
    if (withMiddle && size > start->size() && file->error() == QFileDevice::NoError &&
        file->seek(ZkTextDecoder::middleSampleOffset(size)))
        *middle = file->read(ZkTextDecoder::sampleBytes());
    return file->error() == QFileDevice::NoError;
}

} // namespace

TextLoader::TextLoader(QObject *parent) : QObject(parent) {}

TextLoader::~TextLoader()
{
    cancel();
    for (QFuture<void> &job : m_jobs)
        job.waitForFinished();
}

OpenResult TextLoader::open(const QString &fileName, int codec, const TransformOptions &options,
                            bool anyBytes)
{
    OpenResult result;
    result.fileName = fileName;
    if (!QFile::exists(fileName))
        return result;
    QFile file(fileName);
    QByteArray start;
    QByteArray middle;
    if (!readStart(&file, codec == AutoDetect, &start, &middle)) {
        result.status = OpenResult::Unreadable;
        result.error = file.errorString();
        return result;
    }
    result.fileSize = file.size();
    if (start.isEmpty()) {
        result.status = OpenResult::Empty;
        return result;
    }
    ZkTextDecoder decoder =
        codec == AutoDetect ? ZkTextDecoder::forFile(start, middle) : ZkTextDecoder(codec);
    // A chosen encoding says the user takes the bytes for text.
    if (codec == AutoDetect && !anyBytes && !ZkTextDecoder::looksLikeText(start, decoder.codec())) {
        result.status = OpenResult::NotText;
        return result;
    }
    result.status = OpenResult::Opened;
    // A long file shows its start up to the last line break; the loader
    // reads the rest.
    const bool whole = result.fileSize <= start.size();
    const int cut = whole ? start.size() : ZkTextDecoder::lineEnd(start, decoder.codec());
    start.truncate(cut);
    QString text;
    if (!decoder.decodeNext(start, &text))
        text = ZkTextDecoder::decode(start, decoder.codec());
    TextTransformer transformer(options);
    TextTransformer::Output shown = transformer.transform(text, whole);
    result.text = shown.text;
    result.map = shown.map;
    result.failedRules = transformer.takeFailures();
    result.scriptConfiguration = transformer.scriptConfiguration();
    result.scriptError = transformer.scriptError();
    result.codec = decoder.codec();
    result.bytesRead = cut;

    cancel();
    m_options = options;
    if (!whole)
        this->start(fileName, cut, decoder, transformer);
    return result;
}

void TextLoader::start(const QString &fileName, qint64 from, const ZkTextDecoder &decoder,
                       const TextTransformer &transformer)
{
    forgetFinishedJobs();
    m_job = std::make_shared<Job>(fileName, from, decoder, transformer, ++m_generation);
    const std::shared_ptr<Job> job = m_job;
    m_jobs.append(WorkerPool::run([this, job] { run(this, job); }));
}

// The decoder that failed at proving UTF-8 knows the code page instead; it
// decides the whole file, from its first byte.
void TextLoader::restart(int codec)
{
    const QString fileName = m_job->fileName;
    start(fileName, 0, ZkTextDecoder(codec), TextTransformer(m_options));
    emit restarted(codec);
}

// Pieces of a cancelled load still in the event queue are dropped when they
// arrive: post() delivers only those of the newest job.
void TextLoader::cancel()
{
    if (m_job)
        m_job->cancel();
    m_job.reset();
}

void TextLoader::pieceTaken(int characters)
{
    if (m_job)
        m_job->take(characters);
}

void TextLoader::forgetFinishedJobs()
{
    m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(),
                                [](const QFuture<void> &job) { return job.isFinished(); }),
                 m_jobs.end());
}

void TextLoader::keepLargeBlocksMapped()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

namespace
{

// The stretch read before is transformed and handed over on the pool while
// the next one is read and decoded: converting a script takes longer than
// decoding, and the two overlap. One at a time, in the order they were
// read; the job does not end before the last one.
class HandOver
{
public:
    ~HandOver() { wait(); }

    // False once a stretch before could not be handed over (the job is
    // cancelled).
    bool wait()
    {
        if (!m_inFlight)
            return true;
        m_inFlight = false;
        return m_previous.result();
    }

    template <typename Function> bool next(Function &&function)
    {
        if (!wait())
            return false;
        m_previous = WorkerPool::run(std::forward<Function>(function));
        m_inFlight = true;
        return true;
    }

private:
    QFuture<bool> m_previous;
    bool m_inFlight = false;
};

} // namespace

// On the worker pool. What it hands over goes through post(); the loader
// itself outlives the job, as its destructor waits for it.
void TextLoader::run(TextLoader *loader, const std::shared_ptr<Job> &job)
{
    QFile file(job->fileName);
    HandOver handOver;
    const auto fail = [&] {
        const QString error = file.errorString();
        handOver.wait();
        loader->post(*job, [loader, error] { emit loader->failed(error); });
    };
    if (!file.open(QIODevice::ReadOnly) || !file.seek(job->from))
        return fail();
    QByteArray pending;
    bool end = false;
    while (!end && !job->isCancelled()) {
        const QByteArray chunk = file.read(ChunkBytes);
        if (file.error() != QFileDevice::NoError)
            return fail();
        end = chunk.isEmpty() || file.atEnd();
        pending += chunk;
        const int cut =
            end ? pending.size() : ZkTextDecoder::lineEnd(pending, job->decoder.codec());
        if (cut == 0 && !end)
            continue;
        const QByteArray bytes = pending.left(cut);
        pending.remove(0, cut);
        QString text;
        if (!job->decoder.decodeNext(bytes, &text)) {
            const int codec = job->decoder.codec();
            handOver.wait();
            return loader->post(*job, [loader, codec] { loader->restart(codec); });
        }
        const qint64 bytesRead = file.pos() - pending.size();
        if (!handOver.next([loader, job, text, end, bytesRead] {
                return hand(loader, job, job->transformer.transform(text, end), bytesRead);
            }))
            return;
    }
    if (handOver.wait())
        loader->post(*job, [loader] { emit loader->finished(); });
}

// What a stretch became, to the window; false once the job is cancelled.
bool TextLoader::hand(TextLoader *loader, const std::shared_ptr<Job> &job,
                      const TextTransformer::Output &output, qint64 bytesRead)
{
    const QVector<RuleCleaner::Failure> failures = job->transformer.takeFailures();
    if (!failures.isEmpty())
        loader->post(*job, [loader, failures] { emit loader->rulesFailed(failures); });
    if (output.text.isEmpty() && output.map.isIdentity())
        return !job->isCancelled();
    if (!job->waitForRoom(output.text.size()))
        return false;
    loader->post(*job, [loader, output, bytesRead] {
        emit loader->pieceRead(output.text, output.map, bytesRead);
    });
    return true;
}

// Runs deliver on the loader's thread if the job is still the newest then.
void TextLoader::post(const Job &job, std::function<void()> deliver)
{
    const quint64 generation = job.generation;
    QMetaObject::invokeMethod(
        this,
        [this, generation, deliver] {
            if (m_job && m_job->generation == generation)
                deliver();
        },
        Qt::QueuedConnection);
}
