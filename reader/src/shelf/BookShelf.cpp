#include "BookShelf.h"

#include "BookFingerprint.h"
#include "ChapterModel.h"
#include "ChapterPanel.h"
#include "MovedBookFinder.h"
#include "ProgramConstants.h"
#include "ReadingProgress.h"
#include "ReadingState.h"
#include "ShelfDialog.h"
#include "ShelfModel.h"
#include "TextDisplay.h"
#include "WorkerPool.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QToolButton>

BookShelf::BookShelf(QWidget *window, TextDisplay *display, ReadingState *state,
                     ReadingProgress *progress, ChapterPanel *chapters)
    : QObject(window), m_window(window), m_display(display), m_state(state), m_progress(progress),
      m_chapters(chapters), m_model(new ShelfModel(this))
{
    connect(progress, &ReadingProgress::changed, this, &BookShelf::recordProgress);
    connect(display, &TextDisplay::opened, this, &BookShelf::fingerprintOpened);
    connect(&m_fingerprinting, &QFutureWatcher<QPair<QString, QString>>::finished, this, [this] {
        const QPair<QString, QString> result = m_fingerprinting.result();
        BookFacts facts = m_state->facts(result.first);
        facts.fingerprint = result.second;
        facts.size = QFileInfo(result.first).size();
        m_state->setFacts(result.first, facts);
    });
    connect(&m_finding, &QFutureWatcher<Found>::finished, this, [this] {
        for (const auto &found : m_finding.result())
            m_model->setFound(found.first, found.second);
    });
}

void BookShelf::placeButton(QTabWidget *tabs)
{
    auto *corner = new QWidget(tabs);
    auto *layout = new QHBoxLayout(corner);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto *button = new QToolButton(corner);
    button->setObjectName(QStringLiteral("btnShelf"));
    button->setText(QCoreApplication::translate("QObject", "书架"));
    connect(button, &QToolButton::clicked, this, &BookShelf::show);
    layout->addWidget(button);
    QWidget *chapters = tabs->cornerWidget(Qt::TopRightCorner);
    if (chapters != nullptr)
        layout->addWidget(chapters);
    tabs->setCornerWidget(corner, Qt::TopRightCorner);
    // The tabs hide the corner widget they let go of.
    if (chapters != nullptr)
        chapters->show();
}

QCheckBox *BookShelf::createReopenBox()
{
    auto *box = new QCheckBox(QCoreApplication::translate("QObject", "启动时打开上次读的书"));
    box->setObjectName(QStringLiteral("chkReopenLastBook"));
    box->setChecked(m_state->reopenLastBook);
    connect(box, &QCheckBox::toggled, this, [this](bool on) {
        m_state->reopenLastBook = on;
        saveState();
    });
    return box;
}

QString BookShelf::bookToReopen() const
{
    const QStringList books = m_state->fileNames();
    if (!m_state->reopenLastBook || books.isEmpty() || !QFileInfo(books.first()).isFile())
        return QString();
    return books.first();
}

// Kept in memory; the next save of the reading place writes it.
void BookShelf::recordProgress()
{
    const QString fileName = m_display->m_fileName;
    if (fileName.isEmpty() || m_display->isLoading())
        return;
    BookFacts facts = m_state->facts(fileName);
    facts.progress = m_progress->permille();
    facts.chapter = m_chapters->currentRow() + 1;
    facts.chapters = m_chapters->chapterCount();
    facts.firstChapter = facts.chapters > 0 ? m_chapters->model()->chapter(0).title : QString();
    m_state->setFacts(fileName, facts);
}

// Once per book: a file changed in place is a new edition, whose old
// fingerprint would not find it again anyway.
void BookShelf::fingerprintOpened(const QString &fileName)
{
    const BookFacts facts = m_state->facts(fileName);
    if (!facts.fingerprint.isEmpty() && facts.size == QFileInfo(fileName).size())
        return;
    m_fingerprinting.setFuture(
        WorkerPool::run([fileName] { return qMakePair(fileName, BookFingerprint::of(fileName)); }));
}

void BookShelf::show()
{
    m_model->load(*m_state);
    findMoved();
    ShelfDialog dialog(m_model, m_window);
    connect(&dialog, &ShelfDialog::openRequested, this, &BookShelf::open);
    connect(&dialog, &ShelfDialog::removeRequested, this, &BookShelf::remove);
    dialog.exec();
}

// Off the GUI thread: a folder of many novels takes a while to list.
void BookShelf::findMoved()
{
    const QVector<ShelfModel::Missing> missing = m_model->missing();
    if (missing.isEmpty())
        return;
    const QStringList folders = m_model->folders();
    m_finding.setFuture(WorkerPool::run([missing, folders] {
        QVector<BookFacts> books;
        for (const ShelfModel::Missing &book : missing)
            books << book.facts;
        const QStringList places = MovedBookFinder::find(books, folders);
        Found found;
        for (int i = 0; i < missing.size(); ++i) {
            if (!places.at(i).isEmpty())
                found.append({missing.at(i).fileName, places.at(i)});
        }
        return found;
    }));
}

// A book found again moves its place, choices and facts to its new file.
void BookShelf::open(const QString &fileName)
{
    OpenRequest request;
    request.fileName = fileName;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        if (m_model->fileName(row) != fileName)
            continue;
        const QString now = m_model->index(row, 0).data(ShelfModel::FileRole).toString();
        if (now != fileName && m_state->moveBook(fileName, now))
            saveState();
        request.fileName = now;
    }
    emit openRequested(request);
}

void BookShelf::remove(const QString &fileName)
{
    m_state->forget(fileName);
    saveState();
    m_model->load(*m_state);
}

void BookShelf::saveState()
{
    m_state->save(readingStateFilePath());
}
