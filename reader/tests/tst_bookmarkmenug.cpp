#include "MainForm.h"

#include "BookmarkConfig.h"
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

namespace
{

// "title@pos|…" for the list in memory, or for the file when fromFile.
QString bookmarks(bool fromFile = false)
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

} // namespace

// The bookmark flow as a person meets it, on a real main window whose
// Bookmark.xml lies beside the program.
class TestBookmarkMenug : public QObject
{
    Q_OBJECT

private slots:
    // A closed dialog must not make the application quit inside the next one.
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init() { restart({}); }
    void cleanup()
    {
        delete m_window;
        m_window = nullptr;
    }
    void addFromContextMenu_data();
    void addFromContextMenu();
    void jumpsInWhateverFileIsOpen();
    void manager_data();
    void manager();

private:
    // The list is class-level: a restarted program begins empty and reads the file.
    void restart(const BookmarkDataItem &stored)
    {
        delete m_window;
        BookmarkConfig::bookmarks = stored;
        BookmarkConfig().save(bookmarkFilePath());
        BookmarkConfig::bookmarks.clear();
        m_window = new MainForm;
        m_text = m_window->findChild<QTextEdit *>(QStringLiteral("textWidget"));
        m_menu = m_window->findChild<QPushButton *>(QStringLiteral("btnBookmark"))->menu();
    }
    void open(const QString &name, int length, int cursor)
    {
        QFile file(m_files.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(length, 'x'));
        file.close();
        m_window->findChild<TextDisplay *>()->openFile(file.fileName(), true, 0);
        QTextCursor moved = m_text->textCursor();
        moved.setPosition(cursor);
        m_text->setTextCursor(moved);
    }
    QStringList menuTexts() const
    {
        QStringList texts;
        for (QAction *action : m_menu->actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return texts;
    }
    int jump(int entry)
    {
        m_menu->actions().at(entry)->trigger();
        return m_text->textCursor().position();
    }

    QTemporaryDir m_files;
    MainForm *m_window = nullptr;
    QTextEdit *m_text = nullptr;
    QMenu *m_menu = nullptr;
};

void TestBookmarkMenug::addFromContextMenu_data()
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

void TestBookmarkMenug::addFromContextMenu()
{
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, typed);
    QFETCH(QString, title);
    open(QStringLiteral("甲.txt"), 100, anchor);
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);

    QString proposed;
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("edtTitle"));
        proposed = edit->text();
        if (!typed.isNull())
            edit->setText(typed);
        dialog->findChild<QPushButton *>(QStringLiteral("btnAdd"))->click();
    });
    m_text->actions().first()->trigger();

    QCOMPARE(watcher.title, QStringLiteral("添加书签"));
    QCOMPARE(proposed, QStringLiteral("甲：") + cursor.selectedText());
    QCOMPARE(bookmarks(true), title + QLatin1Char('@') + QString::number(position));
    QCOMPARE(menuTexts(), QStringList({"书签管理", "-", title}));
}

// Positions are offsets into whatever is on screen; one too far leaves the
// cursor where it was. Titles are not unique: the first one wins.
void TestBookmarkMenug::jumpsInWhateverFileIsOpen()
{
    restart({{"near", "60"}, {"far", "5000"}, {"dup", "100"}, {"a&b", "seven"}, {"dup", "500"}});
    QCOMPARE(menuTexts(), QStringList({"书签管理", "-", "near", "far", "dup", "a&b", "dup"}));
    open(QStringLiteral("long.txt"), 20000, 0);
    QCOMPARE(jump(2), 60);
    QVERIFY(!m_text->textCursor().hasSelection());
    QCOMPARE(jump(6), 100);
    QCOMPARE(jump(5), 0);
    open(QStringLiteral("short.txt"), 100, 30);
    QCOMPARE(jump(3), 30);
}

void TestBookmarkMenug::manager_data()
{
    QTest::addColumn<QStringList>("steps"); // rows, buttons and answers to questions
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("questions");
    const QString all = QStringLiteral("a@1|b@2|c@3");
    QTest::newRow("remove second, save") << QStringList{"row 1", "btnRemove", "ok", "btnOk"}
                                         << "a@1|c@3" << QStringList{"是否删除标签：b"};
    QTest::newRow("remove, then cancel") << QStringList{"row 0", "btnRemove", "ok", "btnCancel"}
                                         << all << QStringList{"是否删除标签：a"};
    QTest::newRow("remove all, save") << QStringList{"row 2", "btnRemoveAll", "ok", "btnOk"} << ""
                                      << QStringList{"是否删除全部标签？"};
    QTest::newRow("empty list") << QStringList{"empty", "btnRemove", "btnRemoveAll", "btnOk"} << ""
                                << QStringList();
    QTest::newRow("Enter closes") << QStringList{"row 0", "btnRemove", "ok", "Enter"} << all
                                  << QStringList{"是否删除标签：a"};
}

// Steps run inside the manager's own loop; a question is answered by the
// step that follows the button that asked it.
void TestBookmarkMenug::manager()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, after);
    QFETCH(QStringList, questions);
    restart(steps.contains("empty") ? BookmarkDataItem()
                                    : BookmarkDataItem{{"a", "1"}, {"b", "2"}, {"c", "3"}});

    QStringList asked;
    QStringList pending = steps;
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            asked << box->text();
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
            const bool yes = pending.takeFirst() == "ok";
            box->button(yes ? QMessageBox::Ok : QMessageBox::Cancel)->click();
            return;
        }
        auto *list = dialog->findChild<QListWidget *>();
        QCOMPARE(list->count(), steps.contains("empty") ? 0 : 3);
        QTimer::singleShot(0, dialog, [&pending, dialog, list] {
            while (!pending.isEmpty()) {
                const QString step = pending.takeFirst();
                if (step.startsWith("row"))
                    list->setCurrentRow(step.mid(4).toInt());
                else if (step == "Enter")
                    QTest::keyClick(list, Qt::Key_Return);
                else if (auto *button = dialog->findChild<QPushButton *>(step))
                    button->click();
            }
        });
    });
    m_menu->actions().first()->trigger();

    QCOMPARE(asked, questions);
    QVERIFY(pending.isEmpty() && m_window->findChild<QDialog *>() == nullptr);
    QCOMPARE(bookmarks(), after);
    QCOMPARE(bookmarks(true), after);
    QCOMPARE(menuTexts().mid(2).join('|'), QString(after).remove(QRegularExpression("@\\d")));
}

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestBookmarkMenug)
#include "tst_bookmarkmenug.moc"
