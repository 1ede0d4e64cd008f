#include "BookmarkConfig.h"
#include "ChapterPanel.h"
#include "Config.h"
#include "MainForm.h"
#include "ProgramConstants.h"
#include "TextDisplay.h"

#include "ModalDialogWatcher.h"
#include "TemporaryProgramFolder.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using namespace TemporaryProgramFolder;

// The bookmark flow as a person meets it, on a real main window whose
// Bookmark.xml lies beside the program. Bookmarks read "title@pos|…".
class TestBookmarkMenug : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_window.reset(); }

    // The title proposed is the file's name and the selection, kept unless typed over.
    void addFromContextMenu_data()
    {
        QTest::addColumn<int>("anchor");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("typed"); // null: the proposal is kept
        QTest::addColumn<QString>("title");
        const QString proposal = QStringLiteral("甲：") + QString(20, 'x');
        QTest::newRow("selected forwards") << 40 << 60 << QString() << proposal;
        QTest::newRow("selected backwards") << 60 << 40 << QString() << proposal;
        QTest::newRow("title cleared") << 7 << 7 << ""
                                       << "";
    }

    void addFromContextMenu()
    {
        QFETCH(int, anchor);
        QFETCH(int, position);
        QFETCH(QString, typed);
        QFETCH(QString, title);
        restart({});
        open(QStringLiteral("甲.txt"), 100, anchor, position);
        ModalDialogWatcher watcher([&](QDialog *dialog) {
            auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edtTitle"));
            if (!typed.isNull())
                edit->setText(typed);
            dialog->findChild<QPushButton *>(QStringLiteral("btnAdd"))->click();
        });
        text()->actions().first()->trigger();

        QCOMPARE(watcher.title, QStringLiteral("添加书签"));
        QCOMPARE(bookmarks(true), title + QLatin1Char('@') + QString::number(position));
        QCOMPARE(BookmarkConfig::bookmarks.last().file, m_files.filePath(QStringLiteral("甲.txt")));
        QCOMPARE(menuTexts(), QStringList({"书签管理", "", title}));
    }

    // Without a selection the proposal names the chapter and the words from
    // the place on; a book without chapters is named by its file.
    void proposalNamesThePlace_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("at"); // the cursor goes before it
        QTest::addColumn<QString>("title");
        const QString book = QStringLiteral("第一章 出山\n少年背起行囊。\n第二章 入城\n"
                                            "城门很高，守卫懒洋洋地靠在墙上晒着太阳。\n"
                                            "第三章 夜雨\n雨下了一夜。");
        QTest::newRow("in a chapter") << book << "城门"
                                      << "第二章 入城：城门很高，守卫懒洋洋地靠在墙上晒";
        QTest::newRow("on its heading") << book << "第三章"
                                        << "第三章 夜雨";
        QTest::newRow("no chapters") << "山间的雾气慢慢散开。"
                                     << "雾气"
                                     << "乙：雾气慢慢散开。";
    }

    void proposalNamesThePlace()
    {
        QFETCH(QString, text);
        QFETCH(QString, at);
        QFETCH(QString, title);
        restart({});
        dropFile(m_window.get(), writeFile(m_files.filePath("乙.txt"), text.toUtf8()));
        if (text.contains("第二章"))
            QTRY_COMPARE(m_window->findChild<ChapterPanel *>()->chapterCount(), 3);
        QTextCursor cursor = this->text()->textCursor();
        cursor.setPosition(text.indexOf(at));
        this->text()->setTextCursor(cursor);
        QString proposed;
        ModalDialogWatcher watcher([&](QDialog *dialog) {
            proposed = dialog->findChild<QLineEdit *>(QStringLiteral("edtTitle"))->text();
            dialog->reject();
        });
        this->text()->actions().first()->trigger();
        QCOMPARE(proposed, title);
    }

    // Positions are offsets into whatever is on screen; one too far leaves
    // the cursor where it was. Titles are not unique: each entry is its own.
    void jumpsInWhateverFileIsOpen()
    {
        restart(
            {{"near", "60"}, {"far", "5000"}, {"dup", "100"}, {"a&b", "seven"}, {"dup", "500"}});
        QCOMPARE(menuTexts(), QStringList({"书签管理", "", "near", "far", "dup", "a&b", "dup"}));
        open(QStringLiteral("long.txt"), 20000, 0, 10);
        QCOMPARE(jump(2), 60);
        QVERIFY(!text()->textCursor().hasSelection());
        QCOMPARE(jump(6), 500);
        QCOMPARE(jump(5), 0);
        open(QStringLiteral("short.txt"), 100, 30, 30);
        QCOMPARE(jump(3), 30);
    }

    // A bookmark beyond what has arrived of a long text waits for its text.
    void jumpIntoATextStillLoading()
    {
        restart({{"deep", "1900000"}});
        const QByteArray line = QByteArray(99, 'x') + '\n';
        dropFile(m_window.get(), writeFile(m_files.filePath("long.txt"), line.repeated(20000)));
        auto *display = m_window->findChild<TextDisplay *>();
        QVERIFY(display->isLoading());
        jump(2);
        QTRY_COMPARE(text()->textCursor().position(), 1900000);
    }

    void bookmarkOfAFile_data()
    {
        QTest::addColumn<QString>("file"); // of the bookmark; 丙 does not exist
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("message");
        // clang-format off
        QTest::newRow("another file, by the usual road") << "甲.txt" << "甲" << 300 << "";
        QTest::newRow("the file on screen") << "乙.txt" << "乙" << 300 << "";
        QTest::newRow("missing: nothing changes") << "丙.txt" << "乙" << 7 << "文件不存在：";
        QTest::newRow("old entry, no file") << "" << "乙" << 300 << "";
        // clang-format on
    }

    void bookmarkOfAFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, shown);
        QFETCH(int, cursor);
        QFETCH(QString, message);
        const QString path = file.isEmpty() ? file : m_files.filePath(file);
        restart({{"mark", "300", path}});
        writeFile(m_files.filePath(QStringLiteral("甲.txt")), QByteArray(1000, 'y'));
        open(QStringLiteral("乙.txt"), 1000, 7, 7);
        ModalDialogWatcher watcher;
        jump(2);

        QCOMPARE(watcher.text, message.isEmpty() ? message : message + path);
        QCOMPARE(text()->documentTitle(), shown);
        QCOMPARE(text()->textCursor().position(), cursor);
        QCOMPARE(Config::fileList.first(), m_files.filePath(shown + QStringLiteral(".txt")));
    }

    void manager_data()
    {
        QTest::addColumn<QString>("steps"); // rows chosen, buttons, answers to questions
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("asked");
        const QString all = QStringLiteral("a@1|b@2|c@3");
        // clang-format off
        QTest::newRow("remove second, save") << "1 btnRemove ok btnOk" << "a@1|c@3" << "是否删除标签：b";
        QTest::newRow("remove, then cancel") << "0 btnRemove ok btnCancel" << all << "是否删除标签：a";
        QTest::newRow("remove all, save") << "2 btnRemoveAll ok btnOk" << "" << "是否删除全部标签？";
        QTest::newRow("empty list") << "empty btnRemove btnRemoveAll btnOk" << "" << "";
        QTest::newRow("Enter closes") << "0 btnRemove ok Enter" << all << "是否删除标签：a";
        // clang-format on
    }

    // Steps run inside the manager's own loop; a question is answered by the
    // step that follows the button that asked it.
    void manager()
    {
        QFETCH(QString, steps);
        QFETCH(QString, after);
        QFETCH(QString, asked);
        QStringList pending = steps.split(QLatin1Char(' '));
        const bool empty = pending.contains("empty");
        restart(empty ? BookmarkDataItem()
                      : BookmarkDataItem{{"a", "1"}, {"b", "2"}, {"c", "3", "/书/乙.txt"}});
        QString questions;
        ModalDialogWatcher watcher([&](QDialog *dialog) {
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                questions += box->text();
                QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
                const bool yes = pending.takeFirst() == "ok";
                box->button(yes ? QMessageBox::Ok : QMessageBox::Cancel)->click();
                return;
            }
            auto *list = dialog->findChild<QListWidget *>();
            QCOMPARE(list->count(), empty ? 0 : 3);
            QVERIFY(empty || list->item(2)->text() == QStringLiteral("c（乙.txt）"));
            QTimer::singleShot(0, dialog, [&pending, dialog, list] {
                while (!pending.isEmpty()) {
                    const QString step = pending.takeFirst();
                    if (step.at(0).isDigit())
                        list->setCurrentRow(step.toInt());
                    else if (step == "Enter")
                        QTest::keyClick(list, Qt::Key_Return);
                    else if (auto *button = dialog->findChild<QPushButton *>(step))
                        button->click();
                }
            });
        });
        menu()->actions().first()->trigger();

        QCOMPARE(questions, asked);
        QVERIFY(pending.isEmpty() && m_window->findChild<QDialog *>() == nullptr);
        QCOMPARE(bookmarks(), after);
        QCOMPARE(bookmarks(true), after);
        QCOMPARE(menuTexts().mid(2).join('|'), QString(after).remove(QRegularExpression("@\\d")));
    }

private:
    // The list is class-level: a restarted program begins empty and reads the file.
    void restart(const BookmarkDataItem &stored)
    {
        m_window.reset();
        BookmarkConfig::bookmarks = stored;
        BookmarkConfig().save(bookmarkFilePath());
        BookmarkConfig::bookmarks.clear();
        m_window = std::make_unique<MainForm>();
    }
    void open(const QString &name, int length, int anchor, int position)
    {
        dropFile(m_window.get(), writeFile(m_files.filePath(name), QByteArray(length, 'x')));
        QTextCursor cursor = text()->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        text()->setTextCursor(cursor);
    }
    QTextEdit *text() const { return m_window->findChild<QTextEdit *>("textWidget"); }
    QMenu *menu() const { return m_window->findChild<QPushButton *>("btnBookmark")->menu(); }
    QStringList menuTexts() const
    {
        QStringList texts;
        for (QAction *action : menu()->actions())
            texts << action->text(); // a separator has none
        return texts;
    }
    int jump(int entry)
    {
        menu()->actions().at(entry)->trigger();
        return text()->textCursor().position();
    }
    // of the list in memory, or of the file when fromFile
    static QString bookmarks(bool fromFile = false)
    {
        const BookmarkDataItem kept = BookmarkConfig::bookmarks;
        if (fromFile)
            BookmarkConfig().load(bookmarkFilePath());
        QStringList parts;
        for (const BookmarkEntry &entry : qAsConst(BookmarkConfig::bookmarks))
            parts << entry.title + QLatin1Char('@') + entry.pos;
        BookmarkConfig::bookmarks = kept;
        return parts.join(QLatin1Char('|'));
    }

    QTemporaryDir m_files;
    std::unique_ptr<MainForm> m_window;
};

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestBookmarkMenug)
#include "tst_bookmarkmenug.moc"
