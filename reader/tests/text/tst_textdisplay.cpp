#include "TextDisplay.h"
#include "ZkTextDecoder.h"

#include "ModalDialogWatcher.h"
#include "ReadingLayout.h"

#include <QAbstractButton>
#include <QScrollBar>
#include <QTextCodec>
#include <QTextDocument>
#include <QTextEdit>
#include <QtTest>

#include <unistd.h>

namespace
{

QByteArray gb18030(const QString &text)
{
    return QTextCodec::codecForName("GB18030")->fromUnicode(text);
}

QByteArray utf16(const QString &text, bool bigEndian)
{
    QByteArray bytes;
    for (const QChar c : text) {
        const char hi = char(c.unicode() >> 8), lo = char(c.unicode() & 0xFF);
        bytes += bigEndian ? QByteArray(1, hi) + lo : QByteArray(1, lo) + hi;
    }
    return bytes;
}

const QString Chinese = QStringLiteral("第一章 天下大势，分久必合。\n“你好！”");
// U+20000 exists only in GB18030 (four bytes), not in GBK.
const QString BeyondGbk = QStringLiteral("甲\U00020000乙");

// Lines of varied length with CR LF ends, over two megabytes in any of the
// encodings: read in pieces, never whole at once.
QString longText(const QString &line, int lines = 40000)
{
    QString text;
    for (int i = 0; i < lines; ++i)
        text += QString::number(i) + line.left(8 + i % line.size()) + QStringLiteral("\r\n");
    return text;
}

} // namespace

class TestTextDisplay : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void decoding_data();
    void decoding();
    void documentTitle_data();
    void documentTitle();
    void readOnlyAndInitialLook();
    void missingFileKeepsText();
    void unreadableInputs_data();
    void unreadableInputs();
    void fontChangeKeepsPositionAndCursor();
    void colourChangeKeepsPositionAndCursor();
    void lookCarriesToNextFile();
    void backgroundColour();
    void showPosition_data();
    void showPosition();
    void longTextArrivesWhole_data();
    void longTextArrivesWhole();
    void nextFileWhileLoading();
    void deepPositionWhileLoading();

private:
    QString writeFile(const QString &name, const QByteArray &bytes);
    void showLongText();

    QTemporaryDir *m_dir = nullptr;
    QTextEdit *m_edit = nullptr;
    TextDisplay *m_display = nullptr;
};

void TestTextDisplay::init()
{
    m_dir = new QTemporaryDir;
    m_edit = new QTextEdit;
    m_edit->resize(400, 300);
    m_display = new TextDisplay(m_edit);
    m_display->setTextWidget(m_edit);
    m_display->setParentWidget(m_edit);
}

void TestTextDisplay::cleanup()
{
    delete m_edit;
    delete m_dir;
}

QString TestTextDisplay::writeFile(const QString &name, const QByteArray &bytes)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

// The text is shown as decoded, every line end a paragraph; a file whose
// zero byte once ended its text shows all of it.
void TestTextDisplay::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("CR LF and CR line ends")
        << QByteArray("a\r\nb\rc\nd") << QStringLiteral("a\nb\nc\nd");
    QFile damaged(QStringLiteral(QUIRELLE_TEST_DATA "/nul_in_utf8.txt"));
    QVERIFY(damaged.open(QIODevice::ReadOnly));
    QTest::newRow("UTF-8 file that once lost its end")
        << damaged.readAll()
        << QStringLiteral("第一章 风雪山神庙\n") + QChar(QChar::ReplacementCharacter) +
               QStringLiteral("第二章 这一章在读者里看不到\n");
}

void TestTextDisplay::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QVERIFY(m_display->openFile(writeFile(QStringLiteral("novel.txt"), bytes), true, 0));
    QCOMPARE(m_edit->document()->toPlainText(), expected);
}

void TestTextDisplay::documentTitle_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("title");
    QTest::newRow("everything from the first dot goes") << "a.b.txt"
                                                        << "a";
    QTest::newRow("no dot") << "novel"
                            << "novel";
    QTest::newRow("Chinese name") << QStringLiteral("三国演义.txt") << QStringLiteral("三国演义");
}

void TestTextDisplay::documentTitle()
{
    QFETCH(QString, fileName);
    QFETCH(QString, title);
    const QString path = writeFile(fileName, "text");
    m_display->openFile(path, true, 0);
    QCOMPARE(m_edit->document()->metaInformation(QTextDocument::DocumentTitle), title);
    QCOMPARE(m_display->m_fileName, path);
}

void TestTextDisplay::readOnlyAndInitialLook()
{
    QVERIFY(m_edit->isReadOnly());
    QCOMPARE(m_display->m_textFont, m_edit->textCursor().charFormat().font());
    QCOMPARE(m_display->m_textColor, QColor(Qt::black));
    QCOMPARE(m_display->m_backColor, m_edit->viewport()->palette().color(QPalette::Window));
}

void TestTextDisplay::missingFileKeepsText()
{
    const QString existing = writeFile(QStringLiteral("kept.txt"), "kept");
    m_display->openFile(existing, true, 0);
    const QString missing = m_dir->filePath(QStringLiteral("gone.txt"));

    ModalDialogWatcher watcher;
    QSignalSpy opened(m_display, &TextDisplay::opened);
    QVERIFY(!m_display->openFile(missing, true, 0));

    QCOMPARE(opened.count(), 0);
    QCOMPARE(watcher.seen, 1);
    QCOMPARE(watcher.title, QStringLiteral("提示"));
    QCOMPARE(watcher.text, QStringLiteral("文件不存在：") + missing);
    QCOMPARE(m_edit->toPlainText(), QStringLiteral("kept"));
    QCOMPARE(m_edit->document()->metaInformation(QTextDocument::DocumentTitle),
             QStringLiteral("kept"));
    QCOMPARE(m_display->m_fileName, existing);
}

void TestTextDisplay::unreadableInputs_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("message"); // how the message begins
    const QString cannot = QStringLiteral("无法读取文件：");
    const QString notText = QStringLiteral("这似乎不是文本文件，仍要打开吗？\n");
    QTest::newRow("directory") << "directory" << false << cannot;
    QTest::newRow("read error") << "read error" << false << cannot;
    QTest::newRow("no permission") << "no permission" << false << cannot;
    QTest::newRow("binary, not opened") << "binary" << false << notText;
    QTest::newRow("binary, opened anyway") << "binary" << true << notText;
    QTest::newRow("empty") << "empty" << false << QStringLiteral("文件是空的：");
}

// What cannot be read leaves the text on screen and says why; inputs that
// are not text are shown for what they are once the user says so.
void TestTextDisplay::unreadableInputs()
{
    QFETCH(QString, kind);
    QFETCH(bool, readable);
    QFETCH(QString, message);
    const QString kept = writeFile(QStringLiteral("kept.txt"), "kept");
    m_display->openFile(kept, true, 0);
    QString path = m_dir->filePath(QStringLiteral("input"));
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkpath(path));
    } else if (kind == QLatin1String("read error")) {
        path = QStringLiteral("/proc/self/mem"); // opens, but offset 0 is no memory
    } else if (kind == QLatin1String("no permission")) {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        writeFile(QStringLiteral("input"), "secret");
        QVERIFY(QFile::setPermissions(path, QFile::WriteOwner));
    } else if (kind == QLatin1String("empty")) {
        writeFile(QStringLiteral("input"), QByteArray());
    } else {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes += char((i * 7919) & 0xFF);
        writeFile(QStringLiteral("input"), bytes);
    }
    ModalDialogWatcher watcher([readable](QDialog *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        if (readable && box != nullptr && box->button(QMessageBox::Yes) != nullptr)
            box->button(QMessageBox::Yes)->click();
        else
            dialog->reject();
    });
    QCOMPARE(m_display->openFile(path, true, 0), readable);
    QCOMPARE(watcher.seen, 1);
    QCOMPARE(m_display->m_fileName, readable ? path : kept);
    QCOMPARE(m_edit->toPlainText() == QLatin1String("kept"), !readable);
    QCOMPARE(m_display->isNotText(), readable);
    QVERIFY2(watcher.text.startsWith(message + (message.endsWith('\n') ? QString() : path)),
             qPrintable(watcher.text));
    if (message.startsWith(QStringLiteral("无法")))
        QVERIFY2(watcher.text.size() > message.size() + path.size() + 1, qPrintable(watcher.text));
}

void TestTextDisplay::showLongText()
{
    QString text;
    for (int i = 0; i < 400; ++i)
        text += QStringLiteral("第%1行，天下大势，分久必合，合久必分。\n").arg(i);
    const QString path = writeFile(QStringLiteral("long.txt"), text.toUtf8());
    QSignalSpy opened(m_display, &TextDisplay::opened);
    QVERIFY(m_display->openFile(path, true, 0));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(opened.first().first().toString(), path);
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));
    QTRY_VERIFY(m_edit->verticalScrollBar()->maximum() > 1000);
    // a new text is searched and bookmarked from its start, not its end
    QCOMPARE(m_edit->textCursor().position(), 0);
    QCOMPARE(m_edit->verticalScrollBar()->value(), 0);
}

void TestTextDisplay::fontChangeKeepsPositionAndCursor()
{
    showLongText();
    QScrollBar *bar = m_edit->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(3000);
    cursor.setPosition(3010, QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
    bar->setValue(bar->maximum() / 2); // the selection scrolled out of sight
    const int top = m_display->topPosition();

    QFont font(QStringLiteral("DejaVu Serif"), 17);
    font.setItalic(true);
    m_display->setTextFont(font);

    // The line that was at the top still is, though its pixels moved.
    QTextCursor atTop(m_edit->document());
    atTop.setPosition(top);
    const QRect line = m_edit->cursorRect(atTop);
    QVERIFY(line.top() <= 0 && line.bottom() > 0);
    QCOMPARE(m_edit->textCursor().position(), 3010);
    QVERIFY(!m_edit->textCursor().hasSelection());
    QCOMPARE(m_display->m_textFont, font);
    QCOMPARE(m_edit->document()->defaultFont(), font);
    QTextCursor probe(m_edit->document());
    for (int position : {1, 1500, 3005, m_edit->document()->characterCount() - 1}) {
        probe.setPosition(position);
        QCOMPARE(probe.charFormat().font().pointSize(), 17);
        QVERIFY(probe.charFormat().font().italic());
    }
}

void TestTextDisplay::colourChangeKeepsPositionAndCursor()
{
    showLongText();
    QScrollBar *bar = m_edit->verticalScrollBar();
    bar->setValue(bar->maximum() / 3);
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(2000);
    m_edit->setTextCursor(cursor);
    const int value = bar->value();

    m_display->setTextColor(QColor(200, 10, 20));

    QCOMPARE(bar->value(), value);
    QCOMPARE(m_edit->textCursor().position(), 2000);
    QCOMPARE(m_display->m_textColor, QColor(200, 10, 20));
    QTextCursor probe(m_edit->document());
    for (int position : {1, 2000, m_edit->document()->characterCount() - 1}) {
        probe.setPosition(position);
        QCOMPARE(probe.charFormat().foreground().color(), QColor(200, 10, 20));
        QCOMPARE(probe.charFormat().foreground().style(), Qt::SolidPattern);
    }
}

void TestTextDisplay::lookCarriesToNextFile()
{
    m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 21));
    m_display->setTextColor(Qt::darkGreen);
    m_display->openFile(writeFile(QStringLiteral("next.txt"), "one\ntwo\nthree"), true, 0);

    QTextCursor probe(m_edit->document());
    for (int position : {0, 5, 12}) {
        probe.setPosition(position);
        QCOMPARE(probe.charFormat().font().pointSize(), 21);
        QCOMPARE(probe.charFormat().foreground().color(), QColor(Qt::darkGreen));
    }
}

void TestTextDisplay::backgroundColour()
{
    QWidget *viewport = m_edit->viewport();
    const QPalette before = viewport->palette();
    m_display->setBackColor(m_display->m_backColor);
    QCOMPARE(viewport->palette(), before);

    m_display->setBackColor(QColor(250, 240, 200));
    QCOMPARE(m_display->m_backColor, QColor(250, 240, 200));
    QVERIFY(viewport->autoFillBackground());
    const QBrush brush = viewport->palette().brush(viewport->backgroundRole());
    QCOMPARE(brush.texture().size(), QSize(64, 64));
    QCOMPARE(brush.texture().toImage().pixelColor(10, 10), QColor(250, 240, 200));
}

void TestTextDisplay::showPosition_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("fraction");
    QTest::addColumn<int>("expectedCursor"); // -1: the end of the text
    // Beyond the part laid out at once, so the background layout moves the
    // heights above the line while the test waits.
    QTest::newRow("deep, top line") << 60000 << 0.0 << 60000;
    QTest::newRow("deep, top third") << 60000 << 1.0 / 3 << 60000;
    QTest::newRow("start, top third") << 0 << 1.0 / 3 << 0;
    QTest::newRow("beyond the end") << 10000000 << 0.0 << -1;
    QTest::newRow("negative") << -5 << 0.0 << 0;
}

// The line of the position lands where it was asked for and stays there
// once the layout is complete; the view's top then reads back the line's
// start.
void TestTextDisplay::showPosition()
{
    QFETCH(int, position);
    QFETCH(double, fraction);
    QFETCH(int, expectedCursor);
    QString text;
    for (int i = 0; i < 4000; ++i)
        text += QStringLiteral("第%1行，天下大势，分久必合，合久必分。\n").arg(i);
    m_display->openFile(writeFile(QStringLiteral("long.txt"), text.toUtf8()), true, 0);
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));

    m_display->showPosition(position, fraction);
    const int end = m_edit->document()->characterCount() - 1;
    QCOMPARE(m_edit->textCursor().position(), expectedCursor < 0 ? end : expectedCursor);

    const auto *layout = qobject_cast<ReadingLayout *>(m_edit->document()->documentLayout());
    QTRY_VERIFY(layout->laidOutToTheEnd());
    QScrollBar *bar = m_edit->verticalScrollBar();
    const int lineTop = m_edit->cursorRect().top();
    if (bar->value() == 0 || bar->value() == bar->maximum()) {
        QVERIFY(lineTop >= 0 && lineTop < m_edit->viewport()->height());
        return;
    }
    QVERIFY(qAbs(lineTop - qRound(fraction * m_edit->viewport()->height())) <= 1);
    if (fraction == 0) {
        QTextCursor lineStart = m_edit->textCursor();
        lineStart.movePosition(QTextCursor::StartOfLine);
        QCOMPARE(m_display->topPosition(), lineStart.position());
    }
}

// Whatever the encoding and wherever pieces and slices are cut, the text
// that arrives is the text of the whole file decoded at once.
void TestTextDisplay::longTextArrivesWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("codec");

    const QString zh = longText(
        QStringLiteral("　　天下大势，分久必合，合久必分。\U00020000周末七国分争，并入于秦。"));
    const QString tw =
        longText(QStringLiteral("　　話說天下大勢，分久必合，合久必分。週末七國分爭，並入於秦。"));
    const auto encoded = [](const char *codec, const QString &text) {
        return QTextCodec::codecForName(codec)->fromUnicode(text);
    };
    QTest::newRow("GB18030") << gb18030(zh) << zh << int(ZkTextDecoder::Gb18030);
    QTest::newRow("Big5") << encoded("Big5", tw) << tw << int(ZkTextDecoder::Big5);
    QTest::newRow("UTF-8") << zh.toUtf8() << zh << int(ZkTextDecoder::Utf8);
    QTest::newRow("UTF-8 with a mark")
        << "\xEF\xBB\xBF" + zh.toUtf8() << zh << int(ZkTextDecoder::Utf8);
    QTest::newRow("UTF-16 LE") << utf16(zh, false) << zh << int(ZkTextDecoder::Utf16LittleEndian);
    QTest::newRow("UTF-16 BE with a mark")
        << utf16(QChar(0xFEFF) + zh, true) << zh << int(ZkTextDecoder::Utf16BigEndian);
    // The samples are ASCII, the text beyond them not UTF-8: it is all read
    // again, in the code page it reads as.
    const QString late = longText(QStringLiteral("The river runs east."), 60000) +
                         QStringLiteral("第一章 天下大势，分久必合，合久必分。\r\n") +
                         longText(QStringLiteral("The fog lifts slowly."), 20000);
    QTest::newRow("ASCII, then GB18030: read again")
        << gb18030(late) << late << int(ZkTextDecoder::Gb18030);
    // No line break for slices to end at: they must not split a pair.
    const QString line = QLatin1Char('a') + QStringLiteral("\U00020000").repeated(300000);
    QTest::newRow("one line of surrogate pairs")
        << utf16(line, false) << line << int(ZkTextDecoder::Utf16LittleEndian);
}

void TestTextDisplay::longTextArrivesWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(int, codec);
    QSignalSpy loaded(m_display, &TextDisplay::textLoaded);
    QSignalSpy codecs(m_display, &TextDisplay::codecChanged);
    // The whole text is known once it is read, before the view has it all.
    QStringList read;
    connect(m_display, &TextDisplay::textRead, this, [this, &read](const QString &text) {
        QVERIFY(m_display->isLoading());
        read << text;
    });
    QVERIFY(m_display->openFile(writeFile(QStringLiteral("long.txt"), bytes), true, 0));
    QVERIFY(m_display->isLoading());
    QVERIFY(m_edit->document()->characterCount() < expected.size() / 2);
    QVERIFY(loaded.wait(20000));
    QVERIFY(!m_display->isLoading());
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(m_display->codec(), codec);
    QCOMPARE(codecs.last().first().toInt(), codec);
    const QString whole = ZkTextDecoder::decode(bytes, codec);
    QCOMPARE(loaded.first().first().toString(), whole);
    QCOMPARE(read, QStringList{whole});
    QCOMPARE(m_edit->document()->toPlainText(), QString(whole).replace("\r\n", "\n"));
}

// Nothing of the first file's rest reaches the second file's document, and
// the second is read from its first line wherever the first was read.
void TestTextDisplay::nextFileWhileLoading()
{
    const QString first = longText(QStringLiteral("甲乙丙丁戊己庚辛壬癸"), 80000);
    const QString second = longText(QStringLiteral("子丑寅卯辰巳午未申酉戌亥"), 60000);
    QSignalSpy loaded(m_display, &TextDisplay::textLoaded);
    m_edit->show();
    m_display->openFile(writeFile(QStringLiteral("first.txt"), gb18030(first)), true, 0);
    QVERIFY(m_display->isLoading());
    m_display->showPosition(2000);
    QTest::qWait(5);
    m_display->openFile(writeFile(QStringLiteral("second.txt"), gb18030(second)), true, 0);
    QVERIFY(loaded.wait(20000));
    QTest::qWait(100);
    QCOMPARE(loaded.count(), 1);
    QCOMPARE(loaded.first().first().toString(), second);
    QCOMPARE(m_edit->document()->toPlainText(), QString(second).replace("\r\n", "\n"));
    QCOMPARE(m_edit->verticalScrollBar()->value(), 0);
}

// A reading position deep in a text still loading is where the view opens
// once its text is there; until then it is the position the view reports.
void TestTextDisplay::deepPositionWhileLoading()
{
    const QString text = longText(QStringLiteral("　　天下大势，分久必合，合久必分。"));
    QSignalSpy loaded(m_display, &TextDisplay::textLoaded);
    m_edit->show();
    m_display->openFile(writeFile(QStringLiteral("long.txt"), gb18030(text)), true, 0);
    const int deep = int(text.size() * 0.9);
    m_display->showPosition(deep);
    QVERIFY(m_display->isLoading());
    QCOMPARE(m_display->topPosition(), deep);
    QVERIFY(loaded.wait(20000));
    QCOMPARE(m_edit->textCursor().position(), deep);
    const QTextDocument *document = m_edit->document();
    QTRY_COMPARE(document->findBlock(m_display->topPosition()).blockNumber(),
                 document->findBlock(deep).blockNumber());
}

QTEST_MAIN(TestTextDisplay)
#include "tst_textdisplay.moc"
