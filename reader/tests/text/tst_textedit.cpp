#include "TextDisplay.h"
#include "TextEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QTextEdit>
#include <QtTest>

class TestTextEdit : public QObject
{
    Q_OBJECT

    // as the main window wires them
    static void wire(QTextEdit *view, QLineEdit *box, QLabel *label, TextDisplay *display,
                     TextEdit *finder)
    {
        display->setTextWidget(view);
        finder->setTextWidget(view);
        finder->setFindEdit(box);
        finder->setTextDisplay(display);
        finder->setResultLabel(label);
    }

    // The view gets its text as a reader's does, from a file.
    static void open(TextDisplay *display, const QTemporaryDir &dir, const QString &text)
    {
        QFile file(dir.filePath(QStringLiteral("book.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.close();
        QVERIFY(display->openFile(file.fileName(), true, 0));
        QTRY_VERIFY_WITH_TIMEOUT(!display->isLoading(), 20000);
    }

private slots:
    void find_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<QString>("presses");  // n: find next, f: find previous, e: Enter
        QTest::addColumn<QList<int>>("found"); // selection start after each press; -1 none
        QTest::addColumn<QString>("answer");   // beside the box after the last press
        // "Moon moon MOON moon" at 0, 5, 10, 15
        // clang-format off
        QTest::newRow("forwards matches case") << "moon" << 0 << "nnn" << QList<int>{5, 15, 15} << "已到达文末";
        QTest::newRow("forwards: capital not in small letters, no wrap") << "Moon" << 1 << "n" << QList<int>{-1} << "已到达文末";
        QTest::newRow("backwards ignores case") << "MOON" << 19 << "ffff" << QList<int>{15, 10, 5, 0} << "";
        QTest::newRow("no wrap at the start") << "moon" << 0 << "nff" << QList<int>{5, 0, 0} << "已到达文首";
        QTest::newRow("nowhere") << "sun" << 7 << "nf" << QList<int>{-1, -1} << "未找到";
        QTest::newRow("Enter is the search for every match") << "moon" << 0 << "e" << QList<int>{-1} << "";
        QTest::newRow("empty box") << "" << 7 << "nf" << QList<int>{-1, -1} << "";
        // clang-format on
    }

    void find()
    {
        QFETCH(QString, word);
        QFETCH(int, cursor);
        QFETCH(QString, presses);
        QFETCH(QList<int>, found);
        QFETCH(QString, answer);
        QTextEdit view;
        QLineEdit box(word);
        QLabel label;
        TextDisplay display;
        TextEdit finder;
        wire(&view, &box, &label, &display, &finder);
        QTemporaryDir dir;
        open(&display, dir, QStringLiteral("Moon moon MOON moon"));
        QTextCursor start = view.textCursor();
        start.setPosition(cursor);
        view.setTextCursor(start);

        for (int i = 0; i < presses.size(); ++i) {
            if (presses.at(i) == QLatin1Char('e'))
                QTest::keyClick(&box, Qt::Key_Return);
            else
                presses.at(i) == QLatin1Char('n') ? finder.findNext() : finder.findFront();
            QTRY_VERIFY(!finder.isFinding());
            const QTextCursor now = view.textCursor();
            QCOMPARE(now.hasSelection() ? now.selectionStart() : -1, found.at(i));
            QVERIFY(now.hasSelection() || now.position() == cursor); // a miss moves nothing
            QVERIFY(!now.hasSelection() || now.selectedText().toLower() == word.toLower());
        }
        QCOMPARE(label.text(), answer);
        box.setText(word + QLatin1Char('x'));
        QVERIFY(label.text().isEmpty());
    }

    // A word typed in either script finds what the view shows for it, and the
    // match is where the view shows it.
    void findInEitherScript_data()
    {
        QTest::addColumn<int>("script"); // a Script
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("found"); // as the view shows it
        const int taiwan = int(Script::TraditionalTaiwanPhrases);
        const int simplified = int(Script::Simplified);
        const int unchanged = int(Script::Unchanged);
        // clang-format off
        QTest::newRow("simplified word, Taiwan's view") << taiwan << "鼠标" << "滑鼠";
        QTest::newRow("traditional word, Taiwan's view") << taiwan << "軟體" << "軟體";
        QTest::newRow("longer in the view") << taiwan << "内存" << "記憶體";
        QTest::newRow("traditional word, simplified view") << simplified << "軟體" << "软件";
        QTest::newRow("simplified word, simplified view") << simplified << "内存" << "内存";
        // Unconverted, the view's own characters tell its script.
        QTest::newRow("simplified word, Taiwan's own text") << unchanged << "软件" << "軟體";
        QTest::newRow("traditional word, Taiwan's own text") << unchanged << "記憶體" << "記憶體";
        // clang-format on
    }

    void findInEitherScript()
    {
        QFETCH(int, script);
        QFETCH(QString, word);
        QFETCH(QString, found);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("book.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const bool fromTaiwan =
            Script(script) == Script::Simplified || Script(script) == Script::Unchanged;
        file.write(
            QString(fromTaiwan ? "看著滑鼠和軟體，記憶體不足。\n" : "看着鼠标和软件，内存不足。\n")
                .repeated(3)
                .toUtf8());
        file.close();
        QTextEdit view;
        QLineEdit box(word);
        QLabel label;
        TextDisplay display;
        TextEdit finder;
        wire(&view, &box, &label, &display, &finder);
        TransformOptions options;
        options.script = Script(script);
        display.setTransformOptions(options);
        QVERIFY(display.openFile(file.fileName(), true, 0));
        QTRY_VERIFY(!display.isLoading());
        finder.findNext();
        QTRY_VERIFY(!finder.isFinding());
        QCOMPARE(view.textCursor().selectedText(), found);
        if (found.isEmpty())
            return;
        const int first = view.textCursor().selectionStart();
        QCOMPARE(view.toPlainText().indexOf(found), first);
        finder.findNext();
        QTRY_VERIFY(!finder.isFinding());
        QCOMPARE(view.textCursor().selectionStart(), view.toPlainText().indexOf(found, first + 1));
    }

    // A long text, which arrives in many pieces: the answer is the one a
    // search of the whole document would give.
    void findAcrossPasses_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<bool>("backward");
        QTest::addColumn<int>("found"); // selection start, -1 none
        QTest::addColumn<QString>("answer");
        const int lines = 200000, line = 18; // "　　天下大势，分久必合，合久必分。\n"
        QTest::newRow("forwards to the end") << "尾声" << false << lines * line << "";
        QTest::newRow("backwards to the start") << "楔子" << true << 0 << "";
        QTest::newRow("backwards ignores case") << "moon" << true << 3 << "";
        QTest::newRow("nowhere") << "查无此句" << false << -1 << "未找到";
        QTest::newRow("behind the cursor") << "尾声" << true << -1 << "已到达文首";
    }

    void findAcrossPasses()
    {
        QFETCH(QString, word);
        QFETCH(bool, backward);
        QFETCH(int, found);
        QFETCH(QString, answer);
        QTextEdit view;
        QLineEdit box(word);
        QLabel label;
        TextDisplay display;
        TextEdit finder;
        wire(&view, &box, &label, &display, &finder);
        QTemporaryDir dir;
        open(&display, dir,
             QStringLiteral("楔子 Moon\n") +
                 QStringLiteral("　　天下大势，分久必合，合久必分。\n").repeated(200000) +
                 QStringLiteral("尾声"));
        QTextCursor start(view.document());
        start.setPosition(backward ? 8 * 18 * 10000 : 8);
        view.setTextCursor(start);
        backward ? finder.findFront() : finder.findNext();
        if (found >= 0) {
            QTRY_VERIFY_WITH_TIMEOUT(view.textCursor().hasSelection(), 20000);
            QCOMPARE(view.textCursor().selectionStart(), found + (found > 0 && !backward ? 8 : 0));
            QCOMPARE(view.textCursor().selectedText().toLower(), word.toLower());
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(label.text(), answer, 20000);
            QVERIFY(!view.textCursor().hasSelection());
        }
        QCOMPARE(label.text(), answer);
    }

    // A word that is only in the part still loading is found once it is in.
    void findWaitsForTheText()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("long.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            QStringLiteral("　　天下大势，分久必合，合久必分。\n").repeated(100000).toUtf8());
        file.write(QStringLiteral("尾声\n").toUtf8());
        file.close();
        QTextEdit view;
        QLineEdit box(QStringLiteral("尾声"));
        QLabel label;
        TextDisplay display;
        TextEdit finder;
        wire(&view, &box, &label, &display, &finder);
        QVERIFY(display.openFile(file.fileName(), true, 0));
        QVERIFY(display.isLoading());
        finder.findNext();
        // Searched as far as it has come, the word is not there yet.
        QTRY_VERIFY_WITH_TIMEOUT(view.textCursor().hasSelection(), 20000);
        QCOMPARE(view.textCursor().selectionStart(), 100000 * 18);
        QVERIFY(label.text().isEmpty());
    }
};

QTEST_MAIN(TestTextEdit)
#include "tst_textedit.moc"
