#include "ChapterPanel.h"

#include "ChapterModel.h"
#include "TextDisplay.h"
#include "WorkerPool.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <cassert>

ChapterPanel::ChapterPanel(QWidget *parent) : QDockWidget(parent)
{
    setObjectName(QStringLiteral("chapterDock"));
    setWindowTitle(QCoreApplication::translate("QObject", "目录"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    createWidgets();
    createActions();
    createLayout();
    connect(&m_scan, &QFutureWatcher<QVector<Chapter>>::finished, this,
            &ChapterPanel::showChapters);
}

void ChapterPanel::createWidgets()
{
    m_model = new ChapterModel(this);
    m_view = new QListView;
    m_view->setObjectName(QStringLiteral("chapterView"));
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Thousands of rows: one row's height stands for all.
    m_view->setUniformItemSizes(true);
    m_view->setTextElideMode(Qt::ElideRight);
    // Room for a short heading even where the window's controls take most
    // of its width, as they do in English.
    m_view->setMinimumWidth(m_view->fontMetrics().horizontalAdvance(QString(8, QChar(0x7AE0))));
    connect(m_view, &QListView::activated, this,
            [this](const QModelIndex &index) { jumpToRow(index.row()); });
    connect(m_view, &QListView::clicked, this,
            [this](const QModelIndex &index) { jumpToRow(index.row()); });

    m_lblEmpty = new QLabel(QCoreApplication::translate("QObject", "未找到章节"));
    m_lblEmpty->setObjectName(QStringLiteral("lblNoChapters"));
    m_lblEmpty->setAlignment(Qt::AlignCenter);
    m_lblEmpty->setWordWrap(true);

    // One stack, so that the panel keeps its width whichever page shows.
    m_stack = new QStackedWidget;
    m_stack->addWidget(m_view);
    m_stack->addWidget(m_lblEmpty);
}

// The list, with the previous and next chapter below it.
void ChapterPanel::createLayout()
{
    const auto button = [](const QString &name, QAction *action) {
        auto *button = new QToolButton;
        button->setObjectName(name);
        button->setDefaultAction(action);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        return button;
    };
    auto *steps = new QHBoxLayout;
    steps->addWidget(button(QStringLiteral("btnPrevChapter"), m_previousAction));
    steps->addWidget(button(QStringLiteral("btnNextChapter"), m_nextAction));
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
    layout->addLayout(steps);
    setWidget(content);
}

void ChapterPanel::createActions()
{
    const auto withShortcut = [](QAction *action) {
        action->setToolTip(QStringLiteral("%1 (%2)").arg(
            action->text(), action->shortcut().toString(QKeySequence::NativeText)));
    };
    m_previousAction = new QAction(QCoreApplication::translate("QObject", "上一章"), this);
    // Arrows below the list, narrow in every language; the names are in the
    // tooltips.
    m_previousAction->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    m_previousAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    withShortcut(m_previousAction);
    connect(m_previousAction, &QAction::triggered, this, &ChapterPanel::previousChapter);

    m_nextAction = new QAction(QCoreApplication::translate("QObject", "下一章"), this);
    m_nextAction->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    m_nextAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    withShortcut(m_nextAction);
    connect(m_nextAction, &QAction::triggered, this, &ChapterPanel::nextChapter);

    // F9 shows and hides side panes in the desktop's document viewers.
    toggleViewAction()->setShortcut(QKeySequence(Qt::Key_F9));
    withShortcut(toggleViewAction());
    setCurrentRow(-1);
}

void ChapterPanel::dockOn(QMainWindow *window, QTabWidget *tabs)
{
    window->addDockWidget(Qt::LeftDockWidgetArea, this);
    window->resizeDocks({this}, {200}, Qt::Horizontal);
    // Shortcuts of the window, so that they work wherever the focus is.
    window->addActions({m_previousAction, m_nextAction, toggleViewAction()});
    // Beside the tabs, where it takes no room from the controls and shows on
    // every page.
    auto *button = new QToolButton(tabs);
    button->setObjectName(QStringLiteral("btnChapters"));
    button->setDefaultAction(toggleViewAction());
    tabs->setCornerWidget(button, Qt::TopRightCorner);
}

void ChapterPanel::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    // The layout moves the view while it settles and when the width
    // changes; both move the scroll bar or its range.
    QScrollBar *bar = edit->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &ChapterPanel::followReading);
    connect(bar, &QScrollBar::rangeChanged, this, &ChapterPanel::followReading);
}

void ChapterPanel::setTextDisplay(TextDisplay *display)
{
    m_textDisplay = display;
    connect(display, &TextDisplay::leaving, this, &ChapterPanel::dropChapters);
}

// The list of the text that leaves must not outlive it: a long text arrives
// well after it is on screen, and a scan still running for the old one would
// list its chapters over the new one. An empty scan takes the old one's
// place.
void ChapterPanel::dropChapters()
{
    m_model->setChapters({});
    setCurrentRow(-1);
    m_scan.setFuture(WorkerPool::run([] { return QVector<Chapter>(); }));
}

QString ChapterPanel::currentTitle() const
{
    return m_currentRow >= 0 ? m_model->chapter(m_currentRow).title : QString();
}

void ChapterPanel::scanText(const QString &text)
{
    m_model->setChapters({});
    m_stack->setCurrentWidget(m_view);
    setCurrentRow(-1);
    // The task holds a shared copy of the text and drops it when it ends.
    m_scan.setFuture(WorkerPool::run([text] { return ChapterIndex::scan(text); }));
}

void ChapterPanel::showChapters()
{
    // A text still arriving has not been scanned yet: "no chapters" would
    // be said too early.
    if (m_textDisplay != nullptr && m_textDisplay->isLoading())
        return;
    // Found in the text as shown, kept as positions in the file's text.
    QVector<Chapter> chapters = m_scan.result();
    if (m_textDisplay != nullptr) {
        for (Chapter &chapter : chapters)
            chapter.position = m_textDisplay->toFilePosition(chapter.position);
    }
    m_model->setChapters(chapters);
    if (m_model->rowCount() > 0)
        m_stack->setCurrentWidget(m_view);
    else
        m_stack->setCurrentWidget(m_lblEmpty);
    m_currentRow = -1;
    followReading();
}

void ChapterPanel::followReading()
{
    if (m_textDisplay == nullptr || m_model->rowCount() == 0)
        return;
    setCurrentRow(m_model->rowAt(m_textDisplay->topPosition()));
}

void ChapterPanel::previousChapter()
{
    followReading();
    if (m_currentRow > 0)
        jumpToRow(m_currentRow - 1);
}

void ChapterPanel::nextChapter()
{
    followReading();
    if (m_currentRow + 1 < m_model->rowCount())
        jumpToRow(m_currentRow + 1);
}

void ChapterPanel::jumpToRow(int row)
{
    assert(m_textDisplay != NULL);
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_textDisplay->showPosition(m_model->chapter(row).position, 0);
    setCurrentRow(row);
}

void ChapterPanel::setCurrentRow(int row)
{
    m_previousAction->setEnabled(row > 0);
    m_nextAction->setEnabled(row + 1 < m_model->rowCount());
    if (row == m_currentRow)
        return;
    m_currentRow = row;
    if (row >= 0)
        m_view->setCurrentIndex(m_model->index(row));
    else
        m_view->clearSelection();
    emit currentChapterChanged(currentTitle());
}
