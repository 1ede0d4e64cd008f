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

// The bookmark flow as a person meets it: the context menu's 添加书签, the
// bookmark button's menu and the manager, on a real main window whose
// Bookmark.xml lies beside the program.
class TestBookmarkMenug : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void addProposesSelection_data();
    void addProposesSelection();
    void jumpsInWhateverFileIsOpen();
    void storedListAfterRestart();
    void manager_data();
    void manager();

private:
    void restart();
    void restartWith(const BookmarkDataItem &items);
    void open(const QString &name, int length);
    QStringList menuTexts() const;
    void choose(const QString &text);
    static BookmarkDataItem saved();

    QTemporaryDir m_files;
    MainForm *m_window = nullptr;
    QTextEdit *m_text = nullptr;
};

namespace
{

QString describe(const BookmarkDataItem &items)
{
    QStringList parts;
    for (const BookmarkEntry &entry : items)
        parts << entry.title + QLatin1Char('@') + entry.pos;
    return parts.join(QLatin1Char('|'));
}

template <typename T> T *child(QObject *parent, const char *name)
{
    return parent->findChild<T *>(QString::fromLatin1(name));
}

} // namespace

void TestBookmarkMenug::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestBookmarkMenug::init()
{
    QFile::remove(bookmarkFilePath());
    BookmarkConfig::bookmarks.clear();
    restart();
}

void TestBookmarkMenug::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

// The list is class-level; a restart of the program begins empty and reads
// the file.
void TestBookmarkMenug::restart()
{
    delete m_window;
    BookmarkConfig::bookmarks.clear();
    m_window = new MainForm;
    m_text = child<QTextEdit>(m_window, "textWidget");
}

void TestBookmarkMenug::restartWith(const BookmarkDataItem &items)
{
    BookmarkConfig::bookmarks = items;
    BookmarkConfig().save(bookmarkFilePath());
    restart();
}

void TestBookmarkMenug::open(const QString &name, int length)
{
    const QString path = m_files.filePath(name + QStringLiteral(".txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(length, 'x'));
    file.close();
    m_window->findChild<TextDisplay *>()->openFile(path, true, 0);
}

QStringList TestBookmarkMenug::menuTexts() const
{
    QStringList texts;
    for (QAction *action : child<QPushButton>(m_window, "btnBookmark")->menu()->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

void TestBookmarkMenug::choose(const QString &text)
{
    QMenu *menu = child<QPushButton>(m_window, "btnBookmark")->menu();
    for (QAction *action : menu->actions()) {
        if (action->text() == text) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no entry ") + text));
}

BookmarkDataItem TestBookmarkMenug::saved()
{
    const BookmarkDataItem kept = BookmarkConfig::bookmarks;
    BookmarkConfig reader;
    reader.load(bookmarkFilePath());
    const BookmarkDataItem read = BookmarkConfig::bookmarks;
    BookmarkConfig::bookmarks = kept;
    return read;
}

void TestBookmarkMenug::addProposesSelection_data()
{
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("typed"); // null: the proposal is kept
    QTest::addColumn<QString>("title");
    QTest::newRow("forwards") << 40 << 60 << QString() << QStringLiteral("甲：") + QString(20, 'x');
    QTest::newRow("backwards") << 60 << 40 << QString()
                               << QStringLiteral("甲：") + QString(20, 'x');
    QTest::newRow("no selection, title edited") << 7 << 7 << QStringLiteral("A & B") << "A & B";
    QTest::newRow("title cleared") << 7 << 7 << QStringLiteral("") << QString();
}

void TestBookmarkMenug::addProposesSelection()
{
    QFETCH(int, anchor);
    QFETCH(int, position);
    QFETCH(QString, typed);
    QFETCH(QString, title);
    open(QStringLiteral("甲"), 100);
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    m_text->setTextCursor(cursor);

    QString proposed;
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        auto *edit = child<QLineEdit>(dialog, "edtTitle");
        proposed = edit->text();
        if (!typed.isNull())
            edit->setText(typed);
        child<QPushButton>(dialog, "btnAdd")->click();
    });
    m_text->actions().first()->trigger();

    QCOMPARE(watcher.title, QStringLiteral("添加书签"));
    QCOMPARE(proposed, QStringLiteral("甲：") + cursor.selectedText());
    const QString stored = title + QLatin1Char('@') + QString::number(position);
    QCOMPARE(describe(saved()), stored);
    QCOMPARE(menuTexts().last(), title);
}

// Positions are offsets into whatever is on screen; one too far leaves the
// cursor where it was and scrolls back to it.
void TestBookmarkMenug::jumpsInWhateverFileIsOpen()
{
    restartWith({{QStringLiteral("near"), QStringLiteral("60")},
                 {QStringLiteral("far"), QStringLiteral("5000")}});
    open(QStringLiteral("long"), 20000);
    choose(QStringLiteral("near"));
    QCOMPARE(m_text->textCursor().position(), 60);
    QVERIFY(!m_text->textCursor().hasSelection());

    open(QStringLiteral("short"), 100);
    QTextCursor cursor = m_text->textCursor();
    cursor.setPosition(30);
    m_text->setTextCursor(cursor);
    choose(QStringLiteral("far"));
    QCOMPARE(m_text->textCursor().position(), 30);
    choose(QStringLiteral("near"));
    QCOMPARE(m_text->textCursor().position(), 60);
}

void TestBookmarkMenug::storedListAfterRestart()
{
    restartWith({{QStringLiteral("dup"), QStringLiteral("100")},
                 {QStringLiteral("a&b"), QStringLiteral("seven")},
                 {QStringLiteral("dup"), QStringLiteral("500")}});
    QCOMPARE(menuTexts(), QStringList({"书签管理", "-", "dup", "a&b", "dup"}));

    open(QStringLiteral("novel"), 1000);
    child<QPushButton>(m_window, "btnBookmark")->menu()->actions().last()->trigger();
    QCOMPARE(m_text->textCursor().position(), 100);
    choose(QStringLiteral("a&b"));
    QCOMPARE(m_text->textCursor().position(), 0);
}

void TestBookmarkMenug::manager_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("questions");
    const QString all = QStringLiteral("a@1|b@2|c@3");
    const QStringList none;
    QTest::newRow("remove second, save") << QStringList{"row 1", "remove", "ok", "save"}
                                         << "a@1|c@3" << QStringList{"是否删除标签：b"};
    QTest::newRow("remove refused") << QStringList{"row 1", "remove", "cancel", "save"} << all
                                    << QStringList{"是否删除标签：b"};
    QTest::newRow("remove, then cancel")
        << QStringList{"row 0", "remove", "ok", "close"} << all << QStringList{"是否删除标签：a"};
    QTest::newRow("remove all, save") << QStringList{"row 2", "remove all", "ok", "save"} << ""
                                      << QStringList{"是否删除全部标签？"};
    QTest::newRow("empty list") << QStringList{"empty", "remove", "remove all", "save"} << ""
                                << none;
    QTest::newRow("enter closes") << QStringList{"row 0", "remove", "ok", "enter"} << all
                                  << QStringList{"是否删除标签：a"};
}

// Steps run inside the manager's own loop; a question box is answered by
// the step that follows the button that asked it.
void TestBookmarkMenug::manager()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, after);
    QFETCH(QStringList, questions);
    restartWith(steps.contains("empty") ? BookmarkDataItem()
                                        : BookmarkDataItem{{"a", "1"}, {"b", "2"}, {"c", "3"}});

    QStringList asked;
    QStringList shownRows;
    QStringList pending = steps;
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
            asked << box->text();
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
            box->button(pending.takeFirst() == "ok" ? QMessageBox::Ok : QMessageBox::Cancel)
                ->click();
            return;
        }
        auto *list = child<QListWidget>(dialog, "listWidget");
        for (int i = 0; i < list->count(); ++i)
            shownRows << list->item(i)->text();
        QTimer::singleShot(0, dialog, [&pending, dialog, list] {
            while (!pending.isEmpty()) {
                const QString step = pending.takeFirst();
                if (step.startsWith("row"))
                    list->setCurrentRow(step.mid(4).toInt());
                else if (step == "remove")
                    child<QPushButton>(dialog, "btnRemove")->click();
                else if (step == "remove all")
                    child<QPushButton>(dialog, "btnRemoveAll")->click();
                else if (step == "save")
                    child<QPushButton>(dialog, "btnOk")->click();
                else if (step == "close")
                    child<QPushButton>(dialog, "btnCancel")->click();
                else if (step == "enter")
                    QTest::keyClick(list, Qt::Key_Return);
            }
        });
    });
    choose(QStringLiteral("书签管理"));

    QCOMPARE(shownRows.join(","), QString(steps.contains("empty") ? "" : "a,b,c"));
    QCOMPARE(asked, questions);
    QVERIFY(pending.isEmpty());
    QVERIFY(m_window->findChild<QDialog *>() == nullptr);
    QCOMPARE(describe(BookmarkConfig::bookmarks), after);
    QCOMPARE(describe(saved()), after);
    QStringList titles = after.isEmpty() ? QStringList() : after.split('|');
    titles.replaceInStrings(QRegularExpression("@.*"), QString());
    QCOMPARE(menuTexts(), QStringList({"书签管理", "-"}) + titles);
}

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestBookmarkMenug)
#include "tst_bookmarkmenug.moc"
