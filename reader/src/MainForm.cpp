#include "MainForm.h"
#include "ui_MainForm.h"

#include "AboutForm.h"
#include "BookmarkConfig.h"
#include "BookmarkMenug.h"
#include "ChapterPanel.h"
#include "Config.h"
#include "ProgramConstants.h"
#include "THistoryFileMenu.h"
#include "TextCodecMenu.h"
#include "TextDisplay.h"
#include "TextEdit.h"
#include "TextMenu.h"
#include "TextScroll.h"
#include "ZkAdHelper.h"
#include "ZkCheckUpdate.h"
#include "ZkUtility.h"

#include <QAction>
#include <QApplication>
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
    initComponents();
    initJumps();
    initChapters();
    connectSignals();
    initAd();
    loadConfig();
    setAcceptDrops(true);
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

void MainForm::openFileDialog()
{
    const QString fileName = QFileDialog::getOpenFileName(
        this, QCoreApplication::translate("QObject", "选择文本文件"), QString(),
        QCoreApplication::translate("QObject", "文本文件(*.txt);;全部文件(*.*)"));
    openTextFile(fileName);
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
    const bool opened = m_textDisplay->openFile(fileName, true, 0);
    // listed even when missing: the display has told the user already
    m_historyMenu->addFile(fileName);
    // After the file's own opening steps, so the bookmark wins over them.
    if (opened && position >= 0)
        m_textDisplay->showPosition(position, 1.0 / 3);
}

void MainForm::closeEvent(QCloseEvent *event)
{
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
