#ifndef BOOKSYNC_H
#define BOOKSYNC_H

#include "LocalBooks.h"
#include "SyncRecord.h"
#include "ZkHttpClient.h"

#include <functional>

class SyncState;
class WebDav;

// One sync of one book: fetch its record, merge (SyncMerge) against the
// state both sides last agreed on, and if the server lacks something upload
// the merged record under a temporary name and move it over the old one, so
// that an upload cut off leaves the old record whole. Then the merged record
// is the agreed one, and what changed here meanwhile is merged on top of it
// in the stores. Its end comes once, as a value.
class BookSync
{
public:
    struct Outcome {
        enum Kind { Done, Failed, Newer };
        Kind kind = Done;
        ZkHttpResponse failure;      // for Failed: the answer, or why there was none
        LocalBooks::Changes changes; // for Done: what the stores took
        int position = 0;            // for Done: the book's position now
    };
    using Done = std::function<void(const Outcome &)>;

    // Every pointer outlives the sync; stateFile: where state is saved.
    BookSync(WebDav *dav, SyncState *state, const QString &stateFile, LocalBooks *books,
             const QString &fingerprint, Done done);

    void start();
    QString fingerprint() const { return m_fingerprint; }
    // The temporary name of the upload under way, if any.
    QString uploadName() const { return m_upload; }
    // Whether a file of the server is what an upload of that machine, cut
    // off, left behind.
    static bool isStrayOf(const QString &name, const QString &machine);
    QString fileName() const { return m_fileName; }

private:
    static QString uploadMark(const QString &machine);
    void fetched(const ZkHttpResponse &response);
    void upload();
    void uploaded(const ZkHttpResponse &response);
    void folderMade(const ZkHttpResponse &response);
    void moved(const ZkHttpResponse &response);
    void agree();
    void fail(const ZkHttpResponse &response, bool leftStray);

    WebDav *m_dav;
    SyncState *m_state;
    QString m_stateFile;
    LocalBooks *m_books;
    QString m_fingerprint;
    QString m_fileName;
    Done m_done;

    SyncRecord m_local;  // as it was when the server's record came
    SyncRecord m_merged; // being uploaded
    QString m_upload;    // its temporary name on the server
    QByteArray m_tag;    // of the server's record as fetched
    bool m_madeFolder = false;
};

#endif // BOOKSYNC_H
