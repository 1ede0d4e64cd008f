#ifndef CHAPTERPANEL_H
#define CHAPTERPANEL_H

#include "ChapterIndex.h"

#include <QDockWidget>
#include <QFutureWatcher>

class ChapterModel;
class QAction;
class QLabel;
class QListView;
class QMainWindow;
class QStackedWidget;
class QTabWidget;
class QTextEdit;
class TextDisplay;

// The chapter list beside the reading view. It finds the headings of every
// text the view gets (off the GUI thread), jumps to the one the reader
// picks and keeps the chapter being read current, also while it is hidden.
class ChapterPanel : public QDockWidget
{
    Q_OBJECT

public:
    explicit ChapterPanel(QWidget *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    void setTextDisplay(TextDisplay *display);
    // Docks beside the window's content, shown at first (the window's saved
    // state, once restored, says whether it stays shown), with its keys on
    // the window and its button beside the tabs.
    void dockOn(QMainWindow *window, QTabWidget *tabs);

    // To be added to the main window, so that their shortcuts work while
    // the panel is hidden.
    QAction *previousAction() const { return m_previousAction; }
    QAction *nextAction() const { return m_nextAction; }
    // The chapters of the text on screen, at file positions.
    const ChapterModel *model() const { return m_model; }
    // Title of the chapter that holds the text at the top of the view.
    QString currentTitle() const;

signals:
    void currentChapterChanged(const QString &title);

public slots:
    // Starts finding the headings of text, the view's new text; the list of
    // the previous text is gone at once.
    void scanText(const QString &text);
    void previousChapter();
    void nextChapter();

private:
    void createWidgets();
    void createActions();
    void createLayout();
    void dropChapters();
    void showChapters();
    void followReading();
    void jumpToRow(int row);
    void setCurrentRow(int row);

    QTextEdit *m_textWidget = nullptr;    // the reading view, not owned
    TextDisplay *m_textDisplay = nullptr; // not owned
    // Children of the panel:
    ChapterModel *m_model;
    QStackedWidget *m_stack;
    QListView *m_view;
    QLabel *m_lblEmpty;
    QAction *m_previousAction;
    QAction *m_nextAction;
    // A new scan replaces the one being watched, whose result is then dropped.
    QFutureWatcher<QVector<Chapter>> m_scan;
    int m_currentRow = -1;
};

#endif // CHAPTERPANEL_H
