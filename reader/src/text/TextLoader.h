#ifndef TEXTLOADER_H
#define TEXTLOADER_H

#include <QByteArray>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

class QThread;

// Reads the rest of a long text file and decodes it on a thread of its own,
// handing the text over in pieces that end at a line break, so that the
// window shows the start of a novel at once and stays responsive while the
// rest arrives. Only the newest load speaks: starting another one, or
// cancel(), silences the one before, whatever it still had on its way.
class TextLoader : public QObject
{
    Q_OBJECT

public:
    explicit TextLoader(QObject *parent = nullptr);
    // Waits for the threads, which stop at their next piece.
    ~TextLoader() override;

    // Reads fileName from byte from to its end, decoded as codec (a
    // TextEncoding number). With checkUtf8 the bytes must prove valid UTF-8,
    // else notUtf8() names the codec to read the whole file with instead.
    void start(const QString &fileName, qint64 from, int codec, bool checkUtf8);
    void cancel();
    // The window has put this many characters of the pieces into its
    // document. The reader waits while many are handed over and not yet
    // taken, so that a slow window does not pile up the text a second time.
    void pieceTaken(int characters);

    // The length of data up to and including its last line break, 0 if it
    // has none. Cut there, the text decodes as it would whole: no character
    // of the encodings read here holds the byte of a line break, and a CR LF
    // pair stays together.
    static int lineEnd(const QByteArray &data, int codec);
    // A novel's text and its document grow by doubling while they arrive.
    // glibc serves blocks under its mmap threshold from the heap and copies
    // them on every growth, and it raises that threshold to 32 MB once a
    // large block is freed: growing a 16 MB text then stops the window for
    // tens of milliseconds. With the threshold fixed low, every large block
    // is mapped and grows by remapping, without a copy. Called once, first
    // thing in main().
    static void keepLargeBlocksMapped();

signals:
    // text follows what came before; bytesRead is how far into the file
    // the text handed over reaches.
    void pieceRead(const QString &text, qint64 bytesRead);
    void finished();
    void failed(const QString &error);
    void notUtf8(int codec);

private:
    struct Job;
    void run(const std::shared_ptr<Job> &job);
    static bool waitForRoom(const Job &job);
    void post(const Job &job, std::function<void()> deliver);
    void reap();

    std::vector<std::pair<QThread *, std::shared_ptr<Job>>> m_threads; // owned
    std::shared_ptr<Job> m_job;                                        // the newest load, or null
    quint64 m_generation = 0;
};

#endif // TEXTLOADER_H
