#include "ChapterModel.h"
#include "ChapterPanel.h"
#include "ChapterRuleDialog.h"
#include "MainForm.h"
#include "ProgramConstants.h"
#include "ReadingState.h"
#include "TextDisplay.h"

#include <QDialogButtonBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

class TestChapterPanel : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void listJumpsAndFollowsReading();
    void listBelongsToTheLatestText();
    void listWaitsForALongText();
    void ruleOfOnesOwn();
    void ruleChosenWhileTheTextArrives();

private:
    QString writeFile(const QString &name, const QString &text);
    int headingPosition(const QString &title) const;
    int currentRow() const { return m_list->currentIndex().row(); }

    QTemporaryDir m_files;
    MainForm *m_window = nullptr;
    TextDisplay *m_display = nullptr;
    QListView *m_list = nullptr;
    QTextEdit *m_text = nullptr;
};

void TestChapterPanel::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestChapterPanel::init()
{
    m_window = new MainForm;
    m_window->show();
    QApplication::setActiveWindow(m_window);
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_display = m_window->findChild<TextDisplay *>();
    m_list = m_window->findChild<QListView *>(QStringLiteral("chapterView"));
    m_text = m_window->findChild<QTextEdit *>(QStringLiteral("textWidget"));
    QVERIFY(m_list != nullptr);
}

void TestChapterPanel::cleanup()
{
    delete m_window;
}

QString TestChapterPanel::writeFile(const QString &name, const QString &text)
{
    QFile file(m_files.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0)
        qFatal("cannot write %s", qPrintable(file.fileName()));
    return file.fileName();
}

int TestChapterPanel::headingPosition(const QString &title) const
{
    return m_text->document()->find(title).block().position();
}

// A title line, then two volumes of twenty long chapters, with CR LF: more
// rows than the list shows at once.
void TestChapterPanel::listJumpsAndFollowsReading()
{
    QString novel = QStringLiteral("书名\r\n楔子\r\n");
    for (int i = 1; i <= 40; ++i) {
        if (i % 20 == 1)
            novel += QStringLiteral("第%1卷 卷名\r\n").arg(i / 20 + 1);
        novel += QStringLiteral("第%1章 标题\r\n").arg(i);
        novel += QStringLiteral("　　天下大势，分久必合，合久必分。\r\n").repeated(60);
    }
    m_display->openFile(writeFile("novel.txt", novel), true, 0);
    QTRY_COMPARE(m_list->model()->rowCount(), 43);
    QCOMPARE(m_list->model()->index(1, 0).data().toString(), QStringLiteral("第1卷 卷名"));
    QVERIFY(m_list->model()->index(1, 0).data(Qt::FontRole).value<QFont>().bold());
    QCOMPARE(currentRow(), -1); // the title line is above every heading
    QCOMPARE(m_window->windowTitle(), QStringLiteral("novel.txt - 澄溪文本阅读器"));

    m_list->setFocus();
    m_list->setCurrentIndex(m_list->model()->index(5, 0));
    QTest::keyClick(m_list, Qt::Key_Return);
    QCOMPARE(m_display->topPosition(), headingPosition("第4章 标题"));
    QCOMPARE(m_window->windowTitle(), QStringLiteral("novel.txt - 第4章 标题 - 澄溪文本阅读器"));
    QScrollBar *bar = m_text->verticalScrollBar();
    bar->setValue(bar->value() - 4); // the last line of the chapter before
    QCOMPARE(currentRow(), 4);

    auto *dock = m_window->findChild<QDockWidget *>(QStringLiteral("chapterDock"));
    QTest::keyClick(m_window, Qt::Key_F9);
    QVERIFY(dock->isHidden());
    QTest::keyClick(m_window, Qt::Key_PageDown, Qt::ControlModifier);
    QCOMPARE(m_display->topPosition(), headingPosition("第4章 标题"));
    bar->setValue(bar->maximum());
    QCOMPARE(currentRow(), 42);
    QTest::keyClick(m_window, Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(m_display->topPosition(), headingPosition("第39章 标题"));
    QTest::mouseClick(m_window->findChild<QToolButton *>(QStringLiteral("btnChapters")),
                      Qt::LeftButton);
    QVERIFY(dock->isVisible());
    QCOMPARE(currentRow(), 41);
    const QRect row = m_list->visualRect(m_list->currentIndex());
    QVERIFY(row.top() >= 0 && row.bottom() < m_list->viewport()->height());
}

// A text opened before the list of the one before was ready gets its own
// list; a text without headings says so.
void TestChapterPanel::listBelongsToTheLatestText()
{
    const QString novel =
        writeFile("novel.txt", QStringLiteral("第一章 风起\n正文\n").repeated(5000));
    const QString prose = writeFile("prose.txt", QStringLiteral("　　正文。\n").repeated(100));
    auto *none = m_window->findChild<QLabel *>(QStringLiteral("lblNoChapters"));
    m_display->openFile(novel, true, 0);
    m_display->openFile(prose, true, 0);
    QTRY_VERIFY(none->isVisible());
    // Whatever the first scan had to say has been said by now.
    QThreadPool::globalInstance()->waitForDone();
    QCoreApplication::processEvents();
    QVERIFY(none->isVisible());
    QCOMPARE(none->text(), QStringLiteral("未找到章节"));
    QCOMPARE(m_list->model()->rowCount(), 0);

    m_display->openFile(novel, true, 0);
    QTRY_COMPARE(m_list->model()->rowCount(), 5000);
    QVERIFY(m_list->isVisible());
}

// While a long text arrives the list of the text before is gone and "no
// chapters" is not said yet; the window shows how far the text has come.
void TestChapterPanel::listWaitsForALongText()
{
    const QString novel =
        writeFile("novel.txt", QStringLiteral("第一章 风起\n正文\n").repeated(50));
    QString text;
    for (int i = 1; i <= 3000; ++i)
        text += QStringLiteral("第%1章 山雨\n").arg(i) +
                QStringLiteral("　　天下大势，分久必合，合久必分。\n").repeated(20);
    const QString longNovel = writeFile("long.txt", text);
    auto *none = m_window->findChild<QLabel *>(QStringLiteral("lblNoChapters"));
    auto *progress = m_window->findChild<QWidget *>(QStringLiteral("pbLoad"));
    QVERIFY(progress != nullptr);
    m_display->openFile(novel, true, 0);
    QTRY_COMPARE(m_list->model()->rowCount(), 50);

    m_display->openFile(longNovel, true, 0);
    QVERIFY(m_display->isLoading());
    QCOMPARE(m_list->model()->rowCount(), 0);
    QTRY_VERIFY(progress->isVisible());
    QVERIFY(!none->isVisible());
    QTRY_COMPARE(m_list->model()->rowCount(), 3000);
    // The list comes once the text is read, which may be before it is all
    // in the view: a heading that has not arrived yet is shown once it has.
    m_list->setFocus();
    m_list->setCurrentIndex(m_list->model()->index(2989, 0));
    QTest::keyClick(m_list, Qt::Key_Return);
    QTRY_VERIFY(!progress->isVisible());
    QTRY_COMPARE(m_display->topPosition(), headingPosition(QStringLiteral("第2990章 山雨")));
}

// Headings the automatic rule misses: the dialog counts each rule, refuses
// an invalid and a hostile expression with a reason, and the rule chosen is
// kept for the file, as are a line made a chapter and a chapter taken out.
void TestChapterPanel::ruleOfOnesOwn()
{
    QString text = QStringLiteral("aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaab\n");
    for (int i = 1; i <= 12; ++i)
        text += QStringLiteral("◆ 山雨%1\n").arg(QChar(0x4E00 + 7 * i)) +
                QStringLiteral("　　天下大势，分久必合，合久必分。\n").repeated(20);
    const QString novel = writeFile("marks.txt", text);
    m_display->openFile(novel, true, 0);
    auto *none = m_window->findChild<QLabel *>(QStringLiteral("lblNoChapters"));
    QTRY_VERIFY(none->isVisible());

    QTest::mouseClick(m_window->findChild<QToolButton *>(QStringLiteral("btnChapterRule")),
                      Qt::LeftButton);
    ChapterRuleDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = m_window->findChild<ChapterRuleDialog *>()) != nullptr);
    auto *rules = dialog->findChild<QTreeWidget *>(QStringLiteral("ruleList"));
    auto *pattern = dialog->findChild<QLineEdit *>(QStringLiteral("edtChapterPattern"));
    auto *message = dialog->findChild<QLabel *>(QStringLiteral("lblRuleMessage"));
    QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    QTRY_COMPARE(rules->topLevelItem(ChapterRule::Automatic)->text(1), QStringLiteral("0"));
    QVERIFY(ok->isEnabled());

    QTest::keyClicks(pattern, QStringLiteral("^\\x{25C6} ("));
    QTRY_VERIFY(message->text().startsWith(QStringLiteral("表达式无效")));
    QVERIFY(!ok->isEnabled());
    pattern->clear();
    QTest::keyClicks(pattern, QStringLiteral("^(a+)+$"));
    QTRY_VERIFY(message->text().contains(QStringLiteral("超出了匹配的限度")));
    QVERIFY(!ok->isEnabled());
    pattern->clear();
    QTest::keyClicks(pattern, QStringLiteral("^\\x{25C6}"));
    QTRY_COMPARE(rules->topLevelItem(ChapterRule::Custom)->text(1), QStringLiteral("12"));
    QVERIFY(rules->topLevelItem(ChapterRule::Custom)->text(2).contains(QStringLiteral("◆ 山雨")));
    QVERIFY(ok->isEnabled());
    QTest::mouseClick(ok, Qt::LeftButton);
    QTRY_COMPARE(m_list->model()->rowCount(), 12);
    QCOMPARE(m_list->model()->index(0, 0).data().toString(),
             QStringLiteral("◆ 山雨%1").arg(QChar(0x4E00 + 7)));

    auto *panel = m_window->findChild<ChapterPanel *>();
    panel->addChapterAt(0); // the line of a's
    panel->removeChapter(3);
    QCOMPARE(m_list->model()->rowCount(), 12);
    QCOMPARE(m_list->model()->index(0, 0).data().toString().left(3), QStringLiteral("aaa"));
    QCOMPARE(m_list->model()->index(3, 0).data().toString(),
             QStringLiteral("◆ 山雨%1").arg(QChar(0x4E00 + 28)));

    // Kept for the file, in the reading state's file.
    m_display->openFile(writeFile("other.txt", QStringLiteral("第一章 风起\n")), true, 0);
    QTRY_COMPARE(m_list->model()->rowCount(), 1);
    ReadingState stored;
    stored.load(readingStateFilePath());
    QCOMPARE(stored.choice(novel, ChapterRule::ChoiceKey), QStringLiteral("regex:^\\x{25C6}"));
    m_display->openFile(novel, true, 0);
    QTRY_COMPARE(m_list->model()->rowCount(), 12);
    QCOMPARE(m_list->model()->index(3, 0).data().toString(),
             QStringLiteral("◆ 山雨%1").arg(QChar(0x4E00 + 28)));
}

// The dialog previews what has arrived; the book's list is still the rule's
// scan of the whole text, also when the rest came in while it was open.
void TestChapterPanel::ruleChosenWhileTheTextArrives()
{
    QString text;
    for (int i = 1; i <= 3000; ++i)
        text += QStringLiteral("◆ 山雨%1\n").arg(i) +
                QStringLiteral("　　天下大势，分久必合，合久必分。\n").repeated(20);
    m_display->openFile(writeFile("long-marks.txt", text), true, 0);
    QVERIFY(m_display->isLoading());
    QTest::mouseClick(m_window->findChild<QToolButton *>(QStringLiteral("btnChapterRule")),
                      Qt::LeftButton);
    ChapterRuleDialog *dialog = nullptr;
    QTRY_VERIFY((dialog = m_window->findChild<ChapterRuleDialog *>()) != nullptr);
    auto *rules = dialog->findChild<QTreeWidget *>(QStringLiteral("ruleList"));
    QTest::keyClicks(dialog->findChild<QLineEdit *>(QStringLiteral("edtChapterPattern")),
                     QStringLiteral("^\\x{25C6}"));
    QTRY_VERIFY(rules->topLevelItem(ChapterRule::Custom)->text(1).toInt() > 0);
    QVERIFY(rules->topLevelItem(ChapterRule::Custom)->text(1).toInt() < 3000);
    QTRY_VERIFY(!m_display->isLoading());
    QTest::mouseClick(dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    QTRY_COMPARE(m_list->model()->rowCount(), 3000);
}

QTEST_MAIN(TestChapterPanel)
#include "tst_chapterpanel.moc"
