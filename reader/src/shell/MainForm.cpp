#include "MainForm.h"
#include "ui_MainForm.h"

#include "AboutForm.h"
#include "AutoScrollControl.h"
#include "BookShelf.h"
#include "BookmarkConfig.h"
#include "BookmarkMenug.h"
#include "ChapterModel.h"
#include "ChapterPanel.h"
#include "CleaningRuleStore.h"
#include "ColorPresetPanel.h"
#include "ComfortPanel.h"
#include "Config.h"
#include "FindAll.h"
#include "FullScreenMode.h"
#include "LoadProgressBar.h"
#include "OpenRequest.h"
#include "ProgramConstants.h"
#include "ProgressOverlay.h"
#include "ReaderSync.h"
#include "ReadingProgress.h"
#include "ReadingSession.h"
#include "ReadingState.h"
#include "ScriptPanel.h"
#include "StoreWarnings.h"
#include "SyncState.h"
#include "THistoryFileMenu.h"
#include "TextCleanup.h"
#include "TextCleanupPanel.h"
#include "TextCodecMenu.h"
#include "TextDisplay.h"
#include "TextEdit.h"
#include "TextMenu.h"
#include "TextScroll.h"
#include "WindowKeys.h"
#include "ZkAdHelper.h"
#include "ZkCheckUpdate.h"
#include "ZkUtility.h"

#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QColorDialog>
#include <QDesktopWidget>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QMimeData>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
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

// Letters and brackets, free in a reader and typed with one hand; the
// arrows and Space already move the text.
const struct {
    QKeySequence toggle{Qt::Key_S};
    QKeySequence faster{Qt::Key_BracketRight};
    QKeySequence slower{Qt::Key_BracketLeft};
} AutoScrollKeys;

const QKeySequence ShelfKey(Qt::CTRL + Qt::Key_B);

const int SmallestTextPointSize = 6;
const int LargestTextPointSize = 72;

} // namespace

MainForm::MainForm(QWidget *parent) : QMainWindow(parent), ui(new Ui::MainForm)
{
    ui->setupUi(this);
    zk::moveCenter(this, QApplication::desktop());
    createComponents();
    initComponents();
    initJumps();
    initChapters();
    initSearch();
    connectSignals();
    initAd();
    loadConfig();
    setAcceptDrops(true);
    initReadingComfort();
    // The reading keys work from the first moment, wherever the pointer is.
    ui->textWidget->setFocus(Qt::OtherFocusReason);
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
    m_storeWarnings = new StoreWarnings(this);
    m_storeWarnings->watch(m_appConfig);
    m_storeWarnings->watch(m_bookmarkConfig);
}

void MainForm::initComponents()
{
    // The room the chapter list leaves when hidden goes to the tabs, not
    // to the empty column beside them.
    ui->horizontalLayout_3->setStretch(0, 1);
    // Returns at once; a prompt, if any, comes later from the event loop.
    m_checkUpdate->exec(UpdateCheckUrl, UpdateId, UpdateVersion, UpdatePageUrl, this, true);
    // The bookmarks are in memory before the bookmark menu is built.
    m_bookmarkConfig->load(bookmarkFilePath());
    m_textScroll->setScrollBar(ui->textWidget->verticalScrollBar());
    m_textScroll->setTextView(ui->textWidget);

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

    // Every road to a file leads through openTextFile.
    const auto open = [this](const OpenRequest &request) {
        openTextFile(request);
    };
    connect(m_bookmarkMenu, &BookmarkMenug::openRequested, this, open);
    connect(m_historyMenu, &THistoryFileMenu::openRequested, this, open);
    connect(m_codecMenu, &TextCodecMenu::openRequested, this, open);

    connect(m_textDisplay, &TextDisplay::textRead, m_chapterPanel, &ChapterPanel::scanText);
    connect(m_textDisplay, &TextDisplay::opened, this, &MainForm::showWindowTitle);
    m_loadProgress = new LoadProgressBar(ui->textWidget);
    connect(m_textDisplay, &TextDisplay::loadProgress, m_loadProgress,
            &LoadProgressBar::showProgress);
    connect(m_chapterPanel, &ChapterPanel::currentChapterChanged, this, &MainForm::showWindowTitle);
}

// The chapter list docks beside the window's content.
void MainForm::initChapters()
{
    m_appTitle = windowTitle();
    m_chapterPanel = new ChapterPanel(this);
    m_chapterPanel->setTextWidget(ui->textWidget);
    m_chapterPanel->setTextDisplay(m_textDisplay);
    m_chapterPanel->dockOn(this, ui->tabWidget);
    connect(m_textMenu, &TextMenu::chapterRequested, this, [this](int position) {
        m_chapterPanel->addChapterAt(m_textDisplay->toFilePosition(position));
    });
    const ChapterModel *chapters = m_chapterPanel->model();
    m_bookmarkMenu->setChapterTitles(
        [chapters](int position) { return chapters->titleAt(position); });
}

void MainForm::initSearch()
{
    m_findAll = new FindAll(this, m_textDisplay, ui->textWidget);
    m_findAll->setControls(ui->edtFindText, ui->btnFindAll, ui->chkMatchCase, ui->chkRegex);
    m_findAll->attachTo(m_chapterPanel);
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

void MainForm::openFileDialog()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, QCoreApplication::translate("QObject", "选择文本文件"), dialogFolder(),
        QCoreApplication::translate("QObject", "文本文件(*.txt);;全部文件(*)"));
    // Cancelled, the dialog names no file.
    if (!fileName.isEmpty())
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
    emit colorsApplied(Config::textColor, Config::backColor);
    m_appConfig->save(configFilePath());
}

void MainForm::backColorChange(QColor color)
{
    Config::backColor = color;
    m_textDisplay->setBackColor(color);
    emit colorsApplied(Config::textColor, Config::backColor);
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

// Only what could be shown as text is listed; the display has told the user
// why anything else could not.
void MainForm::openTextFile(const OpenRequest &request)
{
    const QString fileName = QDir::toNativeSeparators(request.fileName);
    const bool detect = request.codec == TextLoader::AutoDetect;
    m_textDisplay->setTransformOptions(m_cleanup->optionsFor(fileName));
    if (!m_textDisplay->openFile(fileName, detect, detect ? 0 : request.codec))
        return;
    if (request.listed && !m_textDisplay->isNotText())
        m_historyMenu->addFile(fileName);
    if (request.position >= 0)
        m_textDisplay->showPosition(request.position, request.fraction);
}

void MainForm::openTextFile(const QString &fileName)
{
    OpenRequest request;
    request.fileName = fileName;
    openTextFile(request);
}

// The window goes at once; the last changes still go to the sync server
// before the program ends, for a few seconds at most.
void MainForm::closeEvent(QCloseEvent *event)
{
    m_session->save(m_fullScreen->windowState());
    QMainWindow::closeEvent(event);
    m_sync->finish([] { QCoreApplication::exit(0); });
}

void MainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(UriListMime))
        event->acceptProposedAction();
}

void MainForm::dropEvent(QDropEvent *event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    // What is not a local file has no name to open.
    if (!urls.isEmpty() && !urls.first().toLocalFile().isEmpty())
        openTextFile(urls.first().toLocalFile());
}

void MainForm::openArguments(const QStringList &arguments, const QString &workingFolder)
{
    openLater(fileArgument(arguments, workingFolder));
}

QString MainForm::fileArgument(const QStringList &arguments, const QString &workingFolder)
{
    if (arguments.size() < 2 || arguments.at(1).isEmpty())
        return QString();
    return QDir(workingFolder).absoluteFilePath(arguments.at(1));
}

// A start without a file comes back to the book read last.
void MainForm::openAtStart(const QString &fileName)
{
    openLater(fileName.isEmpty() ? m_shelf->bookToReopen() : fileName);
}

void MainForm::openLater(const QString &fileName)
{
    if (!fileName.isEmpty())
        QTimer::singleShot(0, this, [this, fileName] { openTextFile(fileName); });
}

void MainForm::openHandedOver(const QString &fileName)
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (!fileName.isEmpty())
        openTextFile(fileName);
}

void MainForm::initReadingComfort()
{
    m_session = new ReadingSession(this, m_textDisplay, ui->textWidget, ui->widget_6);
    m_storeWarnings->watch(m_session->state());
    m_chapterPanel->setReadingState(m_session->state());
    m_cleanup = new TextCleanup(this, m_textDisplay, m_session->state());
    m_session->addPanel(m_cleanup->panel());
    m_session->addPanel(m_cleanup->scriptPanel());
    m_cleanup->scriptPanel()->placeButton(ui->widget_11);
    m_storeWarnings->watch(m_cleanup->store());
    connect(m_cleanup, &TextCleanup::openRequested, this,
            [this](const OpenRequest &request) { openTextFile(request); });
    m_fullScreen = new FullScreenMode(this, ui->textWidget, {ui->tabWidget, ui->widget, ui->wdtAd});
    connect(m_session->comfortPanel()->fullScreenButton(), &QPushButton::clicked, m_fullScreen,
            &FullScreenMode::toggle);
    initProgress();
    initColorPresets();
    initShelf();
    createShortcuts();
    m_session->restore();
    m_cleanup->load();
    // Once the stores hold what this machine read, so that nothing is
    // merged against stores still empty.
    m_sync = new ReaderSync(this, ui->tabWidget, m_textDisplay, m_session->state(),
                            m_bookmarkConfig, m_bookmarkMenu);
    m_storeWarnings->watch(m_sync->state());
}

// Beside the encoding's name, and faint at the foot of the text in full
// screen.
void MainForm::initProgress()
{
    m_progress = new ReadingProgress(this, m_textDisplay, m_chapterPanel, ui->textWidget);
    // Right of the script button, above the encoding's name.
    auto *label = new QLabel(ui->widget_11);
    label->setObjectName(QStringLiteral("lblProgress"));
    qobject_cast<QBoxLayout *>(ui->widget_11->layout())->insertWidget(1, label);
    m_progress->addLabel(label);
    auto *overlay = new ProgressOverlay(ui->textWidget);
    m_progress->addLabel(overlay);
    overlay->setColors(Config::textColor, Config::backColor);
    connect(m_fullScreen, &FullScreenMode::switched, overlay, &ProgressOverlay::followFullScreen);
    connect(this, &MainForm::colorsApplied, overlay, &ProgressOverlay::setColors);
}

void MainForm::initColorPresets()
{
    auto *presets = new ColorPresetPanel;
    m_session->addPanel(presets);
    connect(presets, &ColorPresetPanel::presetChosen, this,
            [this](const QColor &text, const QColor &back) {
                Config::textColor = text;
                Config::backColor = back;
                m_textDisplay->setTextColor(text);
                m_textDisplay->setBackColor(back);
                emit colorsApplied(text, back);
                m_appConfig->save(configFilePath());
            });
}

void MainForm::initShelf()
{
    m_shelf = new BookShelf(this, m_textDisplay, m_session->state(), m_progress, m_chapterPanel);
    m_shelf->placeButton(ui->tabWidget);
    m_session->addPanel(m_shelf->createReopenBox());
    connect(m_shelf, &BookShelf::openRequested, this,
            [this](const OpenRequest &request) { openTextFile(request); });
    connect(m_historyMenu, &THistoryFileMenu::shelfRequested, m_shelf, &BookShelf::show);
}

// Ctrl+0 goes back to the size a new reader starts with.
void MainForm::stepTextFontSize(int step)
{
    QFont font = Config::textFont;
    const int size = font.pointSize() > 0 ? font.pointSize() : Config::DefaultTextPointSize;
    font.setPointSize(step == 0 ? Config::DefaultTextPointSize
                                : qBound(SmallestTextPointSize, size + step, LargestTextPointSize));
    textFontChange(font);
}

// Window shortcuts, so a dialog in front of the window has them all off.
void MainForm::createShortcuts()
{
    m_keys = new WindowKeys(this);
    const QKeySequence open(Qt::CTRL + Qt::Key_O), bookmark(Qt::CTRL + Qt::Key_D);
    const QKeySequence fullScreen(Qt::Key_F11), find(Qt::CTRL + Qt::Key_F);
    m_keys->add(open, [this] { openFileDialog(); });
    m_keys->add(bookmark, [this] { addBookmarkHere(); });
    m_keys->add(fullScreen, [this] { m_fullScreen->toggle(); });
    m_keys->add(Qt::Key_Space, [this] { m_textScroll->scrollPage(true); });
    m_keys->add(Qt::SHIFT + Qt::Key_Space, [this] { m_textScroll->scrollPage(false); });
    m_keys->add(Qt::Key_PageDown, [this] { m_textScroll->scrollPage(true); });
    m_keys->add(Qt::Key_PageUp, [this] { m_textScroll->scrollPage(false); });
    m_keys->add(Qt::CTRL + Qt::Key_Home, [this] { goToTextEdge(false); });
    m_keys->add(Qt::CTRL + Qt::Key_End, [this] { goToTextEdge(true); });
    // Ctrl++ is Ctrl+= on most keyboards; both work.
    for (const int key : {int(Qt::CTRL + Qt::Key_Equal), int(Qt::CTRL + Qt::Key_Plus)})
        m_keys->add(key, [this] { stepTextFontSize(1); });
    m_keys->add(Qt::CTRL + Qt::Key_Minus, [this] { stepTextFontSize(-1); });
    m_keys->add(Qt::CTRL + Qt::Key_0, [this] { stepTextFontSize(0); });
    m_autoScroll =
        new AutoScrollControl(ui->cbbTextScroll, ui->sbScrollScreen, ui->sbScrollPage, this);
    m_keys->add(ShelfKey, [this] { m_shelf->show(); });
    m_keys->add(AutoScrollKeys.toggle, [this] { m_autoScroll->toggle(); });
    m_keys->add(AutoScrollKeys.faster, [this] { m_autoScroll->faster(); });
    m_keys->add(AutoScrollKeys.slower, [this] { m_autoScroll->slower(); });
    QShortcut *leaveFullScreen = m_keys->add(Qt::Key_Escape, [this] { m_fullScreen->set(false); });
    leaveFullScreen->setEnabled(false);
    connect(m_fullScreen, &FullScreenMode::switched, leaveFullScreen, &QShortcut::setEnabled);
    m_keys->addFindKey(find, [this] { goToFind(); });
    // Through the list of all matches, once there is one.
    m_keys->addFindKey(Qt::Key_F3, [this] {
        if (!m_findAll->step(true))
            m_textEdit->findNext();
    });
    m_keys->addFindKey(Qt::SHIFT + Qt::Key_F3, [this] {
        if (!m_findAll->step(false))
            m_textEdit->findFront();
    });
    m_keys->guardTextFields();
    setShortcutTips(open, bookmark, find, fullScreen);
}

void MainForm::setShortcutTips(const QKeySequence &open, const QKeySequence &bookmark,
                               const QKeySequence &find, const QKeySequence &fullScreen)
{
    WindowKeys::setTip(ui->btnOpen, QCoreApplication::translate("QObject", "打开文本文件"), open);
    WindowKeys::setTip(ui->btnBookmark,
                       QCoreApplication::translate("QObject", "书签；在阅读位置添加书签"),
                       bookmark);
    WindowKeys::setTip(ui->edtFindText, QCoreApplication::translate("QObject", "要查找的文字"),
                       find);
    WindowKeys::setTip(ui->btnFindNext, QCoreApplication::translate("QObject", "查找下一个"),
                       Qt::Key_F3);
    WindowKeys::setTip(ui->btnFindFront, QCoreApplication::translate("QObject", "查找前一个"),
                       Qt::SHIFT + Qt::Key_F3);
    WindowKeys::setTip(findChild<QWidget *>(QStringLiteral("btnShelf")),
                       QCoreApplication::translate("QObject", "读过的每一本书"), ShelfKey);
    WindowKeys::setTip(ui->cbbTextScroll,
                       QCoreApplication::translate("QObject", "自动滚动；开始或暂停"),
                       AutoScrollKeys.toggle);
    const QString speedTip = QCoreApplication::translate("QObject", "%1 快一些，%2 慢一些")
                                 .arg(AutoScrollKeys.faster.toString(QKeySequence::NativeText),
                                      AutoScrollKeys.slower.toString(QKeySequence::NativeText));
    ui->sbScrollScreen->setToolTip(speedTip);
    ui->sbScrollPage->setToolTip(speedTip);
    WindowKeys::setTip(ui->btnTextFont,
                       QCoreApplication::translate("QObject", "文本字体；Ctrl+= 放大，Ctrl+- 缩小"),
                       Qt::CTRL + Qt::Key_0);
    WindowKeys::setTip(m_session->comfortPanel()->fullScreenButton(),
                       QCoreApplication::translate("QObject", "只显示文本，全屏阅读；Esc 退出"),
                       fullScreen);
}

void MainForm::goToFind()
{
    m_fullScreen->set(false);
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
