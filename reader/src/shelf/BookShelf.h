#ifndef BOOKSHELF_H
#define BOOKSHELF_H

#include "OpenRequest.h"

#include <QFutureWatcher>
#include <QObject>
#include <QPair>
#include <QVector>

class ChapterPanel;
class QCheckBox;
class QTabWidget;
class QWidget;
class ReadingProgress;
class ReadingState;
class ShelfModel;
class TextDisplay;

// The shelf of every book read: keeps what it shows of each (how far it was
// read, its chapters, what tells its file again) beside the book's place as
// the reading moves, shows the shelf from its button beside the tabs, finds
// moved books again, and names the book a start without a file reopens.
class BookShelf : public QObject
{
    Q_OBJECT

public:
    // window: the parent, and the parent of the dialog; none of the rest is
    // owned.
    BookShelf(QWidget *window, TextDisplay *display, ReadingState *state, ReadingProgress *progress,
              ChapterPanel *chapters);

    // The button goes beside the tabs' corner widget.
    void placeButton(QTabWidget *tabs);
    // 启动时打开上次读的书, for the 显示 page, which owns it.
    QCheckBox *createReopenBox();
    // The book read last, if its file is there and the setting asks for it.
    QString bookToReopen() const;

public slots:
    void show();

signals:
    void openRequested(const OpenRequest &request);

private:
    using Found = QVector<QPair<QString, QString>>; // the book's file, where it is now

    void recordProgress();
    void fingerprintOpened(const QString &fileName);
    void findMoved();
    void open(const QString &fileName);
    void remove(const QString &fileName);
    void saveState();

    QWidget *m_window;           // the owner
    TextDisplay *m_display;      // not owned
    ReadingState *m_state;       // not owned
    ReadingProgress *m_progress; // not owned
    ChapterPanel *m_chapters;    // not owned
    ShelfModel *m_model;         // child
    QFutureWatcher<Found> m_finding;
    QFutureWatcher<QPair<QString, QString>> m_fingerprinting; // the file, its fingerprint
};

#endif // BOOKSHELF_H
