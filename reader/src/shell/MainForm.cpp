#include "MainForm.h"
#include "ui_MainForm.h"

#include "AboutForm.h"
#include "BookmarkConfig.h"
#include "BookmarkMenug.h"
#include "ChapterPanel.h"
#include "ComfortPanel.h"
#include "Config.h"
#include "ProgramConstants.h"
#include "ReadingPositions.h"
#include "ReadingState.h"
#include "THistoryFileMenu.h"
#include "TextCodecMenu.h"
#include "TextDisplay.h"
#include "TextEdit.h"
#include "TextMenu.h"
#include "TextScroll.h"
#include "ZkAdHelper.h"
#include "ZkCheckUpdate.h"
#include "ZkUtility.h"
#include "ZkXmlFile.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopWidget>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QUrl>

namespace
{

// Where the stored family is not installed (宋体 on most Linux desktops) the
// font dialog would preselect whatever family it lists first, so that
// confirming it unchanged gave the user a font never asked for. It starts
// from the family actually on screen instead.
QFont fontOnScreen(const QFont &font)
{
    const QFontInfo info(font);
    QFont shown(font);
    shown.setFamily(info.family());
    shown.setStyleName(info.styleName());
    return shown;
}

} // namespace

MainForm::MainForm(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainForm)
{
    ui->setupUi(this);
    zk::moveCenter(this, QApplication::desktop());
    createComponents();
    watchStores();
    initComponents();
    initJumps();
    initChapters();
    connectSignals();
    initAd();
    loadConfig();
    setAcceptDrops(true);
    initReadingComfort();
}

MainForm::~MainForm()
{
    delete ui;
}

// Constructors only set up each component's own objects; the form is
// handed out afterwards, in initComponents.
void MainForm::createComponents()
{
    m_checkUpdate = new ZkCheckUpdate(this);
    m_adHelper = new ZkAdHelper(this);
    m_appConfig = new Config(this);
    m_textScroll = new TextScroll(this);
    m_textDisplay = new TextDisplay(this);
    m_bookmarkMenu = new BookmarkMenug(this);
    m_textMenu = new TextMenu(this);
    m_bookmarkConfig = new BookmarkConfig(this);
    m_textEdit = new TextEdit(this);
    m_codecMenu = new TextCodecMenu(this);
    m_historyMenu = new THistoryFileMenu(this);
}

void MainForm::initComponents()
{
    // Returns at once; a prompt, if any, comes later from the event loop.
    m_checkUpdate->exec(UpdateCheckUrl, UpdateId, UpdateVersion, UpdatePageUrl, this, true);
    // The bookmarks are in memory before the bookmark menu is built.
    m_bookmarkConfig->load(bookmarkFilePath());
    m_textScroll->setScrollBar(ui->textWidget->verticalScrollBar());

    ui->btnBookmark->setMenu(m_bookmarkMenu->menu());
    m_bookmarkMenu->setTextWidget(ui->textWidget);
    m_bookmarkMenu->setParentWidget(this);
    m_bookmarkMenu->setBookmarkConfig(m_bookmarkConfig);
    m_bookmarkMenu->rebuildMenu();

    m_textMenu->setBookmarkMenu(m_bookmarkMenu);
    m_textMenu->setTextWidget(ui->textWidget);
    m_textMenu->createActions();

    m_textEdit->setTextWidget(ui->textWidget);
    m_textEdit->setFindEdit(ui->edtFindText);
    connect(ui->btnFindFront, &QPushButton::clicked, m_textEdit, &TextEdit::findFront);
    connect(ui->btnFindNext, &QPushButton::clicked, m_textEdit, &TextEdit::findNext);

    m_codecMenu->setTextDisplay(m_textDisplay);
    ui->btnCodec->setMenu(m_codecMenu->menu());
    m_codecMenu->setCodecLabel(ui->lblCodec);

    m_textDisplay->setTextWidget(ui->textWidget);
    m_textDisplay->setParentWidget(this);

    ui->btnHistory->setMenu(m_historyMenu->menu());
    m_historyMenu->setConfig(m_appConfig);
    m_historyMenu->setTextDisplay(m_textDisplay);
    m_historyMenu->setParentWidget(this);
}

// Bookmarks and finds move the view through the text display, which puts
// their line in the top third; the find box answers beside itself.
void MainForm::initJumps()
{
    m_bookmarkMenu->setTextDisplay(m_textDisplay);
    m_textEdit->setTextDisplay(m_textDisplay);
    m_textEdit->setResultLabel(ui->lblFindResult);
}

void MainForm::connectSignals()
{
    connect(ui->btnOpen, &QPushButton::clicked, this, &MainForm::openFileDialog);
    connect(ui->btnAbout, &QPushButton::clicked, this, &MainForm::showAbout);
    connect(ui->btnUiFont, &QPushButton::clicked, this, &MainForm::openUiFontDialog);
    connect(ui->btnTextFont, &QPushButton::clicked, this, &MainForm::openTextFontDialog);
    connect(ui->btnTextColor, &QPushButton::clicked, this, &MainForm::openTextColorDialog);
    connect(ui->btnBackColor, &QPushButton::clicked, this, &MainForm::openBackColorDialog);
    connect(ui->cbbTextScroll, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &MainForm::scrollTypeChange);
    connect(ui->sbScrollScreen, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MainForm::scrollScreenTimeChange);
    connect(ui->sbScrollPage, QOverload<int>::of(&QSpinBox::valueChanged), this,
            &MainForm::scrollPageTimeChange);

    connect(m_bookmarkMenu, &BookmarkMenug::openRequested, this, &MainForm::openTextFile);

    connect(m_textDisplay, &TextDisplay::textLoaded, m_chapterPanel, &ChapterPanel::scanText);
    connect(m_textDisplay, &TextDisplay::opened, this, &MainForm::showWindowTitle);
    m_loadProgress = new QProgressBar(ui->textWidget);
    m_loadProgress->setObjectName(QStringLiteral("pbLoad"));
    m_loadProgress->setFixedSize(180, 16);
    m_loadProgress->setFormat(tr("正在载入 %p%"));
    m_loadProgress->hide();
    connect(m_textDisplay, &TextDisplay::loadProgress, this, &MainForm::showLoadProgress);
    connect(m_chapterPanel, &ChapterPanel::currentChapterChanged, this, &MainForm::showWindowTitle);
}

// The chapter list docks beside the window's content, shown at first; the
// window's saved state, once restored, says whether it stays shown.
void MainForm::initChapters()
{
    m_appTitle = windowTitle();
    m_chapterPanel = new ChapterPanel(this);
    m_chapterPanel->setTextWidget(ui->textWidget);
    m_chapterPanel->setTextDisplay(m_textDisplay);
    addDockWidget(Qt::LeftDockWidgetArea, m_chapterPanel);
    resizeDocks({m_chapterPanel}, {200}, Qt::Horizontal);
    // Shortcuts of the window, so that they work wherever the focus is.
    addActions({m_chapterPanel->previousAction(), m_chapterPanel->nextAction(),
                m_chapterPanel->toggleViewAction()});
    addChapterButton();
}

// Beside the tabs, where it takes no room from the controls and shows on
// every page.
void MainForm::addChapterButton()
{
    auto *button = new QToolButton(ui->tabWidget);
    button->setObjectName(QStringLiteral("btnChapters"));
    button->setDefaultAction(m_chapterPanel->toggleViewAction());
    ui->tabWidget->setCornerWidget(button, Qt::TopRightCorner);
}

// "novel.txt - 第十章 突破 - 澄溪文本阅读器": the file, the chapter being
// read, the program.
void MainForm::showWindowTitle()
{
    QStringList parts;
    if (!m_textDisplay->m_fileName.isEmpty())
        parts << QFileInfo(m_textDisplay->m_fileName).fileName();
    if (!m_chapterPanel->currentTitle().isEmpty())
        parts << m_chapterPanel->currentTitle();
    parts << m_appTitle;
    setWindowTitle(parts.join(QStringLiteral(" - ")));
}

// The panel stays hidden until its configuration has arrived; the rotator
// shows it then.
void MainForm::initAd()
{
    ui->wdtAd->setVisible(false);
    m_adHelper->setWidget(ui->wdtAd);
    m_adHelper->m_url = AdConfigUrl;
    m_adHelper->m_interval = 5000;
    m_adHelper->exec();
}

void MainForm::loadConfig()
{
    m_appConfig->load(configFilePath());

    QApplication::setFont(Config::uiFont);
    setFont(Config::uiFont);

    m_historyMenu->loadList(Config::fileList);

    m_textDisplay->setTextFont(Config::textFont);
    m_textDisplay->setTextColor(Config::textColor);
    m_textDisplay->setBackColor(Config::backColor);

    m_loadingConfig = true;
    ui->sbScrollScreen->setValue(Config::scrollScreenTime);
    ui->sbScrollPage->setValue(Config::scrollPageTime);
    m_loadingConfig = false;
}

void MainForm::showAbout()
{
    AboutForm about(this);
    about.setFont(QApplication::font());
    about.exec();
}

// Slim, in the lower corner of the text, and only while a long text is
// still arriving; it follows the corner as the window is resized.
void MainForm::showLoadProgress(int percent)
{
    m_loadProgress->setValue(percent);
    const QWidget *view = ui->textWidget->viewport();
    const QPoint corner = view->mapTo(ui->textWidget, view->rect().bottomRight());
    m_loadProgress->move(corner - QPoint(m_loadProgress->width(), m_loadProgress->height()));
    m_loadProgress->setVisible(percent < 100);
}

void MainForm::openFileDialog()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, QCoreApplication::translate("QObject", "选择文本文件"), dialogFolder(),
        QCoreApplication::translate("QObject", "文本文件(*.txt);;全部文件(*)"));
    openTextFile(fileName);
}

// The folder of the file on screen, else of the last file opened, else the
// home folder: the program's own folder holds no novels.
QString MainForm::dialogFolder() const
{
    QString lastFile = m_textDisplay->m_fileName;
    if (lastFile.isEmpty() && !Config::fileList.isEmpty())
        lastFile = Config::fileList.first();
    const QFileInfo folder(QFileInfo(lastFile).absolutePath());
    return !lastFile.isEmpty() && folder.isDir() ? folder.filePath() : QDir::homePath();
}

void MainForm::openUiFontDialog()
{
    QFontDialog dialog(fontOnScreen(font()), this);
    connect(&dialog, &QFontDialog::fontSelected, this, &MainForm::uiFontChange);
    dialog.exec();
}

void MainForm::openTextFontDialog()
{
    QFontDialog dialog(fontOnScreen(m_textDisplay->m_textFont), this);
    connect(&dialog, &QFontDialog::fontSelected, this, &MainForm::textFontChange);
    dialog.exec();
}

void MainForm::openTextColorDialog()
{
    QColorDialog dialog(m_textDisplay->m_textColor, this);
    connect(&dialog, &QColorDialog::colorSelected, this, &MainForm::textColorChange);
    dialog.exec();
}

void MainForm::openBackColorDialog()
{
    QColorDialog dialog(m_textDisplay->m_backColor, this);
    connect(&dialog, &QColorDialog::colorSelected, this, &MainForm::backColorChange);
    dialog.exec();
}

// Each change is stored, applied and saved at once, even when the value
// did not change: the user asked for it, and the file then says so.
void MainForm::uiFontChange(QFont font)
{
    Config::uiFont = font;
    QApplication::setFont(font);
    setFont(font);
    m_appConfig->save(configFilePath());
}

void MainForm::textFontChange(QFont font)
{
    Config::textFont = font;
    m_textDisplay->setTextFont(font);
    m_appConfig->save(configFilePath());
}

void MainForm::textColorChange(QColor color)
{
    Config::textColor = color;
    m_textDisplay->setTextColor(color);
    m_appConfig->save(configFilePath());
}

void MainForm::backColorChange(QColor color)
{
    Config::backColor = color;
    m_textDisplay->setBackColor(color);
    m_appConfig->save(configFilePath());
}

// The scroll type is deliberately not stored: every start begins stopped.
void MainForm::scrollTypeChange(int i)
{
    switch (i) {
    case 0:
        m_textScroll->setScrollType(0, 1000);
        break;
    case 1:
        m_textScroll->setScrollType(1, ui->sbScrollScreen->value());
        break;
    case 2:
        m_textScroll->setScrollType(2, ui->sbScrollPage->value() * 1000);
        break;
    default:
        break;
    }
}

// Changing an interval also chooses its scroll type and starts it.
void MainForm::scrollScreenTimeChange(int time)
{
    if (m_loadingConfig)
        return;
    ui->cbbTextScroll->setCurrentIndex(1);
    m_textScroll->setScrollType(1, time);
    Config::scrollScreenTime = time;
    m_appConfig->save(configFilePath());
}

void MainForm::scrollPageTimeChange(int time)
{
    if (m_loadingConfig)
        return;
    ui->cbbTextScroll->setCurrentIndex(2);
    m_textScroll->setScrollType(2, time * 1000);
    Config::scrollPageTime = time;
    m_appConfig->save(configFilePath());
}

void MainForm::openTextFile(QString fileName, int position)
{
    if (fileName.isEmpty())
        return;
    fileName = QDir::toNativeSeparators(fileName);
    // Only what could be shown is listed; the display has told the user
    // why anything else could not.
    if (!m_textDisplay->openFile(fileName, true, 0))
        return;
    m_historyMenu->addFile(fileName);
    // After the file's own opening steps, so the bookmark wins over them.
    if (position >= 0)
        m_textDisplay->showPosition(position, 1.0 / 3);
}

// Settings and bookmarks are saved at every change and nothing else tells
// the user when that fails; every store of the window reports here.
void MainForm::watchStores()
{
    watchStore(m_appConfig);
    watchStore(m_bookmarkConfig);
}

void MainForm::watchStore(ZkXmlFile *store)
{
    connect(store, &ZkXmlFile::saveFailed, this, &MainForm::reportSaveFailure);
    connect(store, &ZkXmlFile::originalKept, this, &MainForm::reportKeptOriginal);
}

void MainForm::reportSaveFailure(const QString &fileName)
{
    if (m_toldSaveFailure)
        return;
    m_toldSaveFailure = true;
    showWarning(
        QCoreApplication::translate("QObject", "无法保存到 %1。\n本次的更改在关闭程序后会丢失。")
            .arg(QDir::toNativeSeparators(fileName)));
}

void MainForm::reportKeptOriginal(const QString &fileName, const QString &copyName)
{
    showWarning(QCoreApplication::translate("QObject", "%1 未能完整读取。\n原来的文件已保存为 %2。")
                    .arg(QDir::toNativeSeparators(fileName), QDir::toNativeSeparators(copyName)));
}

// Saves happen inside slots of spin boxes and dialogs; a box that does not
// block leaves them to finish.
void MainForm::showWarning(const QString &text)
{
    auto *box =
        new QMessageBox(QMessageBox::Warning, QCoreApplication::translate("QObject", "提示"), text,
                        QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainForm::closeEvent(QCloseEvent *event)
{
    saveReadingState();
    QMainWindow::closeEvent(event);
    QCoreApplication::exit(0);
}

void MainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(UriListMime))
        event->acceptProposedAction();
}

void MainForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty())
        return;
    openTextFile(urls.first().toLocalFile());
}

void MainForm::openArguments(const QStringList &arguments, const QString &workingFolder)
{
    if (arguments.size() < 2 || arguments.at(1).isEmpty())
        return;
    const QString fileName = QDir(workingFolder).absoluteFilePath(arguments.at(1));
    QTimer::singleShot(0, this, [this, fileName] { openTextFile(fileName); });
}

void MainForm::initReadingComfort()
{
    m_readingState = new ReadingState(this);
    watchStore(m_readingState);
    m_readingPositions = new ReadingPositions(this);
    m_readingPositions->setReadingState(m_readingState);
    m_readingPositions->setTextDisplay(m_textDisplay);
    m_readingPositions->setScrollBar(ui->textWidget->verticalScrollBar());

    m_comfortPanel = new ComfortPanel(ui->widget_6);
    auto *layout = new QVBoxLayout(ui->widget_6);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_comfortPanel);
    layout->addStretch();
    connect(m_comfortPanel, &ComfortPanel::comfortChanged, this, &MainForm::comfortChange);
    connect(m_comfortPanel->fullScreenButton(), &QPushButton::clicked, this,
            [this] { setFullScreen(!isFullScreen()); });

    createShortcuts();
    // Docks and toolbars exist by now, so the stored layout finds them.
    loadReadingState();
}

void MainForm::loadReadingState()
{
    m_readingState->load(readingStateFilePath());
    m_comfortPanel->setComfort(m_readingState->comfort);
    m_textDisplay->setComfort(m_readingState->comfort);
    // Data the window cannot use leaves it centred, as at a first start.
    restoreGeometry(m_readingState->windowGeometry);
    restoreState(m_readingState->windowState);
    // A reader closed in full screen comes back in its ordinary window.
    setWindowState(windowState() & ~Qt::WindowFullScreen);
}

void MainForm::saveReadingState()
{
    m_readingPositions->record();
    m_readingState->windowGeometry = saveGeometry();
    m_readingState->windowState = isFullScreen() ? m_stateBeforeFullScreen : saveState();
    m_readingState->save(readingStateFilePath());
}

void MainForm::comfortChange(const ComfortSettings &comfort)
{
    m_readingState->comfort = comfort;
    m_textDisplay->setComfort(comfort);
    m_readingState->save(readingStateFilePath());
}

namespace
{

void setShortcutTip(QWidget *widget, const QString &tip, const QKeySequence &key)
{
    widget->setToolTip(tip + QStringLiteral(" (") + key.toString(QKeySequence::NativeText) +
                       QLatin1Char(')'));
}

} // namespace

// Window shortcuts, so a dialog in front of the window has them all off.
void MainForm::createShortcuts()
{
    const QKeySequence open(Qt::CTRL + Qt::Key_O), bookmark(Qt::CTRL + Qt::Key_D);
    const QKeySequence fullScreen(Qt::Key_F11), find(Qt::CTRL + Qt::Key_F);
    const QKeySequence findNext(Qt::Key_F3), findFront(Qt::SHIFT + Qt::Key_F3);
    addShortcut(open, [this] { openFileDialog(); });
    addShortcut(bookmark, [this] { addBookmarkHere(); });
    addShortcut(fullScreen, [this] { setFullScreen(!isFullScreen()); });
    addShortcut(Qt::Key_Space, [this] { m_textScroll->scrollPage(true); });
    addShortcut(Qt::SHIFT + Qt::Key_Space, [this] { m_textScroll->scrollPage(false); });
    addShortcut(Qt::CTRL + Qt::Key_Home, [this] { goToTextEdge(false); });
    addShortcut(Qt::CTRL + Qt::Key_End, [this] { goToTextEdge(true); });
    m_leaveFullScreen = addShortcut(Qt::Key_Escape, [this] { setFullScreen(false); });
    m_leaveFullScreen->setEnabled(false);
    addShortcut(find, [this] { goToFind(); });
    addShortcut(findNext, [this] { m_textEdit->findNext(); });
    addShortcut(findFront, [this] { m_textEdit->findFront(); });
    m_findKeys = {find, findNext, findFront};
    for (QWidget *field : findChildren<QLineEdit *>())
        field->installEventFilter(this);
    for (QWidget *field : findChildren<QAbstractSpinBox *>())
        field->installEventFilter(this);

    setShortcutTip(ui->btnOpen, QCoreApplication::translate("QObject", "打开文本文件"), open);
    setShortcutTip(ui->btnBookmark,
                   QCoreApplication::translate("QObject", "书签；在阅读位置添加书签"), bookmark);
    setShortcutTip(ui->edtFindText, QCoreApplication::translate("QObject", "要查找的文字"), find);
    setShortcutTip(ui->btnFindNext, QCoreApplication::translate("QObject", "查找下一个"), findNext);
    setShortcutTip(ui->btnFindFront, QCoreApplication::translate("QObject", "查找前一个"),
                   findFront);
    setShortcutTip(m_comfortPanel->fullScreenButton(),
                   QCoreApplication::translate("QObject", "只显示文本，全屏阅读；Esc 退出"),
                   fullScreen);
}

QShortcut *MainForm::addShortcut(const QKeySequence &key, const std::function<void()> &action)
{
    auto *shortcut = new QShortcut(key, this);
    // Also where a window system leaves the window active behind a dialog.
    connect(shortcut, &QShortcut::activated, this, [action] {
        if (QApplication::activeModalWidget() == nullptr)
            action();
    });
    return shortcut;
}

// Keys typed into a text field belong to the field, whatever shortcut of the
// window (or of a panel docked on it) they would trigger; only the keys for
// finding still work there. A field that claims a key keeps the shortcut
// from firing.
bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!m_findKeys.contains(QKeySequence(int(key->modifiers()) | key->key()))) {
            event->accept();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Only the text stays: controls, advertisement panel, docks and the view's
// frame go. Automatic scrolling keeps going.
void MainForm::setFullScreen(bool on)
{
    if (on == isFullScreen())
        return;
    if (on) {
        m_stateBeforeFullScreen = saveState();
        QList<QWidget *> parts{ui->tabWidget, ui->widget, ui->wdtAd};
        for (QDockWidget *dock : findChildren<QDockWidget *>())
            parts << dock;
        for (QWidget *part : qAsConst(parts)) {
            if (!part->isHidden()) {
                m_hiddenForFullScreen << part;
                part->hide();
            }
        }
        ui->textWidget->setFrameShape(QFrame::NoFrame);
        ui->textWidget->setFocus();
    } else {
        for (const QPointer<QWidget> &part : qAsConst(m_hiddenForFullScreen)) {
            if (part)
                part->show();
        }
        m_hiddenForFullScreen.clear();
        ui->textWidget->setFrameShape(QFrame::StyledPanel);
    }
    setWindowState(windowState() ^ Qt::WindowFullScreen);
    m_leaveFullScreen->setEnabled(on);
}

void MainForm::goToFind()
{
    setFullScreen(false);
    ui->tabWidget->setCurrentWidget(ui->tab_3);
    ui->edtFindText->setFocus(Qt::ShortcutFocusReason);
    ui->edtFindText->selectAll();
}

// A cursor the reader put on the page marks the place (and a selection
// proposes the title); else the place is the text at the top of the view.
void MainForm::addBookmarkHere()
{
    const QTextEdit *view = ui->textWidget;
    if (!view->viewport()->rect().intersects(view->cursorRect()))
        m_textDisplay->showPosition(m_textDisplay->topPosition(), 0);
    m_bookmarkMenu->showAddBookmarkForm();
}

void MainForm::goToTextEdge(bool end)
{
    QTextCursor cursor(ui->textWidget->document());
    cursor.movePosition(end ? QTextCursor::End : QTextCursor::Start);
    ui->textWidget->setTextCursor(cursor);
    QScrollBar *bar = ui->textWidget->verticalScrollBar();
    bar->setValue(end ? bar->maximum() : bar->minimum());
}
