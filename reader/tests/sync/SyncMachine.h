#ifndef SYNCMACHINE_H
#define SYNCMACHINE_H

// One machine of the sync tests: a folder of its own with its stores, its
// books and its sync engine. The bookmark list is one per process, so one
// machine at a time is played: activate() takes its list from its file and
// its identity for every change, deactivate() leaves them in its file.

#include "BookmarkConfig.h"
#include "LocalBooks.h"
#include "ReadingState.h"
#include "SyncEngine.h"
#include "SyncState.h"

#include <QtTest>

#include <memory>

class SyncMachine
{
public:
    SyncMachine() : m_books(&reading, file("ReadingState.xml"), &bookmarks, file("Bookmark.xml"))
    {
        startEngine();
    }

    SyncEngine &engine() { return *m_engine; }
    SyncState &sync() { return *m_sync; }

    QString file(const char *name) const { return m_dir.path() + '/' + QLatin1String(name); }

    void connectTo(const QUrl &address, const QString &user, const QString &password,
                   const SyncTiming &timing = fastTiming())
    {
        m_sync->address = address;
        m_sync->user = user;
        m_sync->save(file("Sync.xml"));
        m_engine->setTiming(timing);
        m_engine->setPassword(password);
    }

    // Quits and starts again: nothing but the files is left of the run before.
    void restart(const QString &password, const SyncTiming &timing = fastTiming())
    {
        m_engine.reset();
        startEngine();
        reading.load(file("ReadingState.xml"));
        activate();
        m_engine->setTiming(timing);
        m_engine->setPassword(password);
    }

    // An evening in a few seconds; a deadline long enough for a loaded
    // machine, short enough for a test of a server that never answers.
    static SyncTiming fastTiming()
    {
        SyncTiming timing;
        timing.batchMs = 300;
        timing.firstRetryMs = 200;
        timing.longestRetryMs = 400;
        timing.requestDeadlineMs = 3000;
        return timing;
    }

    void activate()
    {
        BookmarkConfig::bookmarks.clear();
        BookmarkConfig::removed.clear();
        bookmarks.load(file("Bookmark.xml"));
        ChangeStamp::setThisMachine(m_sync->machine());
    }
    // Leaving the list in its file is no change to sync.
    void deactivate()
    {
        const QSignalBlocker quiet(&bookmarks);
        bookmarks.save(file("Bookmark.xml"));
    }

    // A copy of text under a name of this machine.
    QString book(const QString &name, const QByteArray &text) const
    {
        const QString path = m_dir.path() + '/' + name;
        QFile book(path);
        book.open(QIODevice::WriteOnly);
        book.write(text);
        return path;
    }

    void read(const QString &path, int position)
    {
        reading.setPosition(path, position);
        reading.save(file("ReadingState.xml"));
    }
    // Read with the network down: nothing is synced until asked.
    void readOffline(const QString &path, int position)
    {
        const QSignalBlocker quiet(&reading);
        read(path, position);
    }
    void addBookmark(const QString &path, const QString &title, int position)
    {
        bookmarks.append(title, QString::number(position), path);
        bookmarks.save(file("Bookmark.xml"));
    }
    void removeBookmarks(const QString &title)
    {
        BookmarkDataItem kept;
        for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::bookmarks))
            if (entry.title != title)
                kept << entry;
        bookmarks.replace(kept);
        bookmarks.save(file("Bookmark.xml"));
    }
    QStringList bookmarkTitles(const QString &path) const
    {
        QStringList titles;
        for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::bookmarks))
            if (entry.file == path)
                titles << entry.title + '@' + entry.pos;
        titles.sort();
        return titles;
    }

    // Lets every due sync run, flush first so batching does not wait.
    bool settle()
    {
        m_engine->flush();
        return QTest::qWaitFor([this] { return m_engine->isIdle(); }, 20000);
    }

    ReadingState reading;
    BookmarkConfig bookmarks;

private:
    void startEngine()
    {
        m_sync = std::make_unique<SyncState>();
        m_sync->load(file("Sync.xml"));
        m_engine = std::make_unique<SyncEngine>(m_sync.get(), file("Sync.xml"), &m_books);
        QObject::connect(&reading, &ZkXmlFile::saved, m_engine.get(), &SyncEngine::localChanged);
        QObject::connect(&bookmarks, &ZkXmlFile::saved, m_engine.get(), &SyncEngine::localChanged);
    }

    QTemporaryDir m_dir;
    LocalBooks m_books;
    std::unique_ptr<SyncState> m_sync;
    std::unique_ptr<SyncEngine> m_engine;
};

#endif // SYNCMACHINE_H
