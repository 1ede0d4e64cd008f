#include "ZkTextEditHelper.h"

#include <QtTest>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QTextCodec>
#include <QTextEdit>

#include <functional>
#include <memory>
#include <signal.h>
#include <sys/resource.h>

using Command = std::function<void(ZkTextEditHelper &)>;
using FormatCheck = std::function<bool(const QTextCharFormat &)>;
Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(FormatCheck)

class TestZkTextEditHelper : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void formatsWordUnderCursor_data();
    void formatsWordUnderCursor();
    void alignment_data();
    void alignment();
    void enabledStates();
    void openFile_data();
    void openFile();
    void saveFile_data();
    void saveFile();
    void failedSaveKeepsOldFile();
    void exportPdf_data();
    void exportPdf();
    void newFile();

private:
    // the format of the character at position
    QTextCharFormat formatAt(int position);
    QString path(const QString &name) const { return m_dir->filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTextEdit> m_edit;
    std::unique_ptr<ZkTextEditHelper> m_helper;
};

void TestZkTextEditHelper::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_helper.reset();
    m_edit = std::make_unique<QTextEdit>();
    m_helper = std::make_unique<ZkTextEditHelper>();
    m_helper->setTextEditWidget(m_edit.get());
    m_edit->setPlainText(QStringLiteral("alpha beta gamma"));
}

QTextCharFormat TestZkTextEditHelper::formatAt(int position)
{
    QTextCursor cursor(m_edit->document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

void TestZkTextEditHelper::formatsWordUnderCursor_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<FormatCheck>("check");

    const auto size = [](const char *text) {
        return Command([text](ZkTextEditHelper &h) { h.setCurrentFontSize(text); });
    };
    const auto sizeIgnored = FormatCheck(
        [](const QTextCharFormat &f) { return !f.hasProperty(QTextFormat::FontPointSize); });

    QTest::newRow("bold") << Command([](ZkTextEditHelper &h) { h.m_boldAction->trigger(); })
                          << FormatCheck([](auto &f) { return f.fontWeight() == QFont::Bold; });
    QTest::newRow("bold unchecked: normal, not thin") << Command([](ZkTextEditHelper &h) {
        h.m_boldAction->trigger();
        h.m_boldAction->trigger();
    }) << FormatCheck([](auto &f) { return f.fontWeight() == QFont::Normal; });
    QTest::newRow("italic") << Command([](ZkTextEditHelper &h) { h.m_italicAction->trigger(); })
                            << FormatCheck([](auto &f) { return f.fontItalic(); });
    QTest::newRow("underline") << Command([](ZkTextEditHelper &h) {
        h.m_underlineAction->trigger();
    }) << FormatCheck([](auto &f) { return f.fontUnderline(); });
    QTest::newRow("size 10.5") << size("10.5")
                               << FormatCheck([](auto &f) { return f.fontPointSize() == 10.5; });
    QTest::newRow("size 0") << size("0") << sizeIgnored;
    QTest::newRow("size -3") << size("-3") << sizeIgnored;
    QTest::newRow("size abc") << size("abc") << sizeIgnored;
    QTest::newRow("size inf") << size("inf") << sizeIgnored;
    QTest::newRow("family") << Command([](ZkTextEditHelper &h) {
        h.setCurrentFontFamily(QStringLiteral("Serif"));
    }) << FormatCheck([](auto &f) { return f.fontFamily() == QLatin1String("Serif"); });
    QTest::newRow("colour") << Command([](ZkTextEditHelper &h) {
        h.setCurrentFontColor(Qt::red);
    }) << FormatCheck([](auto &f) { return f.foreground().color() == QColor(Qt::red); });
}

// With the cursor inside "beta" and no selection the command reaches the
// whole word and the letter typed next, and nothing else.
void TestZkTextEditHelper::formatsWordUnderCursor()
{
    QFETCH(Command, command);
    QFETCH(FormatCheck, check);
    const QTextCharFormat plain = formatAt(0);
    QTextCursor cursor = m_edit->textCursor();
    cursor.setPosition(8);
    m_edit->setTextCursor(cursor);

    command(*m_helper);
    QTest::keyClicks(m_edit.get(), QStringLiteral("x"));

    QCOMPARE(m_edit->toPlainText(), QStringLiteral("alpha bexta gamma"));
    for (int i = 6; i < 11; ++i)
        QVERIFY2(check(formatAt(i)), qPrintable(QString::number(i)));
    QCOMPARE(formatAt(0), plain);
    QCOMPARE(formatAt(12), plain);
    QCOMPARE(m_helper->m_boldAction->isChecked(), formatAt(8).fontWeight() > QFont::Normal);
}

void TestZkTextEditHelper::alignment_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("alignment");

    QTest::newRow("left") << 0 << int(Qt::AlignLeft | Qt::AlignAbsolute);
    QTest::newRow("centre") << 1 << int(Qt::AlignHCenter);
    QTest::newRow("right") << 2 << int(Qt::AlignRight | Qt::AlignAbsolute);
    QTest::newRow("justify") << 3 << int(Qt::AlignJustify);
}

void TestZkTextEditHelper::alignment()
{
    QFETCH(int, index);
    QFETCH(int, alignment);
    m_edit->setPlainText(QStringLiteral("one\ntwo"));
    m_edit->moveCursor(QTextCursor::End);
    m_helper->m_alignCenterAction->trigger(); // the first paragraph stays as it was
    m_edit->moveCursor(QTextCursor::Start);
    QAction *action = m_helper->m_alignGroup->actions().at(index);

    action->trigger();
    QCOMPARE(int(m_edit->alignment()), alignment);
    m_edit->moveCursor(QTextCursor::End);
    QCOMPARE(m_helper->m_alignGroup->checkedAction(), m_helper->m_alignCenterAction);
    m_edit->moveCursor(QTextCursor::Start);
    QCOMPARE(m_helper->m_alignGroup->checkedAction(), action);
}

void TestZkTextEditHelper::enabledStates()
{
    ZkTextEditHelper helper;
    QTextEdit edit;
    helper.setTextEditWidget(&edit);
    QVERIFY(!helper.m_undoAction->isEnabled() && !helper.m_redoAction->isEnabled());
    QVERIFY(!helper.m_cutAction->isEnabled() && !helper.m_copyAction->isEnabled());

    QTest::keyClicks(&edit, QStringLiteral("ab"));
    QVERIFY(helper.m_undoAction->isEnabled());
    helper.m_undoAction->trigger();
    QVERIFY(helper.m_redoAction->isEnabled());
    helper.m_redoAction->trigger();
    QVERIFY(!helper.m_redoAction->isEnabled());

    edit.selectAll();
    QVERIFY(helper.m_cutAction->isEnabled() && helper.m_copyAction->isEnabled());
    edit.moveCursor(QTextCursor::End);
    QVERIFY(!helper.m_cutAction->isEnabled() && !helper.m_copyAction->isEnabled());

    auto *picture = new QMimeData;
    picture->setImageData(QImage(2, 2, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(picture);
    QTRY_VERIFY(!helper.m_pasteAction->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("words"));
    QTRY_VERIFY(helper.m_pasteAction->isEnabled());
}

void TestZkTextEditHelper::openFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QString chinese = QStringLiteral("纸上得来\n终觉浅");
    QByteArray utf16le("\xFF\xFE"), utf16be("\xFE\xFF");
    for (const QChar c : chinese + QStringLiteral("ab")) {
        utf16le += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        utf16be += char(c.unicode() >> 8) + QByteArray(1, char(c.unicode() & 0xFF));
    }
    QTest::newRow("HTML tag in the first line")
        << QByteArray("<b>bold</b> words\nnext") << QStringLiteral("bold words next");
    QTest::newRow("HTML, UTF-8 without charset")
        << QStringLiteral("<p>中文</p>").toUtf8() << QStringLiteral("中文");
    QTest::newRow("UTF-8") << chinese.toUtf8() << chinese;
    QTest::newRow("UTF-8 with mark") << "\xEF\xBB\xBF" + chinese.toUtf8() << chinese;
    QTest::newRow("GB18030") << QTextCodec::codecForName("GB18030")->fromUnicode(chinese)
                             << chinese;
    QTest::newRow("UTF-16 LE, decoded whole") << utf16le << chinese + QStringLiteral("ab");
    QTest::newRow("UTF-16 BE, decoded whole") << utf16be << chinese + QStringLiteral("ab");
    QTest::newRow("zero byte ends the text") << QByteArray("abc\0def", 7) << QStringLiteral("abc");
}

void TestZkTextEditHelper::openFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFile file(path(QStringLiteral("in.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    file.close();
    QVERIFY(!m_helper->openFile(path(QStringLiteral("missing.txt"))));
    QCOMPARE(m_edit->toPlainText(), QStringLiteral("alpha beta gamma"));

    QVERIFY(m_helper->openFile(file.fileName()));
    QCOMPARE(m_edit->toPlainText(), text);
    QCOMPARE(m_helper->m_fileName, file.fileName());
    QVERIFY(!m_edit->document()->isModified());
}

void TestZkTextEditHelper::saveFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start"); // empty: nothing may be written

    QTest::newRow("html") << "page.html" << QByteArray("<!DOCTYPE HTML");
    QTest::newRow("htm in capitals") << "page.HTM" << QByteArray("<!DOCTYPE HTML");
    QTest::newRow("plain text") << "notes.txt" << QByteArray("alpha beta gamma");
    QTest::newRow("OpenDocument") << "doc.odt" << QByteArray("PK");
    QTest::newRow("unknown suffix") << "notes.xyz" << QByteArray();
    QTest::newRow("no suffix") << "notes" << QByteArray();
    QTest::newRow("no name") << "" << QByteArray();
}

void TestZkTextEditHelper::saveFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    m_helper->setCurrentFileName(QStringLiteral("before.html"));
    m_edit->insertPlainText(QString());
    m_edit->document()->setModified(true);

    QCOMPARE(m_helper->saveFile(name.isEmpty() ? name : path(name)), !start.isEmpty());
    QCOMPARE(m_edit->document()->isModified(), start.isEmpty());
    QCOMPARE(m_helper->m_fileName, QStringLiteral("before.html"));
    const QStringList written = QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(written, start.isEmpty() ? QStringList() : QStringList(name));
    if (!start.isEmpty()) {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith(start));
    }
}

// A disk that fills up while saving must neither destroy the old file nor
// be reported as a successful save.
void TestZkTextEditHelper::failedSaveKeepsOldFile()
{
    const QString name = path(QStringLiteral("keep.html"));
    QFile old(name);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    m_edit->setPlainText(QString(5000, QLatin1Char('x')));
    m_edit->document()->setModified(true);

    signal(SIGXFSZ, SIG_IGN);
    rlimit limit;
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit small = {1024, limit.rlim_max};
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = m_helper->saveFile(name);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);

    QVERIFY(!saved);
    QVERIFY(m_edit->document()->isModified());
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("old"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestZkTextEditHelper::exportPdf_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("written"); // empty: no file

    QTest::newRow("no suffix") << "report"
                               << "report.pdf";
    QTest::newRow("other suffix") << "report.out"
                                  << "report.out";
    QTest::newRow("dot in the folder only") << "v2.0/report"
                                            << "v2.0/report.pdf";
    QTest::newRow("no name") << ""
                             << "";
    QTest::newRow("missing folder") << "missing/report"
                                    << "";
}

void TestZkTextEditHelper::exportPdf()
{
    QFETCH(QString, name);
    QFETCH(QString, written);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("v2.0")));

    m_helper->exportPdf(name.isEmpty() ? name : path(name));

    QDirIterator files(m_dir->path(), QDir::Files, QDirIterator::Subdirectories);
    QStringList found;
    while (files.hasNext())
        found << QDir(m_dir->path()).relativeFilePath(files.next());
    QCOMPARE(found, written.isEmpty() ? QStringList() : QStringList(written));
    if (!written.isEmpty()) {
        QFile pdf(path(written));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
    }
}

void TestZkTextEditHelper::newFile()
{
    m_helper->setCurrentFileName(path(QStringLiteral("old.html")));
    m_edit->append(QStringLiteral("more"));
    QVERIFY(m_edit->document()->isModified());

    m_helper->newFile(QStringLiteral("ignored.html"));
    QVERIFY(m_edit->document()->isEmpty());
    QCOMPARE(m_helper->m_fileName, QString());
    QVERIFY(!m_edit->document()->isModified());
}

QTEST_MAIN(TestZkTextEditHelper)
#include "tst_zktextedithelper.moc"
