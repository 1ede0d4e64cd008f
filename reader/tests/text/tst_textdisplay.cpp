#include "TextDecoder.h"
#include "TextDisplay.h"
#include "TextEncoding.h"

#include "ModalDialogWatcher.h"
#include "ReadingLayout.h"

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
    void detectedEncoding_data();
    void detectedEncoding();
    void forcedDecoding_data();
    void forcedDecoding();
    void zeroBytes_data();
    void zeroBytes();
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

void TestTextDisplay::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("GBK without mark") << gb18030(Chinese) << Chinese;
    QTest::newRow("GB18030 four-byte character") << gb18030(BeyondGbk) << BeyondGbk;
    QTest::newRow("UTF-8 without mark") << Chinese.toUtf8() << Chinese;
    QTest::newRow("UTF-8 with mark")
        << QByteArray("\xEF\xBB\xBF") + BeyondGbk.toUtf8() << BeyondGbk;
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE") + utf16(BeyondGbk, false) << BeyondGbk;
    QTest::newRow("UTF-16 BE") << QByteArray("\xFE\xFF") + utf16(BeyondGbk, true) << BeyondGbk;
    QTest::newRow("UTF-16 LE odd length drops last byte")
        << QByteArray("\xFF\xFE") + utf16(QStringLiteral("ab"), false) + 'c'
        << QStringLiteral("ab");
    QTest::newRow("only a UTF-16 mark") << QByteArray("\xFF\xFE") << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("one byte") << QByteArray("x") << QStringLiteral("x");
    QTest::newRow("CR LF and CR line ends")
        << QByteArray("a\r\nb\rc\nd") << QStringLiteral("a\nb\nc\nd");
    // A truncated UTF-8 sequence means the file is not UTF-8 after all.
    QTest::newRow("invalid UTF-8 falls back to GB18030")
        << gb18030(QStringLiteral("天")) + QByteArray("\xE5\xA4")
        << QTextCodec::codecForName("GB18030")->toUnicode(gb18030(QStringLiteral("天")) +
                                                          QByteArray("\xE5\xA4"));
}

void TestTextDisplay::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    m_display->openFile(writeFile(QStringLiteral("novel.txt"), bytes), true, 0);
    QCOMPARE(m_edit->document()->toPlainText(), expected);
}

// The same novel written in each encoding, without a mark unless a row says
// so: short texts (one paragraph) and long ones, whose middle is sampled
// apart from their start. CR LF line ends throughout.
void TestTextDisplay::detectedEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("codec");
    QTest::addColumn<QString>("locale");

    const auto encoded = [](const char *codec, const QString &text) {
        return QTextCodec::codecForName(codec)->fromUnicode(text);
    };
    const QString simplified = QStringLiteral(
        "第一章 风起青萍之末\r\n　　山间的雾气慢慢散开，少年背起行囊，沿着溪水往镇上走去。\r\n");
    const QString traditional = QStringLiteral(
        "第一章 風起青萍之末\r\n　　山間的霧氣慢慢散開，少年背起行囊，沿著溪水往鎮上走去。\r\n");
    const QString english = QStringLiteral("The river runs east, and the fog lifts slowly.\r\n");
    for (const bool isLong : {false, true}) {
        const int copies = isLong ? 2000 : 1;
        const QString zh = simplified.repeated(copies), tw = traditional.repeated(copies);
        const QString size = isLong ? QStringLiteral("long ") : QStringLiteral("short ");
        const auto row = [&](const QString &name, const QByteArray &bytes, const QString &text,
                             int codec, const QString &locale = QStringLiteral("C")) {
            QTest::newRow(qPrintable(size + name))
                << bytes << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                << codec << locale;
        };
        row("GB18030", encoded("GB18030", zh), zh, TextEncoding::Gb18030);
        row("traditional in GB18030", encoded("GB18030", tw), tw, TextEncoding::Gb18030);
        row("Big5", encoded("Big5", tw), tw, TextEncoding::Big5);
        row("UTF-8", zh.toUtf8(), zh, TextEncoding::Utf8);
        row("UTF-8 marked", "\xEF\xBB\xBF" + tw.toUtf8(), tw, TextEncoding::Utf8);
        for (const bool big : {false, true}) {
            const int codec = big ? TextEncoding::Utf16BigEndian : TextEncoding::Utf16LittleEndian;
            const QString name = big ? QStringLiteral("UTF-16 BE") : QStringLiteral("UTF-16 LE");
            row(name, utf16(tw, big), tw, codec);
            row(name + " marked", (big ? "\xFE\xFF" : "\xFF\xFE") + utf16(zh, big), zh, codec);
            row(name + " English", utf16(english.repeated(copies), big), english.repeated(copies),
                codec);
        }
        const QString mixed = english.repeated(40 * copies) + simplified + english.repeated(40);
        row("English with a Chinese line in GBK", encoded("GBK", mixed), mixed,
            TextEncoding::Gb18030);
        row("English with a Chinese line in GBK, traditional locale", encoded("GBK", mixed), mixed,
            TextEncoding::Gb18030, QStringLiteral("zh_TW"));
    }
    // Stray zero bytes do not make UTF-16 of a text in another encoding.
    // (How zero bytes show is not the concern here.)
    const QByteArray gbk = encoded("GB18030", simplified.repeated(30));
    const QByteArray zeros = gbk.left(700) + '\0' + gbk.mid(700, 901) + '\0' + gbk.mid(1601);
    QTest::newRow("GBK with stray zero bytes")
        << zeros << QString() << int(TextEncoding::Gb18030) << "C";
    const QByteArray ascii = english.repeated(30).toUtf8();
    const QByteArray asciiZeros =
        ascii.left(99) + '\0' + ascii.mid(99, 500) + '\0' + ascii.mid(599);
    QTest::newRow("ASCII with stray zero bytes")
        << asciiZeros << QString() << int(TextEncoding::Utf8) << "C";
    // Only the whole text, beyond the parts sampled, betrays a GBK file that
    // starts and goes on in ASCII.
    const QString late = english.repeated(3000) + simplified + english.repeated(3000);
    QTest::newRow("GBK after 140 KB of ASCII")
        << encoded("GB18030", late) << QString(late).replace("\r\n", "\n")
        << int(TextEncoding::Gb18030) << "C";
    // Too short for uchardet: the locale's Chinese code page.
    QTest::newRow("a few Big5 characters, traditional locale")
        << encoded("Big5", QStringLiteral("你好，世界。")) << QStringLiteral("你好，世界。")
        << int(TextEncoding::Big5) << "zh_HK";
}

void TestTextDisplay::detectedEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(int, codec);
    QFETCH(QString, locale);
    const QLocale before;
    QLocale::setDefault(QLocale(locale));
    QSignalSpy changed(m_display, &TextDisplay::codecChanged);
    m_display->openFile(writeFile(QStringLiteral("novel.txt"), bytes), true, 0);
    QLocale::setDefault(before);
    // A long text proves that it is not UTF-8 only as it loads.
    QTRY_VERIFY(!m_display->isLoading());
    QCOMPARE(m_display->codec(), codec);
    QCOMPARE(changed.last().at(0).toInt(), codec);
    if (!expected.isNull())
        QCOMPARE(m_edit->document()->toPlainText(), expected);
}

void TestTextDisplay::forcedDecoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codec");
    QTest::addColumn<QString>("expected");

    const QByteArray marked = QByteArray("\xEF\xBB\xBF") + Chinese.toUtf8();
    QTest::newRow("ANSI keeps a UTF-8 mark as text")
        << marked << 0 << QTextCodec::codecForName("GB18030")->toUnicode(marked);
    QTest::newRow("ANSI on plain UTF-8 is not second-guessed")
        << Chinese.toUtf8() << 0
        << QTextCodec::codecForName("GB18030")->toUnicode(Chinese.toUtf8());
    QTest::newRow("UTF-8 on a marked file drops the mark") << marked << 1 << Chinese;
    QTest::newRow("UTF-8 on GBK shows replacement characters")
        << gb18030(QStringLiteral("天")) << 1 << QString(2, QChar::ReplacementCharacter);
    QTest::newRow("unknown number decodes as GB18030") << gb18030(BeyondGbk) << 7 << BeyondGbk;
}

void TestTextDisplay::forcedDecoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codec);
    QFETCH(QString, expected);
    m_display->openFile(writeFile(QStringLiteral("forced.txt"), bytes), false, codec);
    QCOMPARE(m_edit->document()->toPlainText(), expected);
}

void TestTextDisplay::zeroBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("codec"); // -1 detects
    QTest::addColumn<QString>("expected");
    const QString shown = QStringLiteral("甲") + QChar(QChar::ReplacementCharacter) + "乙";
    QFile damaged(QStringLiteral(QUIRELLE_TEST_DATA "/nul_in_utf8.txt"));
    QVERIFY(damaged.open(QIODevice::ReadOnly));
    QTest::newRow("UTF-8 file that once lost its end")
        << damaged.readAll() << -1
        << QStringLiteral("第一章 风雪山神庙\n") + QChar(QChar::ReplacementCharacter) +
               QStringLiteral("第二章 这一章在读者里看不到\n");
    QTest::newRow("GB18030, detected") << gb18030(Chinese + '\0' + Chinese) << -1
                                       << Chinese + QChar(QChar::ReplacementCharacter) + Chinese;
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE") + utf16(QStringLiteral("甲\0乙"), false)
                               << -1 << shown;
    QTest::newRow("UTF-8, forced") << QStringLiteral("甲\0乙").toUtf8() << 1 << shown;
    QTest::newRow("ANSI, forced") << gb18030(QStringLiteral("甲\0乙")) << 0 << shown;
    QTest::newRow("Big5, forced") << QByteArray("a\0b", 3) << 6
                                  << QStringLiteral("a\xfffd"
                                                    "b");
}

// Every byte reaches the view; a zero byte shows and keeps positions one
// for one.
void TestTextDisplay::zeroBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, codec);
    QFETCH(QString, expected);
    QVERIFY(m_display->openFile(writeFile(QStringLiteral("zero.txt"), bytes), codec < 0, codec));
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
    QTest::newRow("directory") << "directory" << false;
    QTest::newRow("read error") << "read error" << false;
    QTest::newRow("no permission") << "no permission" << false;
    QTest::newRow("binary") << "binary" << true;
}

// What cannot be read leaves the text on screen and says why; inputs that
// are not text are shown for what they are.
void TestTextDisplay::unreadableInputs()
{
    QFETCH(QString, kind);
    QFETCH(bool, readable);
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
    } else {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes += char((i * 7919) & 0xFF);
        writeFile(QStringLiteral("input"), bytes);
    }
    ModalDialogWatcher watcher;
    QCOMPARE(m_display->openFile(path, true, 0), readable);
    QCOMPARE(watcher.seen, readable ? 0 : 1);
    QCOMPARE(m_display->m_fileName, readable ? path : kept);
    QCOMPARE(m_edit->toPlainText() == QLatin1String("kept"), !readable);
    if (!readable) {
        QVERIFY2(watcher.text.startsWith(QStringLiteral("无法读取文件：") + path + '\n') &&
                     watcher.text.size() > path.size() + 8,
                 qPrintable(watcher.text));
    }
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
    QTest::newRow("GB18030") << gb18030(zh) << zh << int(TextEncoding::Gb18030);
    QTest::newRow("Big5") << encoded("Big5", tw) << tw << int(TextEncoding::Big5);
    QTest::newRow("UTF-8") << zh.toUtf8() << zh << int(TextEncoding::Utf8);
    QTest::newRow("UTF-8 with a mark")
        << "\xEF\xBB\xBF" + zh.toUtf8() << zh << int(TextEncoding::Utf8);
    QTest::newRow("UTF-16 LE") << utf16(zh, false) << zh << int(TextEncoding::Utf16LittleEndian);
    QTest::newRow("UTF-16 BE with a mark")
        << utf16(QChar(0xFEFF) + zh, true) << zh << int(TextEncoding::Utf16BigEndian);
    // No line break for slices to end at: they must not split a pair.
    const QString line = QLatin1Char('a') + QStringLiteral("\U00020000").repeated(300000);
    QTest::newRow("one line of surrogate pairs")
        << utf16(line, false) << line << int(TextEncoding::Utf16LittleEndian);
}

void TestTextDisplay::longTextArrivesWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);
    QFETCH(int, codec);
    QSignalSpy loaded(m_display, &TextDisplay::textLoaded);
    QVERIFY(m_display->openFile(writeFile(QStringLiteral("long.txt"), bytes), true, 0));
    QVERIFY(m_display->isLoading());
    QCOMPARE(m_display->codec(), codec);
    QVERIFY(m_edit->document()->characterCount() < expected.size() / 2);
    QVERIFY(loaded.wait(20000));
    QVERIFY(!m_display->isLoading());
    QCOMPARE(loaded.count(), 1);
    const QString whole = TextDecoder::decode(bytes, codec);
    QCOMPARE(loaded.first().first().toString(), whole);
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
