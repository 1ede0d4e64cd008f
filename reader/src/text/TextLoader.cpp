#include "TextLoader.h"

#include "TextDecoder.h"
#include "TextEncoding.h"

#include <QFile>
#include <QThread>

#include <functional>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace
{

// A read of this many bytes decodes in a few milliseconds; the window gets
// the text in pieces about that size.
const int ChunkBytes = 1 << 20;
// The reader pauses while this many decoded characters wait for the window.
const qint64 QueuedCharacterLimit = 1 << 20;

} // namespace

struct TextLoader::Job {
    QString fileName;
    qint64 from = 0;
    int codec = 0;
    bool checkUtf8 = false;
    quint64 generation = 0;
    std::atomic<bool> cancelled{false};
    // Decoded characters handed over and not yet taken
    std::atomic<qint64> queued{0};
};

TextLoader::TextLoader(QObject *parent) : QObject(parent) {}

TextLoader::~TextLoader()
{
    cancel();
    for (auto &thread : m_threads) {
        thread.first->wait();
        delete thread.first;
    }
}

void TextLoader::start(const QString &fileName, qint64 from, int codec, bool checkUtf8)
{
    cancel();
    reap();
    m_job = std::make_shared<Job>();
    m_job->fileName = fileName;
    m_job->from = from;
    m_job->codec = codec;
    m_job->checkUtf8 = checkUtf8;
    m_job->generation = ++m_generation;
    std::shared_ptr<Job> job = m_job;
    QThread *thread = QThread::create([this, job] { run(job); });
    m_threads.emplace_back(thread, job);
    thread->start();
}

// Pieces of a cancelled load still in the event queue are dropped when they
// arrive: post() delivers only those of the newest job.
void TextLoader::cancel()
{
    if (m_job)
        m_job->cancelled = true;
    m_job.reset();
}

void TextLoader::pieceTaken(int characters)
{
    if (m_job)
        m_job->queued -= characters;
}

void TextLoader::reap()
{
    for (auto it = m_threads.begin(); it != m_threads.end();) {
        if (it->first->isFinished()) {
            delete it->first;
            it = m_threads.erase(it);
        } else {
            ++it;
        }
    }
}

void TextLoader::keepLargeBlocksMapped()
{
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
}

int TextLoader::lineEnd(const QByteArray &data, int codec)
{
    if (codec == TextEncoding::Utf16LittleEndian || codec == TextEncoding::Utf16BigEndian) {
        const char *unit = codec == TextEncoding::Utf16LittleEndian ? "\n\0" : "\0\n";
        for (int i = (data.size() & ~1) - 2; i >= 0; i -= 2) {
            if (data.at(i) == unit[0] && data.at(i + 1) == unit[1])
                return i + 2;
        }
        return 0;
    }
    return data.lastIndexOf('\n') + 1;
}

// On the loader's own thread.
void TextLoader::run(const std::shared_ptr<Job> &job)
{
    QFile file(job->fileName);
    if (!file.open(QIODevice::ReadOnly) || !file.seek(job->from)) {
        const QString error = file.errorString();
        return post(*job, [this, error] { emit failed(error); });
    }
    QByteArray pending;
    bool end = false;
    while (!end && !job->cancelled) {
        const QByteArray chunk = file.read(ChunkBytes);
        if (file.error() != QFileDevice::NoError) {
            const QString error = file.errorString();
            return post(*job, [this, error] { emit failed(error); });
        }
        end = chunk.isEmpty() || file.atEnd();
        pending += chunk;
        const int cut = end ? pending.size() : lineEnd(pending, job->codec);
        if (cut == 0)
            continue;
        const QByteArray bytes = pending.left(cut);
        pending.remove(0, cut);
        QString text;
        if (!job->checkUtf8) {
            text = TextDecoder::decode(bytes, job->codec, false);
        } else if (!TextDecoder::decodesAsUtf8(bytes, &text)) {
            file.seek(0);
            const int codec = TextEncoding::detectNotUtf8(file.readAll());
            return post(*job, [this, codec] { emit notUtf8(codec); });
        }
        if (!waitForRoom(*job))
            return;
        job->queued += text.size();
        const qint64 bytesRead = file.pos() - pending.size();
        post(*job, [this, text, bytesRead] { emit pieceRead(text, bytesRead); });
    }
    post(*job, [this] { emit finished(); });
}

bool TextLoader::waitForRoom(const Job &job)
{
    while (job.queued > QueuedCharacterLimit && !job.cancelled)
        QThread::msleep(2);
    return !job.cancelled;
}

// Runs deliver on the window's thread if the job is still the newest then.
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
