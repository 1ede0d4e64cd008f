#include "ReadingLayout.h"
#include "TextDisplay.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QtTest>

// Short texts carry the look in every character format; long ones take it
// from the document's default font and the view's palette and are laid out
// in the background. Both must look and behave the same to the reader.

namespace
{

// The reader gives characters formats of their own up to 200 000 characters.
const int ShortLines = 300; // about 16 000 characters
const int LongLines = 4800; // about 260 000 characters

QByteArray novel(int lines)
{
    QString text;
    for (int i = 0; i < lines; ++i) {
        text += QStringLiteral("第%1行　　天下大势，分久必合，合久必分。周末七国分争，并入于秦。"
                               "及秦灭之后，楚、汉分争，又并入于汉。\r\n")
                    .arg(i);
    }
    return text.toUtf8();
}

QColor shownColour(const QTextEdit *edit, const QTextCharFormat &format)
{
    return format.foreground().style() == Qt::NoBrush ? edit->palette().color(QPalette::Text)
                                                      : format.foreground().color();
}

bool laidOutToTheEnd(const QTextEdit *edit)
{
    const auto *layout = qobject_cast<const ReadingLayout *>(edit->document()->documentLayout());
    return layout != nullptr && layout->laidOutToTheEnd();
}

} // namespace

class TestTextDisplayLook : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void lookAtEveryPosition_data();
    void lookAtEveryPosition();
    void pageIsPaintedInTheTextColour_data();
    void pageIsPaintedInTheTextColour();
    void scrollAndCursorKept_data();
    void scrollAndCursorKept();
    void longTextIsNotLaidOutAtOnce();
    void colourChangeKeepsTheLayout();
    void textFarDownIsLaidOutAndDrawn();
    void cursorAndPointAgree();
    void readerScrollingWinsOverWaitingPosition();
    void nextFileCarriesTheLook_data();
    void nextFileCarriesTheLook();
    void interfaceFontDoesNotReachTheText();
    void noUndoHistory();

private:
    void open(int lines, const QString &name = QStringLiteral("novel.txt"));
    void showAndLayOut();

    QTemporaryDir *m_dir = nullptr;
    QTextEdit *m_edit = nullptr;
    TextDisplay *m_display = nullptr;
};

void TestTextDisplayLook::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestTextDisplayLook::init()
{
    m_dir = new QTemporaryDir;
    m_edit = new QTextEdit;
    m_edit->resize(500, 400);
    m_display = new TextDisplay(m_edit);
    m_display->setTextWidget(m_edit);
    m_display->setParentWidget(m_edit);
}

void TestTextDisplayLook::cleanup()
{
    delete m_edit;
    delete m_dir;
}

void TestTextDisplayLook::open(int lines, const QString &name)
{
    const QString path = m_dir->filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(novel(lines));
    file.close();
    m_display->openFile(path, true, 0);
    if (lines == LongLines)
        QVERIFY(m_edit->document()->characterCount() > 200000);
}

void TestTextDisplayLook::showAndLayOut()
{
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));
    QTRY_VERIFY_WITH_TIMEOUT(laidOutToTheEnd(m_edit), 20000);
}

void TestTextDisplayLook::lookAtEveryPosition_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("shown");
    QTest::newRow("short text") << ShortLines << false;
    QTest::newRow("short text, shown") << ShortLines << true;
    QTest::newRow("long text") << LongLines << false;
    QTest::newRow("long text, shown") << LongLines << true;
}

// Font and colour are changed one after the other and back and forth, so a
// change must neither lose nor revive the other one.
void TestTextDisplayLook::lookAtEveryPosition()
{
    QFETCH(int, lines);
    QFETCH(bool, shown);
    open(lines);
    if (shown)
        showAndLayOut();

    QFont font(QStringLiteral("DejaVu Serif"), 19);
    font.setItalic(true);
    m_display->setTextColor(QColor(10, 120, 30));
    m_display->setTextFont(font);
    m_display->setTextColor(QColor(200, 10, 20));
    m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 11));
    m_display->setTextFont(font);

    QCOMPARE(m_display->m_textFont, font);
    QCOMPARE(m_display->m_textColor, QColor(200, 10, 20));
    QCOMPARE(m_edit->document()->defaultFont(), font);
    const QTextDocument *document = m_edit->document();
    const int last = document->characterCount() - 1;
    QTextCursor probe(m_edit->document());
    for (int i = 0; i <= 40; ++i) {
        const int position = int(qint64(last) * i / 40);
        probe.setPosition(position);
        const QTextCharFormat format = probe.charFormat();
        QCOMPARE(format.font().family(), font.family());
        QCOMPARE(format.font().pointSize(), 19);
        QVERIFY(format.font().italic());
        QCOMPARE(shownColour(m_edit, format), QColor(200, 10, 20));
    }
}

void TestTextDisplayLook::pageIsPaintedInTheTextColour_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("short text") << ShortLines;
    QTest::newRow("long text") << LongLines;
}

// What the reader sees: text pixels in the chosen colour over the chosen
// background, none left in the colour before.
void TestTextDisplayLook::pageIsPaintedInTheTextColour()
{
    QFETCH(int, lines);
    open(lines);
    m_display->setTextColor(Qt::black);
    m_display->setBackColor(Qt::white);
    showAndLayOut();
    QScrollBar *bar = m_edit->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);

    m_display->setTextColor(QColor(230, 0, 0));

    const QImage page = m_edit->viewport()->grab().toImage();
    int red = 0, dark = 0;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const QColor pixel = page.pixelColor(x, y);
            if (pixel.red() > 150 && pixel.green() < 100 && pixel.blue() < 100)
                ++red;
            if (pixel.red() < 90 && pixel.green() < 90 && pixel.blue() < 90)
                ++dark;
        }
    }
    QVERIFY2(red > 500, qPrintable(QString::number(red)));
    QCOMPARE(dark, 0);
}

void TestTextDisplayLook::scrollAndCursorKept_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<QString>("change");
    for (const int lines : {ShortLines, LongLines}) {
        for (const char *change : {"font", "colour", "width"}) {
            QTest::addRow("%s text, %s", lines == ShortLines ? "short" : "long", change)
                << lines << QString::fromLatin1(change);
        }
    }
}

// The text at the top of the view stays there, the top line with it, the
// moment the look or the width changes and after the layout has caught up.
void TestTextDisplayLook::scrollAndCursorKept()
{
    QFETCH(int, lines);
    QFETCH(QString, change);
    open(lines);
    showAndLayOut();
    QScrollBar *bar = m_edit->verticalScrollBar();
    const int middle = m_edit->document()->characterCount() * 2 / 3;
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(middle);
    cursor.setPosition(middle + 7, QTextCursor::KeepAnchor);
    m_edit->setTextCursor(cursor);
    bar->setValue(bar->maximum() / 3 + 5); // the selection out of sight, a line cut at the top
    const int top = m_display->topPosition();
    QTextCursor atTop(m_edit->document());
    atTop.setPosition(top);
    const int cut = m_edit->cursorRect(atTop).top();

    if (change == QLatin1String("font"))
        m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 15));
    else if (change == QLatin1String("colour"))
        m_display->setTextColor(Qt::darkBlue);
    else
        m_edit->resize(360, 400); // a side panel shown beside the view

    for (const bool settled : {false, true}) {
        if (settled)
            QTRY_VERIFY_WITH_TIMEOUT(laidOutToTheEnd(m_edit), 20000);
        const QRect line = m_edit->cursorRect(atTop);
        QVERIFY2(line.top() <= 0 && line.bottom() > 0, qPrintable(QString::number(line.top())));
        if (change == QLatin1String("colour"))
            QCOMPARE(line.top(), cut);
    }
    QCOMPARE(m_edit->textCursor().position(), middle + 7);
    QCOMPARE(m_edit->textCursor().hasSelection(), change == QLatin1String("width"));
}

// A long text opens and changes font without being laid out in one go; the
// layout finishes later, in passes of the event loop.
void TestTextDisplayLook::longTextIsNotLaidOutAtOnce()
{
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit));
    open(LongLines);
    QVERIFY(!laidOutToTheEnd(m_edit));
    QTRY_VERIFY_WITH_TIMEOUT(laidOutToTheEnd(m_edit), 20000);

    QScrollBar *bar = m_edit->verticalScrollBar();
    bar->setValue(bar->maximum());
    m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 24));
    QVERIFY(!laidOutToTheEnd(m_edit));
    QTRY_VERIFY_WITH_TIMEOUT(laidOutToTheEnd(m_edit), 20000);
}

// Colour does not change where lines break; the lines already laid out stay.
void TestTextDisplayLook::colourChangeKeepsTheLayout()
{
    open(LongLines);
    showAndLayOut();
    const QTextBlock first = m_edit->document()->firstBlock();
    const qreal width = first.layout()->lineAt(0).naturalTextWidth();

    m_display->setTextColor(QColor(0, 90, 200));

    QVERIFY(laidOutToTheEnd(m_edit));
    QVERIFY(first.layout()->lineCount() > 0);
    QCOMPARE(first.layout()->lineAt(0).naturalTextWidth(), width);
}

// The toolkit's own layout counts in 26.6 fixed point: past 8 388 607 pixels
// it stops drawing lines or loops for ever. A long novel in a large font is
// far taller than that; its end must show like its beginning.
void TestTextDisplayLook::textFarDownIsLaidOutAndDrawn()
{
    m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 150));
    open(LongLines);
    showAndLayOut();
    QScrollBar *bar = m_edit->verticalScrollBar();
    QVERIFY2(bar->maximum() > 2 * 8388607, qPrintable(QString::number(bar->maximum())));

    for (int value : {bar->maximum() / 3, bar->maximum() * 2 / 3, bar->maximum()}) {
        bar->setValue(value);
        const QImage page = m_edit->viewport()->grab().toImage();
        int dark = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x)
                dark += page.pixelColor(x, y).lightness() < 100 ? 1 : 0;
        }
        QVERIFY2(dark > 1000, qPrintable(QStringLiteral("%1 at %2").arg(dark).arg(value)));
    }
    // Positions still count characters, wherever they are.
    const int last = m_edit->document()->characterCount() - 1;
    QCOMPARE(m_edit
                 ->cursorForPosition(
                     QPoint(m_edit->viewport()->width() - 2, m_edit->viewport()->height() - 2))
                 .position(),
             last);
}

// Clicks, finds and bookmark jumps go through the view's idea of where a
// character is; going there and back must land on the same character.
void TestTextDisplayLook::cursorAndPointAgree()
{
    open(LongLines);
    showAndLayOut();
    const int last = m_edit->document()->characterCount() - 1;
    for (int i = 0; i <= 10; ++i) {
        const int position = qMax(0, int(qint64(last) * i / 10) - 3);
        QTextCursor cursor = m_edit->textCursor();
        cursor.setPosition(position);
        m_edit->setTextCursor(cursor);
        const QRect rect = m_edit->cursorRect();
        QVERIFY(m_edit->viewport()->rect().contains(rect.center()));
        QCOMPARE(m_edit->cursorForPosition(rect.center() + QPoint(1, 0)).position(), position);
    }
}

// While the layout has not yet reached the old position, the reader may
// scroll elsewhere; the view must not jump back there afterwards.
void TestTextDisplayLook::readerScrollingWinsOverWaitingPosition()
{
    m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 14));
    open(LongLines);
    showAndLayOut();
    QScrollBar *bar = m_edit->verticalScrollBar();
    const int old = bar->maximum() * 3 / 5;
    bar->setValue(old);

    // A little larger: the old position lies beyond what is laid out at once,
    // but within the whole text.
    m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 15));
    QVERIFY(!laidOutToTheEnd(m_edit));
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(bar->value(), 0);

    QTRY_VERIFY_WITH_TIMEOUT(laidOutToTheEnd(m_edit), 20000);
    QVERIFY(bar->maximum() >= old);
    QCOMPARE(bar->value(), 0);
}

void TestTextDisplayLook::nextFileCarriesTheLook_data()
{
    QTest::addColumn<int>("firstLines");
    QTest::addColumn<int>("nextLines");
    QTest::newRow("short after long") << LongLines << ShortLines;
    QTest::newRow("long after short") << ShortLines << LongLines;
    QTest::newRow("long after long") << LongLines << LongLines;
}

void TestTextDisplayLook::nextFileCarriesTheLook()
{
    QFETCH(int, firstLines);
    QFETCH(int, nextLines);
    open(firstLines, QStringLiteral("first.txt"));
    const QFont font(QStringLiteral("DejaVu Serif"), 21);
    m_display->setTextFont(font);
    m_display->setTextColor(Qt::darkGreen);

    open(nextLines, QStringLiteral("next.txt"));

    QCOMPARE(m_edit->document()->metaInformation(QTextDocument::DocumentTitle),
             QStringLiteral("next"));
    const int last = m_edit->document()->characterCount() - 1;
    QTextCursor probe(m_edit->document());
    for (int position : {0, 1, last / 3, last / 2, last - 1, last}) {
        probe.setPosition(position);
        QCOMPARE(probe.charFormat().font().family(), font.family());
        QCOMPARE(probe.charFormat().font().pointSize(), 21);
        QCOMPARE(shownColour(m_edit, probe.charFormat()), QColor(Qt::darkGreen));
    }
}

// The interface font reaches every widget without a font of its own; the
// reading view keeps the text font all the same, however long the text.
void TestTextDisplayLook::interfaceFontDoesNotReachTheText()
{
    struct RestoreFont {
        const QFont font = QApplication::font();
        ~RestoreFont() { QApplication::setFont(font); }
    } restore;
    open(LongLines);
    const QFont font(QStringLiteral("DejaVu Serif"), 17);
    m_display->setTextFont(font);

    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 9));

    QCOMPARE(m_edit->document()->defaultFont(), font);
    QTextCursor probe(m_edit->document());
    probe.setPosition(m_edit->document()->characterCount() / 2);
    QCOMPARE(probe.charFormat().font().family(), font.family());
    QCOMPARE(probe.charFormat().font().pointSize(), 17);
}

void TestTextDisplayLook::noUndoHistory()
{
    QVERIFY(!m_edit->document()->isUndoRedoEnabled());
    open(ShortLines);
    m_display->setTextFont(QFont(QStringLiteral("DejaVu Sans"), 13));
    m_display->setTextColor(Qt::blue);
    open(ShortLines, QStringLiteral("again.txt"));
    const QTextDocument *document = m_edit->document();
    QCOMPARE(document->availableUndoSteps(), 0);
    QVERIFY(!document->isUndoAvailable());
}

QTEST_MAIN(TestTextDisplayLook)
#include "tst_textdisplaylook.moc"
