#include "MainForm.h"
#include "ui_MainForm.h"

#include "Config.h"
#include "ProgramConstants.h"
#include "ReadingLayout.h"
#include "TextDisplay.h"
#include "TextScroll.h"
#include "ZkAdHelper.h"
#include "ZkCheckUpdate.h"
#include "ZkUtility.h"

#include "ModalDialogWatcher.h"
#include "TemporaryProgramFolder.h"

#include <QColorDialog>
#include <QDesktopWidget>
#include <QDockWidget>
#include <QFileDialog>
#include <QFontDialog>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTextDocument>
#include <QtTest>

class TestMainForm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void widgetTree_data();
    void widgetTree();
    void layouts_data();
    void layouts();
    void controls();

    void startsCentredAndIdle();
    void closingKeepsOnlyTheWindowAndEndsLoop();
    void dragNeedsUriList_data();
    void dragNeedsUriList();
    void dropOpensFirstFileOnly();
    void dropIgnoresNonLocalUrl();
    void dropOfMissingFileReportsAndKeepsText();

    void defaultsWithoutConfig();
    void intervalChangeSelectsTypeAndSaves_data();
    void intervalChangeSelectsTypeAndSaves();
    void scrollTypeIsNeverStored();
    void failedSaveIsReportedOnce();
    void dialogChoiceIsAppliedAndSaved_data();
    void dialogChoiceIsAppliedAndSaved();
    void cancelledDialogWritesNothing_data();
    void cancelledDialogWritesNothing();
    void sameColourAgainStillSaves();
    void fontDialogStartsFromFontOnScreen();
    void restartAppliesStoredSettings();
    void shippedTranslationReplacesTexts();

    void comingBack_data();
    void comingBack();
    void commandLine_data();
    void commandLine();
    void fileDialogStartsWithTheLastFolder();
    void keys_data();
    void keys();
    void comfortKeys_data();
    void comfortKeys();
    void tabsTakeTheRoomOfTheChapterList();
    void progressInView_data();
    void progressInView();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    void drop(const QList<QUrl> &urls);
    QTimer *scrollTimer() const;

    QTemporaryDir m_files;
    MainForm *m_window = nullptr;
};

void TestMainForm::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    // Only the window's own close handling may end an event loop here; the
    // application's automatic quit would leave a quit request behind that
    // ends the next modal dialog at once.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(QFont(QStringLiteral("宋体"), 12));
}

namespace
{

// The settings are class-level values that outlive a window; a restart of
// the program starts from the built-in defaults again.
void resetSettings()
{
    Config::uiFont = QFont(QStringLiteral("宋体"), 12);
    Config::textFont = QFont(QStringLiteral("宋体"), 12);
    Config::textColor = Qt::black;
    Config::backColor = Qt::white;
    Config::scrollScreenTime = 200;
    Config::scrollPageTime = 5;
    Config::fileList.clear();
}

// element name -> its attributes, as the file on disk holds them
QMap<QString, QXmlStreamAttributes> savedSettings()
{
    QMap<QString, QXmlStreamAttributes> elements;
    QFile file(configFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return elements;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement)
            elements.insert(reader.name().toString(), reader.attributes());
    }
    if (reader.hasError())
        qWarning("Config.xml is not well-formed: %s", qPrintable(reader.errorString()));
    return elements;
}

QString attribute(const QString &element, const QString &name)
{
    return savedSettings().value(element).value(name).toString();
}

} // namespace

void TestMainForm::init()
{
    QFile::remove(configFilePath());
    QFile::remove(readingStateFilePath());
    resetSettings();
    m_window = new MainForm;
}

void TestMainForm::cleanup()
{
    delete m_window;
    m_window = nullptr;
    QApplication::setFont(QFont(QStringLiteral("宋体"), 12));
}

QTimer *TestMainForm::scrollTimer() const
{
    return m_window->findChild<TextScroll *>()->findChild<QTimer *>();
}

template <typename T> static T *child(QObject *window, const char *name)
{
    T *found = window->findChild<T *>(QString::fromLatin1(name));
    if (found == nullptr)
        qFatal("no %s named %s", T::staticMetaObject.className(), name);
    return found;
}

void TestMainForm::widgetTree_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");

    const char *rows[][3] = {
        {"centralWidget", "QWidget", "MainForm"},
        {"tabWidget", "QTabWidget", "centralWidget"},
        {"widget", "QWidget", "centralWidget"},
        {"wdtAd", "QWidget", "centralWidget"},
        {"textWidget", "QTextEdit", "centralWidget"},
        {"btnOpen", "QPushButton", "tab_1"},
        {"btnBookmark", "QPushButton", "tab_1"},
        {"btnHistory", "QPushButton", "tab_1"},
        {"btnCodec", "QPushButton", "tab_1"},
        {"widget_11", "QWidget", "tab_1"},
        {"lblCodec", "QLabel", "tab_1"},
        {"widget_2", "QWidget", "tab_1"},
        {"label", "QLabel", "tab_1"},
        {"sbScrollScreen", "QSpinBox", "tab_1"},
        {"widget_3", "QWidget", "tab_1"},
        {"label_2", "QLabel", "tab_1"},
        {"sbScrollPage", "QSpinBox", "tab_1"},
        {"widget_5", "QWidget", "tab_1"},
        {"cbbTextScroll", "QComboBox", "tab_1"},
        {"btnUiFont", "QPushButton", "tab_2"},
        {"btnTextFont", "QPushButton", "tab_2"},
        {"btnTextColor", "QPushButton", "tab_2"},
        {"btnBackColor", "QPushButton", "tab_2"},
        {"widget_4", "QWidget", "tab_2"},
        {"widget_6", "QWidget", "tab_2"},
        {"edtFindText", "QLineEdit", "tab_3"},
        {"btnFindFront", "QPushButton", "tab_3"},
        {"btnFindNext", "QPushButton", "tab_3"},
        {"btnFindAll", "QPushButton", "tab_3"},
        {"chkMatchCase", "QCheckBox", "tab_3"},
        {"chkRegex", "QCheckBox", "tab_3"},
        {"lblFindResult", "QLabel", "tab_3"},
        {"widget_7", "QWidget", "tab_3"},
        {"btnAbout", "QPushButton", "tab_4"},
        {"widget_9", "QWidget", "tab_4"},
        {"widget_10", "QWidget", "tab_4"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[0] << row[1] << row[2];
}

void TestMainForm::widgetTree()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);
    QWidget *widget = m_window->findChild<QWidget *>(name);
    QVERIFY(widget != nullptr);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parent()->objectName(), parentName);
}

void TestMainForm::layouts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("bottomMargin"); // -1: the style's value, which the form leaves alone
    QTest::addColumn<QStringList>("items");

    QTest::newRow("verticalLayout_8")
        << "verticalLayout_8"
        << "QVBoxLayout" << 0 << 0 << QStringList{"horizontalLayout_3", "textWidget"};
    QTest::newRow("horizontalLayout_3")
        << "horizontalLayout_3"
        << "QHBoxLayout" << 8 << -1 << QStringList{"horizontalLayout", "verticalLayout"};
    QTest::newRow("horizontalLayout") << "horizontalLayout"
                                      << "QHBoxLayout" << 8 << -1 << QStringList{"tabWidget"};
    QTest::newRow("verticalLayout") << "verticalLayout"
                                    << "QVBoxLayout" << 8 << -1 << QStringList{"widget", "wdtAd"};
    QTest::newRow("horizontalLayout_2")
        << "horizontalLayout_2"
        << "QHBoxLayout" << 8 << 8
        << QStringList{"verticalLayout_6", "verticalLayout_7", "verticalLayout_11",
                       "verticalLayout_3", "verticalLayout_4", "verticalLayout_2"};
    QTest::newRow("verticalLayout_6")
        << "verticalLayout_6"
        << "QVBoxLayout" << 8 << -1 << QStringList{"btnOpen", "btnBookmark"};
    QTest::newRow("verticalLayout_7")
        << "verticalLayout_7"
        << "QVBoxLayout" << 8 << -1 << QStringList{"btnHistory", "btnCodec"};
    QTest::newRow("verticalLayout_11")
        << "verticalLayout_11"
        << "QVBoxLayout" << 8 << -1 << QStringList{"widget_11", "lblCodec"};
    QTest::newRow("verticalLayout_3")
        << "verticalLayout_3"
        << "QVBoxLayout" << 8 << 3 << QStringList{"widget_2", "label", "sbScrollScreen"};
    QTest::newRow("verticalLayout_4")
        << "verticalLayout_4"
        << "QVBoxLayout" << 8 << 3 << QStringList{"widget_3", "label_2", "sbScrollPage"};
    QTest::newRow("verticalLayout_2")
        << "verticalLayout_2"
        << "QVBoxLayout" << 8 << 4 << QStringList{"widget_5", "cbbTextScroll"};
    QTest::newRow("verticalLayout_5")
        << "verticalLayout_5"
        << "QVBoxLayout" << 8 << 8 << QStringList{"horizontalLayout_6", "widget_6"};
    QTest::newRow("horizontalLayout_6")
        << "horizontalLayout_6"
        << "QHBoxLayout" << 8 << -1
        << QStringList{"btnUiFont", "btnTextFont", "btnTextColor", "btnBackColor", "widget_4"};
    QTest::newRow("verticalLayout_9")
        << "verticalLayout_9"
        << "QVBoxLayout" << 8 << 8
        << QStringList{"horizontalLayout_7", "horizontalLayoutFindOptions", "lblFindResult",
                       "widget_7"};
    QTest::newRow("horizontalLayout_7")
        << "horizontalLayout_7"
        << "QHBoxLayout" << 8 << -1
        << QStringList{"edtFindText", "btnFindFront", "btnFindNext", "btnFindAll"};
    QTest::newRow("verticalLayout_10")
        << "verticalLayout_10"
        << "QVBoxLayout" << 8 << 8 << QStringList{"horizontalLayout_8", "widget_10"};
    QTest::newRow("horizontalLayout_8")
        << "horizontalLayout_8"
        << "QHBoxLayout" << 8 << -1 << QStringList{"btnAbout", "widget_9"};
}

void TestMainForm::layouts()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(int, spacing);
    QFETCH(int, bottomMargin);
    QFETCH(QStringList, items);

    auto *layout = m_window->findChild<QLayout *>(name);
    QVERIFY(layout != nullptr);
    QCOMPARE(QString::fromLatin1(layout->metaObject()->className()), className);
    QCOMPARE(layout->spacing(), spacing);
    if (bottomMargin >= 0)
        QCOMPARE(layout->contentsMargins().bottom(), bottomMargin);
    QStringList found;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        found << (item->widget() ? item->widget()->objectName() : item->layout()->objectName());
    }
    QCOMPARE(found, items);
}

void TestMainForm::controls()
{
    auto *screen = child<QSpinBox>(m_window, "sbScrollScreen");
    QCOMPARE(screen->minimum(), 0);
    QCOMPARE(screen->maximum(), 100000);
    QCOMPARE(screen->singleStep(), 10);
    auto *page = child<QSpinBox>(m_window, "sbScrollPage");
    QCOMPARE(page->minimum(), 1);
    QCOMPARE(page->maximum(), 100000);
    QCOMPARE(page->singleStep(), 1);

    auto *combo = child<QComboBox>(m_window, "cbbTextScroll");
    QCOMPARE(combo->count(), 3);
    QCOMPARE(combo->itemText(0), QStringLiteral("停止滚动"));
    QCOMPARE(combo->itemText(1), QStringLiteral("自动滚屏"));
    QCOMPARE(combo->itemText(2), QStringLiteral("自动翻页"));
    QCOMPARE(combo->sizePolicy().horizontalPolicy(), QSizePolicy::Minimum);
    QCOMPARE(combo->sizePolicy().verticalPolicy(), QSizePolicy::Fixed);

    auto *tabs = child<QTabWidget>(m_window, "tabWidget");
    QCOMPARE(tabs->count(), 5);
    const QStringList titles{"阅读", "显示", "搜索", "同步", "帮助"};
    const QStringList pages{"tab_1", "tab_2", "tab_3", "tabSync", "tab_4"};
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(tabs->tabText(i), titles.at(i));
        QCOMPARE(tabs->widget(i)->objectName(), pages.at(i));
    }

    auto *ad = child<QWidget>(m_window, "wdtAd");
    QCOMPARE(ad->minimumSize(), QSize(250, 60));
    QCOMPARE(ad->maximumSize(), QSize(250, 60));
    QCOMPARE(ad->sizePolicy().horizontalPolicy(), QSizePolicy::Fixed);

    QCOMPARE(m_window->windowTitle(), QStringLiteral("澄溪文本阅读器"));
    QCOMPARE(m_window->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
    QCOMPARE(m_window->font().family(), QStringLiteral("宋体"));
    QCOMPARE(child<QPushButton>(m_window, "btnFindFront")->text(), QStringLiteral("查找前一个"));
    QCOMPARE(child<QLabel>(m_window, "label")->text(), QStringLiteral("滚屏间隔(毫秒)"));
}

void TestMainForm::startsCentredAndIdle()
{
    QCOMPARE(m_window->size(), QSize(897, 556));
    const QRect desktop = QApplication::desktop()->geometry();
    QCOMPARE(m_window->pos(), QPoint((desktop.width() - 897) / 2, (desktop.height() - 556) / 2));
    QCOMPARE(child<QTabWidget>(m_window, "tabWidget")->currentIndex(), 0);
    QCOMPARE(child<QComboBox>(m_window, "cbbTextScroll")->currentIndex(), 0);
    auto *text = child<QTextEdit>(m_window, "textWidget");
    QVERIFY(text->isReadOnly());
    QVERIFY(text->document()->isEmpty());
    QVERIFY(m_window->acceptDrops());

    // The update check and the advertisement panel start with the window;
    // the panel stays hidden until its document arrives.
    QVERIFY(child<QWidget>(m_window, "wdtAd")->isHidden());
    auto *ads = m_window->findChild<ZkAdHelper *>();
    QCOMPARE(ads->m_url, SiteUrl + "ad/ad_cfg_1.php?id=Quirelle_windows_x86_64");
    QCOMPARE(ads->m_interval, 5000);
    const QObjectList parts = m_window->children();
    QVERIFY(parts.indexOf(m_window->findChild<ZkCheckUpdate *>()) < parts.indexOf(ads));
    QVERIFY(parts.indexOf(ads) < parts.indexOf(m_window->findChild<Config *>()));
}

void TestMainForm::closingKeepsOnlyTheWindowAndEndsLoop()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    // Closing the window ends the event loop with exit code 0.
    QTimer::singleShot(0, m_window, &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!m_window->isVisible());
    // Only the window's geometry is kept; Config.xml keeps its own rules.
    const QDir folder(QCoreApplication::applicationDirPath());
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList({QFileInfo(readingStateFilePath()).fileName(),
                          QFileInfo(QCoreApplication::applicationFilePath()).fileName()}));
}

void TestMainForm::dragNeedsUriList_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("uri list") << "text/uri-list" << true;
    QTest::newRow("plain text") << "text/plain" << false;
    QTest::newRow("html") << "text/html" << false;
}

void TestMainForm::dragNeedsUriList()
{
    QFETCH(QString, format);
    QFETCH(bool, accepted);
    QMimeData data;
    data.setData(format, "file:///tmp/a.txt\r\n");
    QDragEnterEvent event(QPoint(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    event.setAccepted(false);
    QApplication::sendEvent(m_window, &event);
    QCOMPARE(event.isAccepted(), accepted);
}

QString TestMainForm::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_files.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestMainForm::drop(const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    QDropEvent event(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // The application only routes a drop to the target of a running drag;
    // hand it to the window as the drag manager would.
    static_cast<QObject *>(m_window)->event(&event);
}

void TestMainForm::dropOpensFirstFileOnly()
{
    const QString first = writeFile(QStringLiteral("first.txt"), QStringLiteral("甲乙丙").toUtf8());
    const QString second = writeFile(QStringLiteral("second.txt"), "second");

    drop({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});

    auto *text = child<QTextEdit>(m_window, "textWidget");
    QCOMPARE(text->toPlainText(), QStringLiteral("甲乙丙"));
    QCOMPARE(text->document()->metaInformation(QTextDocument::DocumentTitle),
             QStringLiteral("first"));
}

void TestMainForm::dropIgnoresNonLocalUrl()
{
    const QString first = writeFile(QStringLiteral("shown.txt"), "shown");
    drop({QUrl::fromLocalFile(first)});
    ModalDialogWatcher watcher;
    drop({QUrl(QStringLiteral("https://example.invalid/novel.txt"))});
    drop({});
    QCoreApplication::processEvents();
    QCOMPARE(watcher.seen, 0);
    QCOMPARE(child<QTextEdit>(m_window, "textWidget")->toPlainText(), QStringLiteral("shown"));
}

void TestMainForm::dropOfMissingFileReportsAndKeepsText()
{
    const QString shown = writeFile(QStringLiteral("shown.txt"), "shown");
    drop({QUrl::fromLocalFile(shown)});
    const QString missing = m_files.filePath(QStringLiteral("missing.txt"));
    ModalDialogWatcher watcher;
    drop({QUrl::fromLocalFile(missing)});
    QCOMPARE(watcher.seen, 1);
    QCOMPARE(watcher.text, QStringLiteral("文件不存在：") + QDir::toNativeSeparators(missing));
    QVERIFY(QDir().mkpath(m_files.filePath(QStringLiteral("folder.txt")))); // cannot be read
    drop({QUrl::fromLocalFile(m_files.filePath(QStringLiteral("folder.txt")))});
    QCOMPARE(watcher.seen, 2);
    QCOMPARE(child<QTextEdit>(m_window, "textWidget")->toPlainText(), QStringLiteral("shown"));
    // only what was shown is a recent file
    QCOMPARE(Config::fileList, QStringList{QDir::toNativeSeparators(shown)});
}

void TestMainForm::defaultsWithoutConfig()
{
    QCOMPARE(child<QSpinBox>(m_window, "sbScrollScreen")->value(), 200);
    QCOMPARE(child<QSpinBox>(m_window, "sbScrollPage")->value(), 5);
    QCOMPARE(m_window->font().family(), QStringLiteral("宋体"));
    QCOMPARE(m_window->font().pointSize(), 12);
    auto *text = child<QTextEdit>(m_window, "textWidget");
    QCOMPARE(text->document()->defaultFont().family(), QStringLiteral("宋体"));
    QVERIFY(!scrollTimer()->isActive());
    QVERIFY(!QFile::exists(configFilePath()));
}

void TestMainForm::intervalChangeSelectsTypeAndSaves_data()
{
    QTest::addColumn<QString>("spinBox");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<QString>("attributeName");
    QTest::addColumn<int>("timerInterval");
    QTest::newRow("screen interval") << "sbScrollScreen" << 210 << 1 << "滚动时间" << 210;
    QTest::newRow("screen interval zero") << "sbScrollScreen" << 0 << 1 << "滚动时间" << 0;
    QTest::newRow("page interval") << "sbScrollPage" << 3 << 2 << "翻页时间" << 3000;
    QTest::newRow("largest page interval")
        << "sbScrollPage" << 100000 << 2 << "翻页时间" << 100000000;
}

void TestMainForm::intervalChangeSelectsTypeAndSaves()
{
    QFETCH(QString, spinBox);
    QFETCH(int, value);
    QFETCH(int, comboIndex);
    QFETCH(QString, attributeName);
    QFETCH(int, timerInterval);

    m_window->findChild<QSpinBox *>(spinBox)->setValue(value);

    QCOMPARE(child<QComboBox>(m_window, "cbbTextScroll")->currentIndex(), comboIndex);
    QVERIFY(scrollTimer()->isActive());
    QCOMPARE(scrollTimer()->interval(), timerInterval);
    QCOMPARE(attribute(QStringLiteral("自动滚动"), attributeName), QString::number(value));
}

void TestMainForm::failedSaveIsReportedOnce()
{
    QVERIFY(QDir().mkpath(configFilePath())); // takes the place of the file
    child<QSpinBox>(m_window, "sbScrollScreen")->setValue(210);
    child<QSpinBox>(m_window, "sbScrollPage")->setValue(3);
    QVERIFY(QDir().rmdir(configFilePath()));
    const QList<QMessageBox *> boxes = m_window->findChildren<QMessageBox *>();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->text(),
             QStringLiteral("无法保存到 %1。\n本次的更改在关闭程序后会丢失。")
                 .arg(QDir::toNativeSeparators(configFilePath())));
}

void TestMainForm::scrollTypeIsNeverStored()
{
    auto *combo = child<QComboBox>(m_window, "cbbTextScroll");
    combo->setCurrentIndex(2);
    QVERIFY(scrollTimer()->isActive());
    QCOMPARE(scrollTimer()->interval(), 5000);
    combo->setCurrentIndex(1);
    QCOMPARE(scrollTimer()->interval(), 200);
    combo->setCurrentIndex(0);
    QVERIFY(!scrollTimer()->isActive());
    QVERIFY(!QFile::exists(configFilePath()));

    delete m_window;
    m_window = new MainForm;
    QCOMPARE(child<QComboBox>(m_window, "cbbTextScroll")->currentIndex(), 0);
    QVERIFY(!scrollTimer()->isActive());
}

void TestMainForm::dialogChoiceIsAppliedAndSaved_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("element");
    QTest::newRow("interface font") << "btnUiFont"
                                    << "界面字体";
    QTest::newRow("text font") << "btnTextFont"
                               << "文本字体";
    QTest::newRow("text colour") << "btnTextColor"
                                 << "文本颜色";
    QTest::newRow("background colour") << "btnBackColor"
                                       << "背景颜色";
}

void TestMainForm::dialogChoiceIsAppliedAndSaved()
{
    QFETCH(QString, button);
    QFETCH(QString, element);

    drop({QUrl::fromLocalFile(writeFile(QStringLiteral("look.txt"), "some text"))});
    bool fontDialog = false;
    QFont chosenFont;
    QColor chosenColor;
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        if (auto *fonts = qobject_cast<QFontDialog *>(dialog)) {
            fontDialog = true;
            QFont font = fonts->currentFont();
            // size and underline, which every installed family offers
            font.setPointSize(19);
            font.setUnderline(true);
            fonts->setCurrentFont(font);
            chosenFont = fonts->currentFont();
        } else if (auto *colors = qobject_cast<QColorDialog *>(dialog)) {
            colors->setCurrentColor(QColor(12, 34, 56));
            chosenColor = colors->currentColor();
        }
        dialog->accept();
    });
    m_window->findChild<QPushButton *>(button)->click();
    QCOMPARE(watcher.seen, 1);

    const QXmlStreamAttributes saved = savedSettings().value(element);
    auto *text = child<QTextEdit>(m_window, "textWidget");
    if (fontDialog) {
        QCOMPARE(saved.value(QStringLiteral("大小")).toString(), QStringLiteral("19"));
        QCOMPARE(saved.value(QStringLiteral("下划线")).toString(), QStringLiteral("1"));
        if (button == QLatin1String("btnUiFont")) {
            QCOMPARE(m_window->font().pointSize(), 19);
            QCOMPARE(QApplication::font().pointSize(), 19);
            QVERIFY(QApplication::font().underline());
        } else {
            QCOMPARE(text->document()->defaultFont(), chosenFont);
            QCOMPARE(QTextCursor(text->document()).charFormat().font().pointSize(), 19);
        }
    } else {
        QCOMPARE(saved.value(QStringLiteral("r")).toString(), QStringLiteral("12"));
        QCOMPARE(saved.value(QStringLiteral("g")).toString(), QStringLiteral("34"));
        QCOMPARE(saved.value(QStringLiteral("b")).toString(), QStringLiteral("56"));
        if (button == QLatin1String("btnTextColor")) {
            QTextCursor probe(text->document());
            probe.setPosition(4);
            QCOMPARE(probe.charFormat().foreground().color(), chosenColor);
        } else {
            const QBrush brush =
                text->viewport()->palette().brush(text->viewport()->backgroundRole());
            QCOMPARE(brush.texture().toImage().pixelColor(0, 0), chosenColor);
        }
    }
    // The other settings are written with their current values.
    QCOMPARE(attribute(QStringLiteral("自动滚动"), QStringLiteral("滚动时间")),
             QStringLiteral("200"));
}

void TestMainForm::cancelledDialogWritesNothing_data()
{
    dialogChoiceIsAppliedAndSaved_data();
}

void TestMainForm::cancelledDialogWritesNothing()
{
    QFETCH(QString, button);
    ModalDialogWatcher watcher; // rejects
    m_window->findChild<QPushButton *>(button)->click();
    QCOMPARE(watcher.seen, 1);
    QVERIFY(!QFile::exists(configFilePath()));
}

void TestMainForm::sameColourAgainStillSaves()
{
    ModalDialogWatcher watcher([](QDialog *dialog) { dialog->accept(); });
    child<QPushButton>(m_window, "btnTextColor")->click();
    QCOMPARE(watcher.seen, 1);
    QCOMPARE(attribute(QStringLiteral("文本颜色"), QStringLiteral("r")), QStringLiteral("0"));
}

void TestMainForm::fontDialogStartsFromFontOnScreen()
{
    QFont shown;
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        shown = qobject_cast<QFontDialog *>(dialog)->currentFont();
        dialog->accept();
    });
    child<QPushButton>(m_window, "btnTextFont")->click();
    QCOMPARE(watcher.seen, 1);
    const QFontInfo onScreen(QFont(QStringLiteral("宋体"), 12));
    QCOMPARE(shown.family(), onScreen.family());
    QCOMPARE(shown.pointSize(), 12);
    QVERIFY(!shown.italic());
    QCOMPARE(attribute(QStringLiteral("文本字体"), QStringLiteral("字体")), onScreen.family());
}

void TestMainForm::restartAppliesStoredSettings()
{
    Config::uiFont = QFont(QStringLiteral("DejaVu Sans"), 10);
    Config::textFont = QFont(QStringLiteral("DejaVu Serif"), 22);
    Config::textColor = QColor(90, 0, 0);
    Config::backColor = QColor(240, 230, 200);
    Config::scrollScreenTime = 350;
    Config::scrollPageTime = 9;
    Config(nullptr).save(configFilePath());
    delete m_window;
    resetSettings();

    m_window = new MainForm;
    drop({QUrl::fromLocalFile(writeFile(QStringLiteral("look.txt"), "some text"))});

    QCOMPARE(m_window->font().family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(m_window->font().pointSize(), 10);
    QCOMPARE(QApplication::font().pointSize(), 10);
    auto *text = child<QTextEdit>(m_window, "textWidget");
    QCOMPARE(text->document()->defaultFont(), QFont(QStringLiteral("DejaVu Serif"), 22));
    QTextCursor probe(text->document());
    probe.setPosition(4);
    QCOMPARE(probe.charFormat().foreground().color(), QColor(90, 0, 0));
    QCOMPARE(probe.charFormat().font().pointSize(), 22);
    const QBrush brush = text->viewport()->palette().brush(text->viewport()->backgroundRole());
    QCOMPARE(brush.texture().toImage().pixelColor(0, 0), QColor(240, 230, 200));
    QCOMPARE(child<QSpinBox>(m_window, "sbScrollScreen")->value(), 350);
    QCOMPARE(child<QSpinBox>(m_window, "sbScrollPage")->value(), 9);
    // showing the stored intervals does not start scrolling
    QCOMPARE(child<QComboBox>(m_window, "cbbTextScroll")->currentIndex(), 0);
    QVERIFY(!scrollTimer()->isActive());
}

// Form texts and texts made in code both go through translation, so the
// shipped traditional-Chinese file replaces what the user sees.
void TestMainForm::shippedTranslationReplacesTexts()
{
    delete m_window;
    zk::setupTranslator(QStringLiteral(QUIRELLE_LOCALE_DIR), QStringLiteral("zh_TW"), qApp,
                        QStringLiteral("zh_CN"));
    m_window = new MainForm;
    // the reader's own file and the toolkit's
    const auto translators = qApp->findChildren<QTranslator *>();
    QCOMPARE(translators.size(), 2);

    QCOMPARE(child<QPushButton>(m_window, "btnOpen")->text(), QStringLiteral("打開"));
    QCOMPARE(child<QComboBox>(m_window, "cbbTextScroll")->itemText(1), QStringLiteral("自動捲動"));
    ModalDialogWatcher watcher;
    drop({QUrl::fromLocalFile(m_files.filePath(QStringLiteral("nowhere.txt")))});
    QVERIFY(watcher.text.startsWith(QStringLiteral("檔案不存在：")));

    qDeleteAll(translators);
}

namespace
{

// Short numbered lines, so that a line of the file is a line on screen
// whatever the width.
QByteArray numberedLines(int count)
{
    QString text;
    for (int i = 1; i <= count; ++i)
        text += QStringLiteral("第%1行：溪水往东流。\n").arg(i);
    return text.toUtf8();
}

int lineStart(int line)
{
    return QString::fromUtf8(numberedLines(line - 1)).size();
}

void chooseRecentFile(QWidget *window, const QString &path)
{
    for (QAction *action : child<QPushButton>(window, "btnHistory")->menu()->actions()) {
        if (action->data().toString() == path)
            return action->trigger();
    }
    QFAIL("not in the recent-files menu");
}

} // namespace

void TestMainForm::comingBack_data()
{
    QTest::addColumn<QString>("road");
    QTest::newRow("dropped again after another file") << "drop";
    QTest::newRow("recent files after a restart") << "restart";
    QTest::newRow("shortened meanwhile") << "shortened";
    QTest::newRow("never seen before") << "new";
    QTest::newRow("a jump after opening wins") << "jump";
}

void TestMainForm::comingBack()
{
    QFETCH(QString, road);
    const QString novel = writeFile(QStringLiteral("novel.txt"), numberedLines(3000));
    const QString other = writeFile(QStringLiteral("other.txt"), numberedLines(50));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    auto display = [this] {
        return m_window->findChild<TextDisplay *>();
    };
    drop({QUrl::fromLocalFile(novel)});
    display()->showPosition(lineStart(1500));
    drop({QUrl::fromLocalFile(other)});
    QCOMPARE(display()->topPosition(), 0);
    int expected = lineStart(1500);

    ModalDialogWatcher watcher;
    if (road == "restart") {
        m_window->resize(760, 450);          // within the offscreen screen of 800 × 600
        const QSize size = m_window->size(); // as far as the window's minimum allows
        child<QSpinBox>(m_window, "sbLineSpacing")->setValue(150);
        child<QDockWidget>(m_window, "chapterDock")->hide();
        drop({QUrl::fromLocalFile(novel)});
        QTimer::singleShot(0, m_window, &QWidget::close); // ends the loop, as in the program
        QCOMPARE(QApplication::exec(), 0);
        delete m_window;
        resetSettings();
        m_window = new MainForm;
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        QCOMPARE(m_window->size(), size);
        QVERIFY(child<QDockWidget>(m_window, "chapterDock")->isHidden());
        auto *layout = qobject_cast<ReadingLayout *>(
            child<QTextEdit>(m_window, "textWidget")->document()->documentLayout());
        QCOMPARE(layout->comfort().lineSpacing, 150);
        chooseRecentFile(m_window, novel);
    } else if (road == "shortened") {
        writeFile(QStringLiteral("novel.txt"), numberedLines(1000));
        drop({QUrl::fromLocalFile(novel)});
        auto *bar = child<QTextEdit>(m_window, "textWidget")->verticalScrollBar();
        QTRY_COMPARE(bar->value(), bar->maximum());
        expected = display()->topPosition();
        QVERIFY(expected > lineStart(900));
    } else if (road == "new") {
        drop({QUrl::fromLocalFile(writeFile(QStringLiteral("new.txt"), numberedLines(3000)))});
        expected = 0;
    } else if (road == "jump") {
        drop({QUrl::fromLocalFile(novel)});
        display()->showPosition(lineStart(20)); // as a bookmark of the file does
        expected = lineStart(20);
    } else {
        drop({QUrl::fromLocalFile(novel)});
    }
    QTest::qWait(50); // the layout goes on in the background
    QCOMPARE(display()->topPosition(), expected);
    QCOMPARE(watcher.seen, 0);
}

void TestMainForm::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("shown");   // document title
    QTest::addColumn<QString>("message"); // of a box, if any
    QTest::newRow("relative path, further arguments ignored")
        << QStringList{"Quirelle", "sub/novel.txt", "other.txt"} << "novel"
        << "";
    QTest::newRow("missing file") << QStringList{"Quirelle", "gone.txt"} << ""
                                  << "文件不存在：" +
                                         QDir::toNativeSeparators(m_files.filePath("gone.txt"));
    QTest::newRow("no file") << QStringList{"Quirelle"} << ""
                             << "";
}

// Opened as the file dialog would, once the window runs.
void TestMainForm::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QDir(m_files.path()).mkpath("sub");
    writeFile(QStringLiteral("sub/novel.txt"), "novel");
    ModalDialogWatcher watcher;
    m_window->openArguments(arguments, m_files.path());
    auto *text = child<QTextEdit>(m_window, "textWidget");
    QTest::qWait(100);
    QCOMPARE(text->document()->metaInformation(QTextDocument::DocumentTitle), shown);
    QCOMPARE(watcher.text, message);
    // only a file that was shown is a recent one
    const QStringList recent = !shown.isEmpty()
                                   ? QStringList{QDir::toNativeSeparators(
                                         QDir(m_files.path()).absoluteFilePath(arguments.at(1)))}
                                   : QStringList();
    QCOMPARE(Config::fileList, recent);
}

void TestMainForm::fileDialogStartsWithTheLastFolder()
{
    QStringList seen;
    ModalDialogWatcher watcher([&seen](QDialog *dialog) {
        const auto *files = qobject_cast<QFileDialog *>(dialog);
        seen << files->directory().absolutePath() << files->nameFilters();
        dialog->reject();
    });
    auto *open = child<QPushButton>(m_window, "btnOpen");
    open->click();
    QDir(m_files.path()).mkpath("shelf");
    drop({QUrl::fromLocalFile(writeFile(QStringLiteral("shelf/book.txt"), "book"))});
    open->click();
    QCOMPARE(seen, QStringList({QDir::homePath(), "文本文件(*.txt)", "全部文件(*)",
                                m_files.filePath("shelf"), "文本文件(*.txt)", "全部文件(*)"}));
}

void TestMainForm::keys_data()
{
    QTest::addColumn<QString>("focus"); // text, find or dialog
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("outcome");
    const QString start = "full screen 0, tab 0, top 0, dialogs 0, selected ";
    const QString inFind = "full screen 0, tab 2, top 0, dialogs 0, selected ";
    QTest::newRow("F11") << "text" << QKeySequence(Qt::Key_F11)
                         << "full screen 1, tab 0, top 0, dialogs 0, selected ";
    QTest::newRow("F11, Esc") << "text" << QKeySequence(Qt::Key_F11, Qt::Key_Escape) << start;
    QTest::newRow("F11 in a dialog") << "dialog" << QKeySequence(Qt::Key_F11) << start;
    QTest::newRow("Ctrl+O") << "text" << QKeySequence(Qt::CTRL + Qt::Key_O)
                            << "full screen 0, tab 0, top 0, dialogs 1, selected ";
    QTest::newRow("Ctrl+O in the find field")
        << "find" << QKeySequence(Qt::CTRL + Qt::Key_O) << inFind;
    QTest::newRow("Ctrl+D") << "text" << QKeySequence(Qt::CTRL + Qt::Key_D)
                            << "full screen 0, tab 0, top 0, dialogs 1, selected ";
    QTest::newRow("Ctrl+F in full screen")
        << "text" << QKeySequence(Qt::Key_F11, Qt::CTRL + Qt::Key_F) << inFind;
    QTest::newRow("Space, Space, Shift+Space")
        << "text" << QKeySequence(Qt::Key_Space, Qt::Key_Space, Qt::SHIFT + Qt::Key_Space)
        << "full screen 0, tab 0, top page 1, dialogs 0, selected ";
    QTest::newRow("Page Down, Page Down, Page Up")
        << "text" << QKeySequence(Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_PageUp)
        << "full screen 0, tab 0, top page 1, dialogs 0, selected ";
    QTest::newRow("Space in full screen")
        << "text" << QKeySequence(Qt::Key_F11, Qt::Key_Space)
        << "full screen 1, tab 0, top page 1, dialogs 0, selected ";
    QTest::newRow("Ctrl+End") << "text" << QKeySequence(Qt::CTRL + Qt::Key_End)
                              << "full screen 0, tab 0, top end, dialogs 0, selected ";
    QTest::newRow("F3, F3, Shift+F3 in the find field")
        << "find" << QKeySequence(Qt::Key_F3, Qt::Key_F3, Qt::SHIFT + Qt::Key_F3)
        << "full screen 0, tab 2, top moved, dialogs 0, selected 第200行";
}

void TestMainForm::keys()
{
    QFETCH(QString, focus);
    QFETCH(QKeySequence, key);
    QFETCH(QString, outcome);
    drop({QUrl::fromLocalFile(writeFile(QStringLiteral("keys.txt"), numberedLines(3000)))});
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    auto *text = child<QTextEdit>(m_window, "textWidget");
    auto *find = child<QLineEdit>(m_window, "edtFindText");
    auto *tabs = child<QTabWidget>(m_window, "tabWidget");
    find->setText(QStringLiteral("第200行")); // on the next page
    const auto press = [&key] {
        for (int i = 0; i < key.count(); ++i)
            QTest::keyClick(QApplication::focusWidget(),
                            Qt::Key(key[i] & ~Qt::KeyboardModifierMask),
                            Qt::KeyboardModifiers(key[i] & Qt::KeyboardModifierMask));
    };
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        if (focus == "dialog")
            press();
        dialog->reject();
    });
    if (focus == "dialog") {
        child<QPushButton>(m_window, "btnAbout")->click();
    } else {
        tabs->setCurrentIndex(focus == "find" ? 2 : 0);
        QWidget *target = focus == "find" ? static_cast<QWidget *>(find) : text;
        target->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), target);
        press();
    }
    QTest::qWait(50);
    const int top = m_window->findChild<TextDisplay *>()->topPosition();
    const auto *bar = text->verticalScrollBar();
    const QString where = top == 0                         ? "0"
                          : bar->value() == bar->maximum() ? "end"
                          // a page turn keeps the cut line: at most a view down
                          : bar->value() > 0 && bar->value() <= bar->pageStep() ? "page 1"
                                                                                : "moved";
    QCOMPARE(QStringLiteral("full screen %1, tab %2, top %3, dialogs %4, selected %5")
                 .arg(m_window->isFullScreen())
                 .arg(tabs->currentIndex())
                 .arg(where)
                 .arg(watcher.seen - (focus == "dialog"))
                 .arg(text->textCursor().selectedText()),
             outcome);
}

// The keys of the text's size and of the automatic scroll work through the
// form's controls, which then show and keep what the keys did. Outcomes read
// "font <size> <saved>, scroll <kind> <ms> <s>".
void TestMainForm::comfortKeys_data()
{
    QTest::addColumn<int>("kind"); // chosen in the form before the keys
    QTest::addColumn<QKeySequence>("key");
    QTest::addColumn<QString>("outcome");
    const int larger = Qt::CTRL + Qt::Key_Equal, smaller = Qt::CTRL + Qt::Key_Minus;
    const int reset = Qt::CTRL + Qt::Key_0;
    QTest::newRow("larger twice") << 0 << QKeySequence(larger, larger)
                                  << "font 14 14, scroll 0 200 5";
    QTest::newRow("smaller") << 0 << QKeySequence(smaller) << "font 11 11, scroll 0 200 5";
    QTest::newRow("larger, back to the default")
        << 0 << QKeySequence(larger, larger, reset) << "font 12 12, scroll 0 200 5";
    QTest::newRow("start") << 0 << QKeySequence(Qt::Key_S) << "font 12 -, scroll 1 200 5";
    QTest::newRow("start, pause") << 0 << QKeySequence(Qt::Key_S, Qt::Key_S)
                                  << "font 12 -, scroll 0 200 5";
    QTest::newRow("page-wise pauses and comes back")
        << 2 << QKeySequence(Qt::Key_S, Qt::Key_S) << "font 12 -, scroll 2 200 5";
    QTest::newRow("faster, faster") << 1 << QKeySequence(Qt::Key_BracketRight, Qt::Key_BracketRight)
                                    << "font 12 12, scroll 1 128 5";
    QTest::newRow("slower page-wise")
        << 2 << QKeySequence(Qt::Key_BracketLeft) << "font 12 12, scroll 2 200 6";
    QTest::newRow("faster while stopped only starts")
        << 0 << QKeySequence(Qt::Key_BracketRight) << "font 12 -, scroll 1 200 5";
}

void TestMainForm::comfortKeys()
{
    QFETCH(int, kind);
    QFETCH(QKeySequence, key);
    QFETCH(QString, outcome);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    auto *text = child<QTextEdit>(m_window, "textWidget");
    auto *kinds = child<QComboBox>(m_window, "cbbTextScroll");
    kinds->setCurrentIndex(kind);
    text->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), text);
    QFile::remove(configFilePath());
    for (int i = 0; i < key.count(); ++i)
        QTest::keyClick(text, Qt::Key(key[i] & ~Qt::KeyboardModifierMask),
                        Qt::KeyboardModifiers(key[i] & Qt::KeyboardModifierMask));
    const int shown = m_window->findChild<TextDisplay *>()->m_textFont.pointSize();
    QString saved = QStringLiteral("-");
    if (QFile::exists(configFilePath())) {
        resetSettings();
        Config(nullptr).load(configFilePath());
        saved = QString::number(Config::textFont.pointSize());
    }
    const QString font = QStringLiteral("font %1 %2").arg(shown).arg(saved);
    const QString scroll = QStringLiteral("scroll %1 %2 %3")
                               .arg(kinds->currentIndex())
                               .arg(child<QSpinBox>(m_window, "sbScrollScreen")->value())
                               .arg(child<QSpinBox>(m_window, "sbScrollPage")->value());
    QCOMPARE(font + ", " + scroll, outcome);
    QCOMPARE(scrollTimer()->isActive(), kinds->currentIndex() != 0);
}

// Four chapters of the same length: the second half starts with the third.
void TestMainForm::progressInView_data()
{
    QTest::addColumn<int>("chapter"); // where the view is put: a chapter's start, 0 the end
    QTest::addColumn<QString>("shown");
    QTest::newRow("start") << 1 << "第 1/4 章 · 0%";
    QTest::newRow("half") << 3 << "第 3/4 章 · 50%";
    QTest::newRow("end") << 0 << "第 4/4 章 · 100%";
}

void TestMainForm::progressInView()
{
    QFETCH(int, chapter);
    QFETCH(QString, shown);
    const QStringList numbers{"一", "二", "三", "四"};
    QString book;
    for (const QString &number : numbers) {
        book += QStringLiteral("第%1章 风起\n").arg(number);
        for (int line = 0; line < 300; ++line)
            book += QStringLiteral("　　山间的雾气慢慢散开，少年背起行囊。\n");
    }
    book.chop(1);
    drop({QUrl::fromLocalFile(writeFile(QStringLiteral("progress.txt"), book.toUtf8()))});
    m_window->show();
    auto *display = m_window->findChild<TextDisplay *>();
    auto *label = child<QLabel>(m_window, "lblProgress");
    auto *text = child<QTextEdit>(m_window, "textWidget");
    QTRY_COMPARE(label->text(), QStringLiteral("第 1/4 章 · 0%"));
    if (chapter > 0) {
        display->showPosition(book.indexOf(QStringLiteral("第%1章").arg(numbers.at(chapter - 1))));
    } else {
        QScrollBar *bar = text->verticalScrollBar();
        bar->setValue(bar->maximum());
    }
    QTRY_COMPARE(label->text(), shown);
    // In full screen, at the foot of the text.
    auto *overlay = child<QLabel>(m_window, "lblFullScreenProgress");
    QVERIFY(!overlay->isVisible());
    QTest::keyClick(text, Qt::Key_F11);
    QTRY_VERIFY(overlay->isVisible());
    QCOMPARE(overlay->text(), shown);
    // Below the last line, not over it.
    QTRY_COMPARE(overlay->geometry().top(), text->viewport()->geometry().bottom() + 1);
    QVERIFY(text->rect().contains(overlay->geometry()));
    QTest::keyClick(text, Qt::Key_F11);
    QTRY_VERIFY(!overlay->isVisible());
    QCOMPARE(text->viewport()->geometry().bottom(), text->height() - 1 - text->frameWidth());
}

// The room a hidden chapter list leaves goes to the tabs.
void TestMainForm::tabsTakeTheRoomOfTheChapterList()
{
    m_window->resize(1000, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    auto *tabs = child<QTabWidget>(m_window, "tabWidget");
    auto *dock = m_window->findChild<QDockWidget *>();
    QVERIFY(dock->isVisible());
    const int besideTabs = m_window->centralWidget()->width() - tabs->width();
    dock->toggleViewAction()->trigger();
    QTRY_COMPARE(m_window->centralWidget()->width(), m_window->width());
    QTRY_COMPARE(m_window->centralWidget()->width() - tabs->width(), besideTabs);
}

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestMainForm)
#include "tst_mainform.moc"
