#include "Config.h"
#include "MainForm.h"
#include "ProgramConstants.h"

#include "ModalDialogWatcher.h"
#include "TemporaryProgramFolder.h"

#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextCodec>
#include <QTextEdit>
#include <QtTest>

// The encoding menu of a real main window, in an empty program folder.
class TestTextCodecMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { m_window = new MainForm; }
    void cleanup() { delete m_window; }
    void forcedCodec_data();
    void forcedCodec();
    void nothingOpenedYet();

private:
    void write(const QByteArray &bytes);
    void choose(int entry)
    {
        m_window->findChild<QPushButton *>("btnCodec")->menu()->actions().at(entry)->trigger();
    }
    QString shown() { return m_window->findChild<QTextEdit *>("textWidget")->toPlainText(); }

    QTemporaryDir m_files;
    MainForm *m_window = nullptr;
};

void TestTextCodecMenu::write(const QByteArray &bytes)
{
    QFile file(m_files.filePath(QStringLiteral("novel.txt")));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the novel");
}

void TestTextCodecMenu::forcedCodec_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("entry"); // 0 ANSI, 1 UTF-8
    QTest::addColumn<QString>("expected");

    const QString text = QStringLiteral("第一章 雪");
    QTextCodec *gb18030 = QTextCodec::codecForName("GB18030");
    const QByteArray gbk = gb18030->fromUnicode(text);
    const QByteArray utf8Marked = "\xEF\xBB\xBF" + text.toUtf8();
    QByteArray utf16("\xFF\xFE");
    utf16.append(reinterpret_cast<const char *>(text.utf16()), 2 * text.size());

    // Where the local 8-bit encoding is UTF-8 the local code page is GB18030.
    QTest::newRow("GBK as ANSI") << gbk << 0 << text;
    QTest::newRow("GBK as UTF-8") << gbk << 1 << QString::fromUtf8(gbk);
    QTest::newRow("marked UTF-8 as ANSI keeps the mark")
        << utf8Marked << 0 << gb18030->toUnicode(utf8Marked);
    QTest::newRow("marked UTF-8 as UTF-8") << utf8Marked << 1 << text;
    QTest::newRow("UTF-16 as UTF-8")
        << utf16 << 1 << QString::fromUtf8(utf16.constData(), utf16.size());
}

// The file is read again from disk: what changed since opening shows up.
// The next file opened is detected afresh, and the history is left alone.
void TestTextCodecMenu::forcedCodec()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, entry);
    QFETCH(QString, expected);

    write("opened first");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(m_files.filePath(QStringLiteral("novel.txt")))});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject *>(m_window)->event(&drop);
    const QStringList history = Config::fileList;

    write(bytes);
    choose(entry);
    QCOMPARE(shown(), expected);
    choose(entry);
    QCOMPARE(shown(), expected);
    QCOMPARE(Config::fileList, history);

    static_cast<QObject *>(m_window)->event(&drop);
    QCOMPARE(shown(), QStringLiteral("第一章 雪"));
}

void TestTextCodecMenu::nothingOpenedYet()
{
    ModalDialogWatcher watcher;
    choose(1);
    QCOMPARE(watcher.seen, 1);
    QCOMPARE(watcher.title, QStringLiteral("提示"));
    QCOMPARE(watcher.text, QStringLiteral("文件不存在："));
    QVERIFY(shown().isEmpty());
}

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestTextCodecMenu)
#include "tst_textcodecmenu.moc"
