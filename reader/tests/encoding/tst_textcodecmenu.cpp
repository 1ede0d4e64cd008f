#include "Config.h"
#include "MainForm.h"
#include "TextDisplay.h"

#include "ModalDialogWatcher.h"
#include "TemporaryProgramFolder.h"

#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextCodec>
#include <QTextEdit>
#include <QtTest>

using namespace TemporaryProgramFolder;

// The encoding menu of a real main window in an empty program folder. A file
// is opened, then rewritten on disk and read again with the chosen entry
// (0 ANSI, 1 UTF-8), or it is never opened before.
class TestTextCodecMenu : public QObject
{
    Q_OBJECT

private slots:
    void forcedCodec_data()
    {
        QTest::addColumn<bool>("opened");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("expected");
        // where the local 8-bit encoding is UTF-8, the local code page is GB18030
        QTextCodec *gb18030 = QTextCodec::codecForName("GB18030");
        const QByteArray gbk = gb18030->fromUnicode(Text);
        const QByteArray utf8 = "\xEF\xBB\xBF" + Text.toUtf8();
        const QByteArray utf16 = QTextCodec::codecForName("UTF-16LE")->fromUnicode(Text); // marked
        QTest::newRow("GBK as ANSI") << true << gbk << 0 << Text;
        QTest::newRow("marked UTF-8 as ANSI keeps the mark")
            << true << utf8 << 0 << gb18030->toUnicode(utf8);
        QTest::newRow("UTF-16 as UTF-8, zero bytes shown")
            << true << utf16 << 1
            << QString::fromUtf8(utf16.data(), utf16.size())
                   .replace(QChar(0), QChar::ReplacementCharacter);
        QTest::newRow("nothing opened yet") << false << utf8 << 1 << QString();
    }

    // The history is left alone, and the next opening detects afresh.
    void forcedCodec()
    {
        QFETCH(bool, opened);
        QFETCH(QByteArray, bytes);
        QFETCH(int, entry);
        QFETCH(QString, expected);
        MainForm window;
        const QString path = m_files.filePath(QStringLiteral("novel.txt"));
        if (opened)
            dropFile(&window, writeFile(path, "opened first"));
        const QStringList history = Config::fileList;
        writeFile(path, bytes);

        ModalDialogWatcher watcher;
        window.findChild<QPushButton *>("btnCodec")->menu()->actions().at(entry)->trigger();
        QCOMPARE(window.findChild<QTextEdit *>()->toPlainText(), expected);
        QCOMPARE(watcher.text, QString(opened ? "" : "文件不存在："));
        QCOMPARE(Config::fileList, history);
        dropFile(&window, path);
        QCOMPARE(window.findChild<QTextEdit *>()->toPlainText(), Text);
    }

    // A Big5 novel is detected as such; forcing GB18030 garbles it, forcing
    // Big5 again brings it back where the reader was. The checked entry and
    // the label beside the button follow.
    void menuFollowsTheText()
    {
        MainForm window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QMenu *menu = window.findChild<QPushButton *>("btnCodec")->menu();
        const auto *label = window.findChild<QLabel *>("lblCodec");
        auto *display = window.findChild<TextDisplay *>();
        const auto entries = [menu, label] {
            QStringList texts;
            for (const QAction *action : menu->actions())
                texts << (action->isSeparator()
                              ? "-"
                              : action->text() + (action->isChecked() ? "*" : ""));
            return texts.join('|') + " / " + label->text();
        };
        QCOMPARE(entries(),
                 "ANSI 编码|UTF-8 编码|-|GB18030 编码|Big5 编码|UTF-16 LE 编码|UTF-16 BE 编码 / ");

        const QString novel = QStringLiteral("第%1回　風起青萍之末，山間的霧氣慢慢散開。\r\n");
        QString text;
        for (int i = 0; i < 3000; ++i)
            text += novel.arg(i);
        const QString path = writeFile(m_files.filePath(QStringLiteral("big5.txt")),
                                       QTextCodec::codecForName("Big5")->fromUnicode(text));
        dropFile(&window, path);
        QCOMPARE(entries(), "ANSI 编码|UTF-8 编码|-|GB18030 编码|Big5 编码*|UTF-16 LE 编码|UTF-16 "
                            "BE 编码 / 繁体中文（Big5）");
        const QString shown = window.findChild<QTextEdit *>()->toPlainText();
        display->showPosition(shown.indexOf(QStringLiteral("第1500回")));
        const int top = display->topPosition();

        menu->actions().at(3)->trigger();
        QCOMPARE(entries(), "ANSI 编码|UTF-8 编码|-|GB18030 编码*|Big5 编码|UTF-16 LE 编码|UTF-16 "
                            "BE 编码 / 简体中文（GB18030）");
        QVERIFY(window.findChild<QTextEdit *>()->toPlainText() != shown);
        menu->actions().at(4)->trigger();
        QCOMPARE(window.findChild<QTextEdit *>()->toPlainText(), shown);
        QTRY_COMPARE(display->topPosition(), top);
        QCOMPARE(entries(), "ANSI 编码|UTF-8 编码|-|GB18030 编码|Big5 编码*|UTF-16 LE 编码|UTF-16 "
                            "BE 编码 / 繁体中文（Big5）");
    }

private:
    const QString Text = QStringLiteral("第一章 雪");
    QTemporaryDir m_files;
};

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestTextCodecMenu)
#include "tst_textcodecmenu.moc"
