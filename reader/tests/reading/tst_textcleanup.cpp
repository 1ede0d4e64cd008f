#include "BookmarkConfig.h"
#include "BookmarkMenug.h"
#include "CleaningRuleStore.h"
#include "MainForm.h"
#include "ProgramConstants.h"
#include "TextCleanup.h"
#include "TextDisplay.h"

#include "ModalDialogWatcher.h"
#include "TemporaryProgramFolder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextCodec>
#include <QTextEdit>
#include <QtTest>

#include <memory>

using namespace TemporaryProgramFolder;

namespace
{

// A novel as a site hands it out: a watermark line after every fifth line,
// CR LF line ends, GBK.
QString novel()
{
    QString text;
    for (int i = 0; i < 3000; ++i) {
        text += QStringLiteral("第%1行：山间的雾气慢慢散开，少年背起行囊。\r\n").arg(i);
        if (i % 5 == 4)
            text += QStringLiteral("wwＷ．xiabook.com\r\n");
    }
    return text;
}

// Where a line starts in the file's text, CR LF counting one.
int filePositionOf(const QString &text, const QString &line)
{
    return QString(text).replace("\r\n", "\n").indexOf(line);
}

} // namespace

// The text as the reader wants it, on a real main window in an empty
// program folder: what is shown changes, the places kept do not.
class TestTextCleanup : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainForm> m_window;
    QTemporaryDir m_files;
    QString m_novel;

    TextDisplay *display() const { return m_window->findChild<TextDisplay *>(); }
    QTextEdit *view() const
    {
        return m_window->findChild<QTextEdit *>(QStringLiteral("textWidget"));
    }
    // The line at the top of the view, as shown.
    QString topLine() const
    {
        QTextCursor cursor = view()->cursorForPosition(QPoint(0, 0));
        return cursor.block().text().left(7);
    }
    void start()
    {
        m_window = std::make_unique<MainForm>();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    // Closed as the program closes it, inside the event loop it ends; the
    // reading places are written then.
    void closeWindow()
    {
        QTimer::singleShot(0, m_window.get(), &QWidget::close);
        QCOMPARE(QApplication::exec(), 0);
        m_window.reset();
    }
    // Every built-in rule switched on or off in the dialog, then OK.
    void switchBuiltInRules(bool on)
    {
        ModalDialogWatcher watcher([on](QDialog *dialog) {
            auto *table = dialog->findChild<QTableWidget *>(QStringLiteral("tblRules"));
            for (int row = 0; row < table->rowCount(); ++row) {
                if (!(table->item(row, 1)->flags() & Qt::ItemIsEditable))
                    table->item(row, 0)->setCheckState(on ? Qt::Checked : Qt::Unchecked);
            }
            dialog->accept();
        });
        m_window->findChild<QPushButton *>(QStringLiteral("btnCleaningRules"))->click();
        QCOMPARE(watcher.title, QStringLiteral("净化规则"));
    }

private slots:
    void init()
    {
        m_novel = novel();
        writeFile(m_files.filePath(QStringLiteral("novel.txt")),
                  QTextCodec::codecForName("GBK")->fromUnicode(m_novel));
    }
    void cleanup() { m_window.reset(); }

    // A bookmark made in the cleaned view and the reading position both
    // stand at the same words once the cleaning is off, and the top line
    // stays where it was across the switch.
    void placesSurviveASwitch()
    {
        start();
        const QString path = m_files.filePath(QStringLiteral("novel.txt"));
        dropFile(m_window.get(), path);
        QVERIFY(!view()->toPlainText().contains(QStringLiteral("xiabook")));
        const QString line = QStringLiteral("第1500行：");
        const int place = filePositionOf(m_novel, line);
        display()->showPosition(place, 0);
        QTRY_COMPARE(topLine(), line);
        QCOMPARE(display()->topPosition(), place);
        closeWindow(); // keeps where the book was read

        start();
        dropFile(m_window.get(), path);
        QTRY_COMPARE(topLine(), line);
        {
            // a bookmark at the cursor, put at the top line's start
            ModalDialogWatcher added([](QDialog *dialog) {
                dialog->findChild<QPushButton *>(QStringLiteral("btnAdd"))->click();
            });
            m_window->findChild<BookmarkMenug *>()->showAddBookmarkForm();
            QCOMPARE(BookmarkConfig::bookmarks.last().pos.toInt(), place);
        }
        switchBuiltInRules(false);
        QVERIFY(view()->toPlainText().contains(QStringLiteral("xiabook")));
        QTRY_COMPARE(topLine(), line);
        QCOMPARE(display()->topPosition(), place);

        display()->showPosition(0, 0);
        m_window->findChild<BookmarkMenug *>()->goToPosition(place);
        QCOMPARE(view()->textCursor().block().text().left(line.size()), line);
        display()->showPosition(place, 0);
        closeWindow();

        start();
        dropFile(m_window.get(), path);
        QTRY_COMPARE(topLine(), line);
        QVERIFY(view()->toPlainText().contains(QStringLiteral("xiabook")));
    }

    // Tidied paragraphs are the book's choice and come back with it.
    void tidyIsTheBooksChoice()
    {
        start();
        const QString path = m_files.filePath(QStringLiteral("novel.txt"));
        dropFile(m_window.get(), path);
        auto *tidy = m_window->findChild<QCheckBox *>(QStringLiteral("cbTidyBook"));
        QVERIFY(!tidy->isChecked());
        tidy->click();
        QVERIFY(view()->toPlainText().startsWith(QStringLiteral("　　第0行")));
        closeWindow();
        start();
        dropFile(m_window.get(), path);
        QVERIFY(m_window->findChild<QCheckBox *>(QStringLiteral("cbTidyBook"))->isChecked());
        QVERIFY(view()->toPlainText().startsWith(QStringLiteral("　　第0行")));
    }

    // The script is the book's choice: the book is read again in it at the
    // line on top, the bookmark dialog proposes a title in it, and the book
    // comes back in it; books read the first time follow the default.
    void scriptIsTheBooksChoice()
    {
        start();
        // a book of its own: the other tests' choices stay with theirs
        const QString path = m_files.filePath(QStringLiteral("script.txt"));
        writeFile(path, QTextCodec::codecForName("GBK")->fromUnicode(m_novel));
        dropFile(m_window.get(), path);
        const int place = filePositionOf(m_novel, QStringLiteral("第1500行："));
        display()->showPosition(place, 0);
        auto *book = m_window->findChild<QComboBox *>(QStringLiteral("cbbScriptBook"));
        book->activated(int(Script::TraditionalTaiwanPhrases));
        QVERIFY(view()->toPlainText().contains(QStringLiteral("山間的霧氣慢慢散開")));
        QTRY_COMPARE(topLine(), QStringLiteral("第1500行："));
        QCOMPARE(display()->topPosition(), place);
        {
            QString proposed;
            ModalDialogWatcher added([&proposed](QDialog *dialog) {
                proposed = dialog->findChild<QLineEdit *>(QStringLiteral("edtTitle"))->text();
                dialog->reject();
            });
            QTextCursor cursor = view()->textCursor();
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            view()->setTextCursor(cursor);
            m_window->findChild<BookmarkMenug *>()->showAddBookmarkForm();
            QVERIFY2(proposed.endsWith(QStringLiteral("山間的霧氣慢慢散開，少年背起行囊。")),
                     qPrintable(proposed));
        }
        m_window->findChild<QComboBox *>(QStringLiteral("cbbScriptDefault"))
            ->activated(int(Script::Traditional));
        closeWindow();

        start();
        dropFile(m_window.get(), path);
        QCOMPARE(m_window->findChild<QComboBox *>(QStringLiteral("cbbScriptBook"))->currentIndex(),
                 int(Script::TraditionalTaiwanPhrases));
        QVERIFY(view()->toPlainText().contains(QStringLiteral("山間的霧氣慢慢散開")));
        const QString other = m_files.filePath(QStringLiteral("other.txt"));
        writeFile(other, QStringLiteral("鼠标和软件\n").toUtf8());
        dropFile(m_window.get(), other);
        QCOMPARE(view()->toPlainText(), QStringLiteral("鼠標和軟件\n"));
    }

    // A rule that needs more work than a match may take is switched off
    // and named; the text still shows, cleaned by the other rules.
    void hostileRuleSwitchedOff()
    {
        CleaningRuleStore store;
        store.rules.append(
            {{QStringLiteral("贪心"), QStringLiteral("(a+)+$"), QString(), true, true}, QString()});
        QVERIFY(store.save(cleaningRulesFilePath()));
        writeFile(m_files.filePath(QStringLiteral("aaa.txt")),
                  QString(40, 'a').toUtf8() + "b\nwww.xiabook.com\n甲\n");
        start();
        ModalDialogWatcher told;
        dropFile(m_window.get(), m_files.filePath(QStringLiteral("aaa.txt")));
        QTRY_VERIFY(told.text.contains(QStringLiteral("贪心")));
        QCOMPARE(view()->toPlainText(), QString(40, 'a') + QStringLiteral("b\n甲\n"));
        CleaningRuleStore saved;
        saved.load(cleaningRulesFilePath());
        QVERIFY(!saved.rules.first().rule.enabled);
    }
};

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestTextCleanup)
#include "tst_textcleanup.moc"
