#include "ChapterPanel.h"
#include "FindAll.h"
#include "SearchPanel.h"
#include "SearchResultModel.h"
#include "TextDisplay.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMainWindow>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QtTest>

// The window as far as searching goes, wired as the main window wires it.
struct SearchWindow {
    QMainWindow window;
    QTextEdit *view = new QTextEdit;
    TextDisplay display;
    ChapterPanel *chapters = new ChapterPanel;
    QLineEdit box;
    QPushButton all;
    QCheckBox matchCase, regex;
    FindAll *findAll;

    SearchWindow()
    {
        window.setCentralWidget(view);
        display.setTextWidget(view);
        chapters->setTextWidget(view);
        chapters->setTextDisplay(&display);
        chapters->dockOn(&window, new QTabWidget(&window));
        QObject::connect(&display, &TextDisplay::textRead, chapters, &ChapterPanel::scanText);
        findAll = new FindAll(&window, &display, view);
        findAll->setControls(&box, &all, &matchCase, &regex);
        findAll->attachTo(chapters);
        window.resize(900, 600);
        window.show();
    }
    QListView *list() const { return findAll->panel()->findChild<QListView *>(); }
    QAbstractItemModel *rows() const { return list()->model(); }
    QString status() const { return findAll->panel()->findChild<QLabel *>()->text(); }
    QString selected() const { return view->textCursor().selectedText(); }
};

class TestFindAll : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeNovel(const QString &name, const QString &text)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return QString();
        file.write(text.toUtf8());
        return file.fileName();
    }

    // Three chapters, 林风 twice in each, a watermark before every line.
    QString novel()
    {
        QString text;
        for (const QString &title : {QStringLiteral("第一章 风起"), QStringLiteral("第二章 云涌"),
                                     QStringLiteral("第三章 雷动")}) {
            text += title + QStringLiteral("\r\n");
            for (int i = 0; i < 20; ++i)
                text += QStringLiteral("【广告】　　山门前，%1望着云海。\r\n")
                            .arg(i % 10 == 0 ? QStringLiteral("林风") : QStringLiteral("少年"));
        }
        return writeNovel(QStringLiteral("novel.txt"), text);
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    // In a cleaned view the rows, the jumps and the keys go by what is shown.
    void listsJumpsAndSteps()
    {
        SearchWindow w;
        TransformOptions cleaned;
        cleaned.rules.append(
            {QStringLiteral("watermark"), QStringLiteral("【广告】"), QString(), false, true});
        w.display.setTransformOptions(cleaned);
        QVERIFY(w.display.openFile(novel(), true, 0));
        QVERIFY(!w.view->toPlainText().contains(QStringLiteral("广告")));

        w.box.setText(QStringLiteral("林风"));
        QTest::keyClick(&w.box, Qt::Key_Return);
        QVERIFY(w.findAll->panel()->isVisible());
        QTRY_COMPARE(w.rows()->rowCount(), 6);
        QTRY_COMPARE(w.status(), QStringLiteral("共 6 处"));
        QTRY_COMPARE(w.rows()->index(2, 0).data(SearchResultModel::ChapterRole).toString(),
                     QStringLiteral("第二章 云涌"));
        QCOMPARE(w.rows()->index(0, 0).data(SearchResultModel::BeforeRole).toString(),
                 QStringLiteral("第一章 风起 山门前，"));
        QVERIFY(!w.view->extraSelections().isEmpty());

        emit w.list()->activated(w.rows()->index(4, 0));
        QCOMPARE(w.selected(), QStringLiteral("林风"));
        const int fifth = w.view->textCursor().selectionStart();
        QCOMPARE(w.view->document()->findBlock(fifth).text(),
                 QStringLiteral("　　山门前，林风望着云海。"));
        QVERIFY(w.findAll->step(true));
        QVERIFY(w.view->textCursor().selectionStart() > fifth);
        QCOMPARE(w.list()->currentIndex().row(), 5);
        QVERIFY(w.findAll->step(true)); // the last stays
        QCOMPARE(w.list()->currentIndex().row(), 5);
        QVERIFY(w.findAll->step(false));
        QCOMPARE(w.view->textCursor().selectionStart(), fifth);

        w.findAll->panel()->close();
        QCOMPARE(w.rows()->rowCount(), 0);
        QVERIFY(w.view->extraSelections().isEmpty());
        QVERIFY(!w.findAll->step(true));
    }

    void optionsAndErrors_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<bool>("regex");
        QTest::addColumn<QString>("status");
        QTest::newRow("capitals only with case") << "LIN" << true << false << "未找到";
        QTest::newRow("capitals match small letters") << "LIN" << false << false << "共 2 处";
        QTest::newRow("expression") << "^第.章" << false << true << "共 2 处";
        QTest::newRow("not an expression")
            << "第(" << false << true
            << "正则表达式有误：missing closing parenthesis（第 3 个字符）";
    }

    void optionsAndErrors()
    {
        QFETCH(QString, query);
        QFETCH(bool, matchCase);
        QFETCH(bool, regex);
        QFETCH(QString, status);
        SearchWindow w;
        QVERIFY(w.display.openFile(writeNovel(QStringLiteral("lin.txt"),
                                              QStringLiteral("第一章\nlin feng\n第二章\nLin\n")),
                                   true, 0));
        w.box.setText(query);
        w.matchCase.setChecked(matchCase);
        w.regex.setChecked(regex);
        w.all.click();
        QTRY_COMPARE(w.status(), status);
    }

    // Shown in Taiwan's script, the list finds a word typed in simplified
    // characters, and jumps to what the view shows for it.
    void eitherScript()
    {
        SearchWindow w;
        TransformOptions options;
        options.script = Script::TraditionalTaiwanPhrases;
        w.display.setTransformOptions(options);
        QVERIFY(
            w.display.openFile(writeNovel(QStringLiteral("script.txt"),
                                          QStringLiteral("第一章\n少年打开软件。\n软件很慢。\n")),
                               true, 0));
        w.box.setText(QStringLiteral("软件"));
        w.all.click();
        QTRY_COMPARE(w.status(), QStringLiteral("共 2 处"));
        w.list()->setCurrentIndex(w.rows()->index(1, 0));
        emit w.list()->activated(w.rows()->index(1, 0));
        QTRY_COMPARE(w.selected(), QStringLiteral("軟體"));
    }

    // Opening another file ends the search of the one before at once.
    void newFileCancels()
    {
        SearchWindow w;
        QVERIFY(w.display.openFile(novel(), true, 0));
        w.box.setText(QStringLiteral("林风"));
        w.all.click();
        QVERIFY(w.display.openFile(writeNovel(QStringLiteral("other.txt"), QStringLiteral("林风")),
                                   true, 0));
        QCOMPARE(w.rows()->rowCount(), 0);
        QCOMPARE(w.status(), QString());
        QCoreApplication::processEvents(); // what the old search still had on its way
        QCOMPARE(w.rows()->rowCount(), 0);
        w.all.click();
        QTRY_COMPARE(w.status(), QStringLiteral("共 1 处"));
    }
};

QTEST_MAIN(TestFindAll)
#include "tst_findall.moc"
