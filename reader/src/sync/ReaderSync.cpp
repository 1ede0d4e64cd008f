#include "ReaderSync.h"

#include "BookmarkConfig.h"
#include "BookmarkMenug.h"
#include "LocalBooks.h"
#include "ProgramConstants.h"
#include "ReadingState.h"
#include "SyncEngine.h"
#include "SyncPage.h"
#include "SyncSecrets.h"
#include "SyncState.h"
#include "TextDisplay.h"

#include <QCoreApplication>
#include <QTabWidget>
#include <QTimer>

#include <functional>

namespace
{

// Closing the window waits this long at most for the last upload; the
// window is gone by then, and what did not go waits for the next start.
const int FinishMs = 5000;

} // namespace

ReaderSync::ReaderSync(QObject *window, QTabWidget *tabs, TextDisplay *display, ReadingState *state,
                       BookmarkConfig *bookmarks, BookmarkMenug *bookmarkMenu)
    : QObject(window), m_display(display), m_bookmarkMenu(bookmarkMenu),
      m_state(new SyncState(this)),
      m_books(new LocalBooks(state, readingStateFilePath(), bookmarks, bookmarkFilePath())),
      m_engine(nullptr), m_secrets(new SyncSecrets(InternalName, this)), m_page(new SyncPage)
{
    loadState();
    m_engine = new SyncEngine(m_state, syncStateFilePath(), m_books, this);
    tabs->insertTab(tabs->count() - 1, m_page, QCoreApplication::translate("QObject", "同步"));
    connectStores(state, bookmarks);
    connectPage();
    connect(display, &TextDisplay::opened, m_engine, &SyncEngine::bookOpened);
    connect(display, &TextDisplay::leaving, m_engine, &SyncEngine::bookLeft);
    connect(m_engine, &SyncEngine::positionArrived, this, &ReaderSync::positionArrived);
    if (!m_state->user.isEmpty())
        m_secrets->read(account());
    else
        m_engine->setPassword(QString());
}

ReaderSync::~ReaderSync()
{
    delete m_books;
}

// The machine's identity stamps every change from now on; a first start
// keeps the one it made.
void ReaderSync::loadState()
{
    m_state->load(syncStateFilePath());
    ChangeStamp::setThisMachine(m_state->machine());
    m_page->setAccount(m_state->address, m_state->user);
    m_page->showStatus(m_state->lastOutcome);
}

// Whatever a store saves may be a change to keep in step: a position, a
// bookmark, a choice of any feature.
void ReaderSync::connectStores(ReadingState *state, BookmarkConfig *bookmarks)
{
    connect(state, &ZkXmlFile::saved, m_engine, &SyncEngine::localChanged);
    connect(bookmarks, &ZkXmlFile::saved, m_engine, &SyncEngine::localChanged);
    connect(bookmarks, &ZkXmlFile::saved, m_bookmarkMenu, &BookmarkMenug::rebuildMenu);
}

void ReaderSync::connectPage()
{
    connect(m_page, &SyncPage::accountSaved, this, &ReaderSync::saveAccount);
    connect(m_page, &SyncPage::testRequested, this, [this] {
        m_engine->testConnection(m_page->address(), m_page->user(), m_page->password());
    });
    connect(m_page, &SyncPage::syncRequested, m_engine, &SyncEngine::syncNow);
    connect(m_engine, &SyncEngine::connectionTested, m_page, &SyncPage::showTest);
    connect(m_engine, &SyncEngine::statusChanged, m_page, &SyncPage::showStatus);
    connect(m_secrets, &SyncSecrets::passwordRead, this, [this](const QString &password) {
        m_page->setPassword(password);
        m_page->showPasswordPlace(m_secrets->inMemoryOnly());
        m_engine->setPassword(password);
    });
    connect(m_secrets, &SyncSecrets::stored, m_page,
            [this](bool inKeyring) { m_page->showPasswordPlace(!inKeyring); });
}

void ReaderSync::saveAccount()
{
    m_state->address = m_page->address();
    m_state->user = m_page->user();
    m_state->save(syncStateFilePath());
    const QString password = m_page->password();
    m_page->setAccount(m_state->address, m_state->user);
    m_page->setPassword(password);
    if (!m_state->user.isEmpty())
        m_secrets->write(account(), password);
    m_engine->setPassword(password);
}

QString ReaderSync::account() const
{
    return m_state->user + QLatin1Char('@') + m_state->address.host();
}

// A position that arrives while the reader looks where the book opened
// moves the view; once the reader has moved on, the reader's place stays.
void ReaderSync::positionArrived(const QString &fileName, int from, int to)
{
    if (m_display->m_fileName.isEmpty() ||
        m_state->fingerprintOf(m_display->m_fileName) != m_state->fingerprintOf(fileName))
        return;
    if (m_display->topPosition() == from)
        m_display->showPosition(to, 0);
}

void ReaderSync::finish(const std::function<void()> &done)
{
    auto *timer = new QTimer(this);
    timer->setSingleShot(true);
    auto once = std::make_shared<std::function<void()>>(done);
    const auto end = [once] {
        if (*once)
            std::exchange(*once, nullptr)();
    };
    connect(timer, &QTimer::timeout, this, end);
    connect(m_engine, &SyncEngine::flushed, this, end);
    timer->start(FinishMs);
    m_engine->flush();
}
