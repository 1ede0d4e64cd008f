#include "ChapterPanel.h"

#include "ChapterModel.h"
#include "ChapterRuleDialog.h"
#include "ProgramConstants.h"
#include "ReadingState.h"
#include "TextDisplay.h"
#include "WorkerPool.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QMenu>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
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
    connect(&m_scan, &QFutureWatcher<ChapterScan>::finished, this, &ChapterPanel::showChapters);
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
    // A long title ends in "…" at the panel's edge, its tooltip has all of
    // it: a horizontal scroll bar would hide the 回目 behind the ordinal.
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_view->setTextElideMode(Qt::ElideRight);
    // Room for a short heading even where the window's controls take most
    // of its width, as they do in English.
    m_view->setMinimumWidth(m_view->fontMetrics().horizontalAdvance(QString(8, QChar(0x7AE0))));
    connect(m_view, &QListView::activated, this,
            [this](const QModelIndex &index) { jumpToRow(index.row()); });
    connect(m_view, &QListView::clicked, this,
            [this](const QModelIndex &index) { jumpToRow(index.row()); });
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_view, &QListView::customContextMenuRequested, this, &ChapterPanel::showListMenu);

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
    QToolButton *rule = button(QStringLiteral("btnChapterRule"), m_ruleAction);
    rule->setToolButtonStyle(Qt::ToolButtonTextOnly);
    steps->addWidget(rule);
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

    m_ruleAction = new QAction(QCoreApplication::translate("QObject", "目录规则…"), this);
    m_ruleAction->setToolTip(
        QCoreApplication::translate("QObject", "选择这本书找章节的规则，或写一个自己的"));
    connect(m_ruleAction, &QAction::triggered, this, &ChapterPanel::chooseRule);
    m_removeAction = new QAction(QCoreApplication::translate("QObject", "删除此章"), this);
    connect(m_removeAction, &QAction::triggered, this,
            [this] { removeChapter(m_removeAction->data().toInt()); });

    // F9 shows and hides side panes in the desktop's document viewers.
    toggleViewAction()->setShortcut(QKeySequence(Qt::Key_F9));
    withShortcut(toggleViewAction());
    // Hidden, the list kept its place while the reading moved on.
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible && m_currentRow >= 0)
            m_view->scrollTo(m_model->index(m_currentRow), QAbstractItemView::PositionAtCenter);
    });
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
    connect(display, &TextDisplay::textLoaded, this, &ChapterPanel::textInView);
}

// The list of the text that leaves must not outlive it: a long text arrives
// well after it is on screen, and a scan still running for the old one would
// list its chapters over the new one. An empty scan takes the old one's
// place.
void ChapterPanel::dropChapters()
{
    m_model->setChapters({});
    m_found.clear();
    m_scannedRule.reset();
    setCurrentRow(-1);
    m_scan.setFuture(WorkerPool::run([] { return ChapterScan(); }));
}

int ChapterPanel::chapterCount() const
{
    return m_model->rowCount();
}

void ChapterPanel::setReadingState(ReadingState *state)
{
    m_state = state;
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
    const ChapterRule rule = ruleOfBook();
    m_scannedRule = rule;
    m_scan.setFuture(WorkerPool::run([text, rule] { return ChapterRules::scan(text, rule); }));
}

// The list of a long text may be shown before the text is all in the view.
// A rule chosen meanwhile was only previewed on what had arrived, and lines
// made chapters have no title until their line is in the view.
void ChapterPanel::textInView(const QString &text)
{
    if (!m_scannedRule)
        return;
    if (*m_scannedRule != ruleOfBook())
        scanText(text);
    else if (m_scan.isFinished() && !editsOfBook().isEmpty())
        showEdited();
}

void ChapterPanel::showChapters()
{
    showFound(m_scan.result());
}

// Found in the text as shown, kept as positions in the file's text.
void ChapterPanel::showFound(const ChapterScan &scan)
{
    m_found = scan.chapters;
    if (m_textDisplay != nullptr) {
        for (Chapter &chapter : m_found)
            chapter.position = m_textDisplay->toFilePosition(chapter.position);
    }
    m_ruleError = scan.error;
    showEdited();
}

void ChapterPanel::showEdited()
{
    // A rule that failed lists nothing, so that a list cut short is not
    // taken for the book's.
    if (m_ruleError.isEmpty())
        m_model->setChapters(
            editsOfBook().applied(m_found, [this](int position) { return titleAt(position); }));
    else
        m_model->setChapters({});
    m_lblEmpty->setText(
        m_ruleError.isEmpty()
            ? QCoreApplication::translate("QObject", "未找到章节")
            : QCoreApplication::translate("QObject", "目录规则无法使用：%1").arg(m_ruleError));
    if (m_model->rowCount() > 0)
        m_stack->setCurrentWidget(m_view);
    else
        m_stack->setCurrentWidget(m_lblEmpty);
    m_currentRow = -1;
    setCurrentRow(-1);
    followReading();
}

QString ChapterPanel::fileName() const
{
    return m_textDisplay != nullptr ? m_textDisplay->m_fileName : QString();
}

ChapterRule ChapterPanel::ruleOfBook() const
{
    if (m_state == nullptr || fileName().isEmpty())
        return ChapterRule();
    return ChapterRule::fromChoice(m_state->choice(fileName(), ChapterRule::ChoiceKey));
}

ChapterEdits ChapterPanel::editsOfBook() const
{
    if (m_state == nullptr || fileName().isEmpty())
        return ChapterEdits();
    return ChapterEdits::fromChoice(m_state->choice(fileName(), ChapterEdits::ChoiceKey));
}

void ChapterPanel::keepChoice(const QString &key, const QString &value)
{
    if (m_state == nullptr || fileName().isEmpty())
        return;
    if (m_state->setChoice(fileName(), key, value))
        m_state->save(readingStateFilePath());
}

// The heading part of the line that starts at filePosition; empty where no
// line of the text on screen starts there, or the line is blank.
QString ChapterPanel::titleAt(int filePosition) const
{
    if (m_textWidget == nullptr || m_textDisplay == nullptr)
        return QString();
    const QTextBlock block =
        m_textWidget->document()->findBlock(m_textDisplay->toShownPosition(filePosition));
    if (!block.isValid() || m_textDisplay->toFilePosition(block.position()) != filePosition)
        return QString();
    return ChapterIndex::titleOf(block.text());
}

void ChapterPanel::addChapterAt(int filePosition)
{
    if (m_textWidget == nullptr || m_textDisplay == nullptr || m_textDisplay->isLoading())
        return;
    const QTextBlock block =
        m_textWidget->document()->findBlock(m_textDisplay->toShownPosition(filePosition));
    if (!block.isValid())
        return;
    const int lineStart = m_textDisplay->toFilePosition(block.position());
    if (titleAt(lineStart).isEmpty())
        return;
    ChapterEdits edits = editsOfBook();
    edits.add(lineStart);
    keepChoice(ChapterEdits::ChoiceKey, edits.toChoice());
    showEdited();
}

void ChapterPanel::removeChapter(int row)
{
    if (row < 0 || row >= m_model->rowCount())
        return;
    ChapterEdits edits = editsOfBook();
    edits.remove(m_model->chapter(row).position);
    keepChoice(ChapterEdits::ChoiceKey, edits.toChoice());
    showEdited();
}

void ChapterPanel::showListMenu(const QPoint &at)
{
    const QModelIndex index = m_view->indexAt(at);
    m_removeAction->setEnabled(index.isValid());
    m_removeAction->setData(index.row());
    QMenu menu;
    menu.addAction(m_removeAction);
    menu.addSeparator();
    menu.addAction(m_ruleAction);
    menu.exec(m_view->viewport()->mapToGlobal(at));
}

// Opened beside the window, which it keeps from other input meanwhile; the
// scans run in the background while the reader chooses.
void ChapterPanel::chooseRule()
{
    if (m_textWidget == nullptr || fileName().isEmpty())
        return;
    auto *dialog =
        new ChapterRuleDialog(m_textWidget->document()->toPlainText(), ruleOfBook(), window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const QString book = fileName();
    const bool whole = m_textDisplay == nullptr || !m_textDisplay->isLoading();
    connect(dialog, &QDialog::accepted, this, [this, dialog, book, whole] {
        if (book == fileName())
            useRule(dialog->rule(), whole ? dialog->scan() : std::optional<ChapterScan>());
    });
    dialog->open();
}

// A scan of part of a text (the dialog previews what has arrived) is not
// the book's list: the text still arriving is scanned by the new rule once
// it is all in, one that came in while the dialog was open is scanned now.
void ChapterPanel::useRule(const ChapterRule &rule, const std::optional<ChapterScan> &scan)
{
    keepChoice(ChapterRule::ChoiceKey, rule.toChoice());
    if (scan) {
        m_scannedRule = rule;
        showFound(*scan);
    } else if (!m_textDisplay->isLoading()) {
        scanText(m_textWidget->document()->toPlainText());
    }
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
    if (row >= 0) {
        m_view->setCurrentIndex(m_model->index(row));
        // The view scrolls to its current row only while it is visible.
        m_view->scrollTo(m_model->index(row));
    } else
        m_view->clearSelection();
    emit currentChapterChanged(currentTitle());
}
