#ifndef READERSYNC_H
#define READERSYNC_H

#include <QObject>

class BookmarkConfig;
class BookmarkMenug;
class LocalBooks;
class QTabWidget;
class ReadingState;
class SyncEngine;
class SyncPage;
class SyncSecrets;
class SyncState;
class TextDisplay;

// Keeps the reader in step with a WebDAV server: puts the 同步 page on the
// window's tabs, feeds the sync engine the books opened and left and every
// change of the stores, and shows what arrives: a position of the book on
// screen moves the view if the reader has not moved it meanwhile, and
// bookmarks rebuild the menu.
class ReaderSync : public QObject
{
    Q_OBJECT

public:
    // Every pointer is the window's and outlives this object, its child.
    ReaderSync(QObject *window, QTabWidget *tabs, TextDisplay *display, ReadingState *state,
               BookmarkConfig *bookmarks, BookmarkMenug *bookmarkMenu);
    ~ReaderSync() override;

    SyncState *state() const { return m_state; }
    SyncEngine *engine() const { return m_engine; }
    // Uploads what waits, within a few seconds at most; then done() runs.
    void finish(const std::function<void()> &done);

private:
    void loadState();
    void connectStores(ReadingState *state, BookmarkConfig *bookmarks);
    void connectPage();
    void saveAccount();
    void positionArrived(const QString &fileName, int from, int to);
    QString account() const;

    TextDisplay *m_display;        // the window's
    BookmarkMenug *m_bookmarkMenu; // the window's
    SyncState *m_state;            // child
    LocalBooks *m_books;           // owned
    SyncEngine *m_engine;          // child
    SyncSecrets *m_secrets;        // child
    SyncPage *m_page;              // a tab of the window's tabs
};

#endif // READERSYNC_H
