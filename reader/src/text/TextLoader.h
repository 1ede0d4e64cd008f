#ifndef TEXTLOADER_H
#define TEXTLOADER_H

#include "OpenResult.h"
#include "TextTransformer.h"
#include "TransformOptions.h"

#include <QFuture>
#include <QObject>
#include <QString>
#include <QVector>

#include <memory>

class ZkTextDecoder;

// The road of a text file from its bytes to pieces of text. open() reads
// the start of the file, lets the decoder decide its encoding, transforms it
// into the text the view shows and hands that back; the rest of a long file
// is read, decoded and transformed on the worker pool and handed over in
// pieces that end at a line break, so that the
// window shows the start of a novel at once and stays responsive while the
// rest arrives. Text taken for UTF-8 that proves not to be is read again
// from the start, in the code page it reads as. Only the newest load speaks:
// opening another file, or cancel(), silences the one before, whatever it
// still had on its way. See docs/loading.md for the states of a load.
class TextLoader : public QObject
{
    Q_OBJECT

public:
    static constexpr int AutoDetect = -1;

    explicit TextLoader(QObject *parent = nullptr);
    // Waits for the jobs on the pool, which stop at their next piece.
    ~TextLoader() override;

    // codec: a ZkTextDecoder number, or AutoDetect for the bytes to decide,
    // which also decide whether the file is text at all unless anyBytes.
    // A file that cannot be opened leaves the load under way as it was.
    OpenResult open(const QString &fileName, int codec = AutoDetect,
                    const TransformOptions &options = TransformOptions(), bool anyBytes = false);
    void cancel();
    // The window has taken this many characters of the pieces. The loader
    // waits while many are handed over and not yet taken, so that a window
    // held up in a long pass does not pile up pieces in its event queue.
    void pieceTaken(int characters);

    // A novel's text and its document grow by doubling while they arrive.
    // glibc serves blocks under its mmap threshold from the heap and copies
    // them on every growth, and it raises that threshold to 32 MB once a
    // large block is freed: growing a 16 MB text then stops the window for
    // tens of milliseconds. With the threshold fixed low, every large block
    // is mapped and grows by remapping, without a copy. Called once, first
    // thing in main().
    static void keepLargeBlocksMapped();

signals:
    // text follows what came before, map its changes (positions from the
    // start of the text); bytesRead is how far into the file the text
    // handed over reaches.
    void pieceRead(const QString &text, const PositionMap &map, qint64 bytesRead);
    // Cleaning rules that failed and are left out for the rest of the text.
    void rulesFailed(const QVector<RuleCleaner::Failure> &failures);
    // The text handed over so far was not UTF-8 after all: all of it comes
    // again, from the start, decoded as codec.
    void restarted(int codec);
    void finished();
    void failed(const QString &error);

private:
    struct Job;
    void start(const QString &fileName, qint64 from, const ZkTextDecoder &decoder,
               const TextTransformer &transformer);
    void restart(int codec);
    static void run(TextLoader *loader, const std::shared_ptr<Job> &job);
    static bool hand(TextLoader *loader, const std::shared_ptr<Job> &job,
                     const TextTransformer::Output &output, qint64 bytesRead);
    void post(const Job &job, std::function<void()> deliver);
    void forgetFinishedJobs();

    std::shared_ptr<Job> m_job;    // the newest load, or null
    TransformOptions m_options;    // the newest load's
    QVector<QFuture<void>> m_jobs; // on the pool, the newest last
    quint64 m_generation = 0;
};

#endif // TEXTLOADER_H
