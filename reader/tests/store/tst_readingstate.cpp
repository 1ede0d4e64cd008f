#include "ReadingState.h"

#include <QtTest>

namespace
{

QString describe(const ComfortSettings &comfort)
{
    return QStringLiteral("%1 %2 %3 %4")
        .arg(comfort.lineSpacing)
        .arg(comfort.paragraphSpacing)
        .arg(comfort.sideMargin)
        .arg(comfort.maxTextWidth);
}

// The positions of three files, -1 for one the store does not know.
QString positionsOf(const ReadingState &state)
{
    QStringList positions;
    for (const char *name : {"a", "b", "c"})
        positions << QString::number(state.position(QStringLiteral("/n/%1.txt").arg(name)));
    return positions.join(' ');
}

} // namespace

class TestReadingState : public QObject
{
    Q_OBJECT

private slots:
    void readsWhatIsUsable_data();
    void readsWhatIsUsable();
    void keepsTheMostRecentFiles();
    void choicesTravelWithTheirBook();
    void changesCarryTheirStamps();
    void savingMergesWithTheFile();
    void twoProcessesLoseNoPlace();

private:
    QTemporaryDir m_dir;
};

void TestReadingState::readsWhatIsUsable_data()
{
    QTest::addColumn<QString>("body"); // the children of the root
    QTest::addColumn<QString>("comfort");
    QTest::addColumn<QString>("positions");

    const QString entries = "<阅读位置><文件 位置=\"12\">/n/a.txt</文件>"
                            "<文件 位置=\"30\">/n/b.txt</文件></阅读位置>";
    QTest::newRow("usable values")
        << "<排版 行距=\"150\" 段距=\"8\" 边距=\"40\" 最大宽度=\"700\"/>" + entries
        << "150 8 40 700"
        << "12 30 -1";
    QTest::newRow("limits kept, beyond them the defaults")
        << "<排版 行距=\"251\" 段距=\"100\" 边距=\"400\" 最大宽度=\"4001\"/>" + entries
        << "100 100 400 0"
        << "12 30 -1";
    QTest::newRow("below the limits, not numbers, missing")
        << "<排版 行距=\"99\" 段距=\"-1\" 边距=\"四十\"/>" + entries << "100 0 0 0"
        << "12 30 -1";
    QTest::newRow("unusable entries passed over, a path twice keeps its first")
        << "<阅读位置><文件 位置=\"x\">/n/a.txt</文件><文件 位置=\"-4\">/n/b.txt</文件>"
           "<文件 位置=\"5\"></文件><文件>/n/c.txt</文件><文件 位置=\"9\">/n/./c.txt</文件>"
           "<文件 位置=\"3\">/n/c.txt</文件><其他 位置=\"1\">/n/a.txt</其他></阅读位置>"
        << "100 0 0 0"
        << "-1 -1 9";
    QTest::newRow("cut off: what came before stays")
        << "<排版 行距=\"120\"/><阅读位置><文件 位置=\"12\">/n/a.txt</文件><文件 位置=\"30\">/n/b"
        << "120 0 0 0"
        << "12 -1 -1";
    QTest::newRow("a bare & in one path: the lines after it still count")
        << "\n<阅读位置>\n<文件 位置=\"12\">/n/a.txt</文件>\n<文件 位置=\"5\">/n/R&D.txt</文件>"
           "\n<文件 位置=\"30\">/n/b.txt</文件>\n<排版 段距=\"4\"/>\n<文件 "
           "位置=\"7\">/n/c.txt</文件>"
           "\n</阅读位置>\n"
        << "100 4 0 0"
        << "12 30 7";
    QTest::newRow("unknown elements between")
        << "<新功能 x=\"1\"><排版 行距=\"200\"/></新功能>" + entries + "<排版 段距=\"6\"/>"
        << "100 6 0 0"
        << "12 30 -1";
}

// A damaged or hand-edited file keeps the defaults for what is unusable, and
// saving it again loses nothing that could be read.
void TestReadingState::readsWhatIsUsable()
{
    QFETCH(QString, body);
    QFETCH(QString, comfort);
    QFETCH(QString, positions);
    const QString path = m_dir.filePath(QTest::currentDataTag());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<阅读状态 version=\"1\">" + body +
                (body.endsWith("/n/b") ? "" : "</阅读状态>"))
                   .toUtf8());
    file.close();

    ReadingState state;
    state.load(path);
    QCOMPARE(describe(state.comfort), comfort);
    QCOMPARE(positionsOf(state), positions);

    state.save(path);
    ReadingState again;
    again.load(path);
    QCOMPARE(describe(again.comfort), comfort);
    QCOMPARE(positionsOf(again), positions);
}

void TestReadingState::keepsTheMostRecentFiles()
{
    ReadingState state;
    for (int i = 0; i <= ReadingState::MaxPositions; ++i)
        QVERIFY(state.setPosition(QStringLiteral("/n/%1.txt").arg(i), i + 100));
    QVERIFY(!state.setPosition(QStringLiteral("/n/500.txt"), 600)); // already the newest
    QVERIFY(state.setPosition(QStringLiteral("/n/1.txt"), 7));      // oldest becomes newest
    QVERIFY(state.setPosition(QStringLiteral("/n/502.txt"), 0));
    const QString path = m_dir.filePath(QStringLiteral("recent.xml"));
    state.save(path);

    ReadingState again;
    again.load(path);
    QCOMPARE(again.position(QStringLiteral("/n/0.txt")), -1);
    QCOMPARE(again.position(QStringLiteral("/n/2.txt")), -1);
    QCOMPARE(again.position(QStringLiteral("/n/1.txt")), 7);
    QCOMPARE(again.position(QStringLiteral("/n/3.txt")), 103);
    QCOMPARE(again.position(QStringLiteral("/n/502.txt")), 0);
}

// A book's choices stay with it when it is read again, survive a save and a
// hand edit of another line, and any text keeps the file one line per book.
void TestReadingState::choicesTravelWithTheirBook()
{
    const QString odd = QStringLiteral("第.+章\n\"&<'\t");
    ReadingState state;
    state.setPosition(QStringLiteral("/n/a.txt"), 5);
    QVERIFY(state.setChoice(QStringLiteral("/n/a.txt"), QStringLiteral("目录规则"), odd));
    QVERIFY(!state.setChoice(QStringLiteral("/n/./a.txt"), QStringLiteral("目录规则"), odd));
    QVERIFY(state.setChoice(QStringLiteral("/n/b.txt"), QStringLiteral("script"), "s2twp"));
    QVERIFY(state.setPosition(QStringLiteral("/n/a.txt"), 40)); // read again: first once more
    const QString path = m_dir.filePath(QStringLiteral("choices.xml"));
    state.save(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    QCOMPARE(bytes.count('\n'), 10); // declaration, root, comfort, view, window, list, two files
    // a line damaged by hand costs that line only
    bytes.replace("<排版", "<排版 &");
    file.seek(0);
    file.write(bytes);
    file.close();

    ReadingState again;
    again.load(path);
    QCOMPARE(again.position(QStringLiteral("/n/a.txt")), 40);
    QCOMPARE(again.choice(QStringLiteral("/n/a.txt"), QStringLiteral("目录规则")), odd);
    QCOMPARE(again.position(QStringLiteral("/n/b.txt")), 0);
    QCOMPARE(again.choice(QStringLiteral("/n/b.txt"), QStringLiteral("script")), "s2twp");
    QVERIFY(again.setChoice(QStringLiteral("/n/b.txt"), QStringLiteral("script"), QString()));
    QCOMPARE(again.choice(QStringLiteral("/n/b.txt"), QStringLiteral("script")), QString());
}

// Only a move is a change another machine must hear of: a book first seen at
// its start is not one. A file of a release without stamps reads with none,
// and the stamps never pass for choices.
void TestReadingState::changesCarryTheirStamps()
{
    ChangeStamp::setThisMachine(QStringLiteral("m1"));
    ReadingState state;
    const QString a = QStringLiteral("/n/a.txt"), b = QStringLiteral("/n/b.txt");
    state.setPosition(a, 0);
    QVERIFY(state.positionStamp(a).isNull());
    state.setPosition(a, 70);
    const ChangeStamp moved = state.positionStamp(a);
    QCOMPARE(moved.machine, QStringLiteral("m1"));
    state.setPosition(b, 0);
    state.setPosition(a, 70);
    QCOMPARE(state.positionStamp(a), moved); // read again where it was: no change
    state.setChoice(a, QStringLiteral("script"), QStringLiteral("s2t"));
    QVERIFY(state.choicesStamp(a).isLaterThan(moved));
    state.setPosition(b, 12, {99, QStringLiteral("elsewhere")});

    const QString path = m_dir.filePath(QStringLiteral("stamps.xml"));
    state.save(path);
    ReadingState read;
    read.load(path);
    QCOMPARE(read.positionStamp(a), moved);
    QCOMPARE(read.choicesStamp(a), state.choicesStamp(a));
    QCOMPARE(read.positionStamp(b), (ChangeStamp{99, QStringLiteral("elsewhere")}));
    QCOMPARE(read.choices(a), (QMap<QString, QString>{{"script", "s2t"}}));

    QFile older(path);
    QVERIFY(older.open(QIODevice::WriteOnly | QIODevice::Truncate));
    older.write("<阅读状态 version=\"1\"><阅读位置><文件 位置=\"12\" script=\"x\">/n/a.txt"
                "</文件></阅读位置></阅读状态>");
    older.close();
    read.load(path);
    QCOMPARE(read.position(a), 12);
    QVERIFY(read.positionStamp(a).isNull());
    QVERIFY(read.choicesStamp(a).isNull());
    QCOMPARE(read.choice(a, QStringLiteral("script")), QStringLiteral("x"));
}

// Two copies of the store, as two windows hold them: each save keeps what
// the other saved, and of one book the later move, whichever copy saves last.
void TestReadingState::savingMergesWithTheFile()
{
    const QString path = m_dir.filePath(QStringLiteral("merged.xml"));
    const QString a = QStringLiteral("/n/a.txt"), b = QStringLiteral("/n/b.txt");
    ReadingState first, second;
    first.setPosition(a, 10);
    QVERIFY(first.save(path));
    second.load(path);
    second.setPosition(a, 50); // read on in the second window
    second.setPosition(b, 7);
    QVERIFY(second.save(path));
    first.setChoice(a, QStringLiteral("script"), QStringLiteral("s2t"));
    QVERIFY(first.save(path)); // its stale copy of a's place loses

    ReadingState read;
    read.load(path);
    QCOMPARE(read.position(a), 50);
    QCOMPARE(read.position(b), 7);
    QCOMPARE(read.choice(a, QStringLiteral("script")), QStringLiteral("s2t"));
    QCOMPARE(read.fileNames().size(), 2);
    QCOMPARE(first.position(a), 50); // the copy holds what it saved

    first.setPosition(a, 60);
    first.forget(b);
    QVERIFY(first.save(path));
    read.load(path);
    QCOMPARE(read.position(a), 60);
    QCOMPARE(read.position(b), -1);
}

namespace
{

const int PlacesPerProcess = 25;
const char WriterVariable[] = "QUIRELLE_TEST_PLACES_WRITER";

// One process of twoProcessesLoseNoPlace: it reads the file once and then
// saves its own books one by one, never reading again.
int writePlaces(const QString &path, const QString &prefix)
{
    ReadingState state;
    state.load(path);
    for (int i = 1; i <= PlacesPerProcess; ++i) {
        state.setPosition(QStringLiteral("/n/%1%2.txt").arg(prefix).arg(i), i * 10);
        if (!state.save(path))
            return 1;
    }
    return 0;
}

} // namespace

void TestReadingState::twoProcessesLoseNoPlace()
{
    const QString path = m_dir.filePath(QStringLiteral("two.xml"));
    QList<QProcess *> writers;
    for (const QString prefix : {"a", "b"}) {
        auto *writer = new QProcess(this);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(WriterVariable, prefix);
        writer->setProcessEnvironment(environment);
        writer->start(QCoreApplication::applicationFilePath(), {path});
        writers << writer;
    }
    for (QProcess *writer : writers) {
        QVERIFY(writer->waitForFinished(120000));
        QCOMPARE(writer->exitStatus(), QProcess::NormalExit);
        QCOMPARE(writer->exitCode(), 0);
    }
    ReadingState read;
    read.load(path);
    QCOMPARE(read.fileNames().size(), 2 * PlacesPerProcess);
    for (const char *prefix : {"a", "b"}) {
        for (int i = 1; i <= PlacesPerProcess; ++i)
            QCOMPARE(read.position(QStringLiteral("/n/%1%2.txt").arg(prefix).arg(i)), i * 10);
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(WriterVariable))
        return writePlaces(app.arguments().value(1), qEnvironmentVariable(WriterVariable));
    TestReadingState test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_readingstate.moc"
