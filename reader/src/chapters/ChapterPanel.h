#ifndef CHAPTERPANEL_H
#define CHAPTERPANEL_H

#include "ChapterEdits.h"
#include "ChapterRule.h"

#include <QDockWidget>
#include <QFutureWatcher>

#include <optional>

class ChapterModel;
class QAction;
class QLabel;
class QListView;
class QMainWindow;
class ReadingState;
class QStackedWidget;
class QTabWidget;
class QTextEdit;
class TextDisplay;

// The chapter list beside the reading view. It finds the headings of every
// text the view gets (off the GUI thread) by the book's rule, jumps to the
// one the reader picks and keeps the chapter being read current, also while
// it is hidden. The reader may choose the book's rule ("目录规则…"), make a
// line a chapter and take a chapter out; both are kept for the file among
// its choices in the reading state.
class ChapterPanel : public QDockWidget
{
    Q_OBJECT

public:
    explicit ChapterPanel(QWidget *parent = nullptr);

    void setTextWidget(QTextEdit *edit);
    void setTextDisplay(TextDisplay *display);
    // Where each book's rule and edits are kept; not owned. Without one,
    // every book is read by the automatic rule.
    void setReadingState(ReadingState *state);
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
    // That chapter's row, -1 above the first; and how many there are.
    int currentRow() const { return m_currentRow; }
    int chapterCount() const;

signals:
    void currentChapterChanged(const QString &title);

public slots:
    // Starts finding the headings of text, the view's new text (whole, but
    // maybe not all in the view yet); the list of the previous text is gone
    // at once.
    void scanText(const QString &text);
    void previousChapter();
    void nextChapter();
    // 设为章节: the line that holds filePosition (a file text position)
    // becomes a chapter of the book on screen.
    void addChapterAt(int filePosition);
    // 删除此章
    void removeChapter(int row);
    // 目录规则…
    void chooseRule();

private:
    void createWidgets();
    void createActions();
    void createLayout();
    void dropChapters();
    void textInView(const QString &text);
    void showChapters();
    void showFound(const ChapterScan &scan);
    void showEdited();
    void showListMenu(const QPoint &at);
    // scan: the rule's scan of the whole text, if the dialog had it.
    void useRule(const ChapterRule &rule, const std::optional<ChapterScan> &scan);
    QString titleAt(int filePosition) const;
    QString fileName() const;
    ChapterRule ruleOfBook() const;
    ChapterEdits editsOfBook() const;
    void keepChoice(const QString &key, const QString &value);
    void followReading();
    void jumpToRow(int row);
    void setCurrentRow(int row);

    QTextEdit *m_textWidget = nullptr;    // the reading view, not owned
    TextDisplay *m_textDisplay = nullptr; // not owned
    ReadingState *m_state = nullptr;      // not owned
    // Children of the panel:
    ChapterModel *m_model;
    QStackedWidget *m_stack;
    QListView *m_view;
    QLabel *m_lblEmpty;
    QAction *m_previousAction;
    QAction *m_nextAction;
    QAction *m_ruleAction;
    QAction *m_removeAction;
    // A new scan replaces the one being watched, whose result is then dropped.
    QFutureWatcher<ChapterScan> m_scan;
    // What the book's rule found, in file text positions, before the edits.
    QVector<Chapter> m_found;
    QString m_ruleError; // why the book's rule found nothing, if it failed
    // The rule of the last scan, none when the text on screen has had none.
    std::optional<ChapterRule> m_scannedRule;
    int m_currentRow = -1;
};

#endif // CHAPTERPANEL_H
