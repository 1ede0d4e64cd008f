#include "BookFingerprint.h"
#include "MovedBookFinder.h"
#include "ReadingState.h"
#include "ShelfModel.h"

#include <QtTest>

#include <memory>

// The shelf as the reading state makes it: what each row says, books whose
// file is gone, and books found again by their content.
class TestShelfModel : public QObject
{
    Q_OBJECT

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return QFileInfo(path).absoluteFilePath();
    }

    static BookFacts factsOf(const QString &fileName)
    {
        BookFacts facts;
        facts.fingerprint = BookFingerprint::of(fileName);
        facts.size = QFileInfo(fileName).size();
        return facts;
    }

    // The state as another run reads it back from its file.
    std::unique_ptr<ReadingState> reloaded(ReadingState &state)
    {
        const QString file = m_dir.filePath(QStringLiteral("ReadingState.xml"));
        QFile::remove(file);
        if (!state.save(file))
            qFatal("cannot save");
        auto again = std::make_unique<ReadingState>();
        again->load(file);
        return again;
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void rows_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("progress"); // per mille, -1 not known
        QTest::addColumn<int>("chapter");
        QTest::addColumn<int>("chapters");
        QTest::addColumn<bool>("there");
        QTest::addColumn<QString>("row"); // title | progress | place
        // clang-format off
        QTest::newRow("chapters known") << "凡人修仙传.txt" << 372 << 12 << 3400 << true << "凡人修仙传|第 12/3400 章 · 37%|here";
        QTest::newRow("no chapters") << "随笔.txt" << 999 << 0 << 0 << true << "随笔|99%|here";
        QTest::newRow("a number says little") << "1.txt" << 0 << 1 << 30 << true << "1 · 第一章 风起|第 1/30 章 · 0%|here";
        QTest::newRow("never measured") << "新书.txt" << -1 << 0 << 0 << true << "新书||here";
        QTest::newRow("file gone") << "旧书.txt" << 500 << 2 << 4 << false << "旧书|第 2/4 章 · 50%|文件不存在";
        // clang-format on
    }

    // Each value also goes through the file, as the shelf of the next run
    // sees it.
    void rows()
    {
        QFETCH(QString, name);
        QFETCH(int, progress);
        QFETCH(int, chapter);
        QFETCH(int, chapters);
        QFETCH(bool, there);
        QFETCH(QString, row);
        const QString file = there ? write(name, "text") : m_dir.filePath(name);
        ReadingState state;
        state.setPosition(file, 10);
        BookFacts facts;
        facts.progress = progress;
        facts.chapter = chapter;
        facts.chapters = chapters;
        facts.firstChapter = chapters > 0 ? QStringLiteral("第一章 风起") : QString();
        state.setFacts(file, facts);
        const auto again = reloaded(state);
        QCOMPARE(again->facts(file), facts);
        // The facts are the shelf's, not choices that travel with the book.
        QVERIFY(again->choices(file).isEmpty());

        ShelfModel model;
        model.load(*again);
        QCOMPARE(model.rowCount(), 1);
        const auto cell = [&](int column) {
            return model.index(0, column).data().toString();
        };
        const QString place =
            cell(ShelfModel::PlaceColumn) == QDir::toNativeSeparators(m_dir.path())
                ? QStringLiteral("here")
                : cell(ShelfModel::PlaceColumn);
        QCOMPARE(cell(ShelfModel::TitleColumn) + '|' + cell(ShelfModel::ProgressColumn) + '|' +
                     place,
                 row);
        QCOMPARE(model.index(0, 0).data(ShelfModel::ThereRole).toBool(), there);
        QVERIFY(!cell(ShelfModel::LastReadColumn).isEmpty());
    }

    // Hand-edited values out of range are not believed.
    void damagedFacts()
    {
        const QString file = m_dir.filePath(QStringLiteral("ReadingState.xml"));
        QFile out(file);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("<阅读状态 version=\"1\"><阅读位置>"
                  "<文件 位置=\"5\" 进度=\"1700\" 章节=\"9\" 章节数=\"3\" 大小=\"-4\" "
                  "指纹=\"ab\">/tmp/a.txt</文件>"
                  "</阅读位置></阅读状态>");
        out.close();
        ReadingState state;
        state.load(file);
        const BookFacts facts = state.facts(QStringLiteral("/tmp/a.txt"));
        QCOMPARE(state.position(QStringLiteral("/tmp/a.txt")), 5);
        QCOMPARE(facts.progress, -1);
        QCOMPARE(facts.chapters, 3);
        QCOMPARE(facts.chapter, 0);
        QCOMPARE(facts.size, qint64(-1));
        QCOMPARE(facts.fingerprint, QStringLiteral("ab"));
    }

    // Two runs saved the same book: the facts of the later reading place
    // win with it, and facts never written leave the other run's.
    void factsGoWithTheNewerPlace_data()
    {
        QTest::addColumn<bool>("laterHasFacts");
        QTest::addColumn<int>("progress");
        QTest::newRow("the later place's facts") << true << 600;
        QTest::newRow("the earlier facts where the later has none") << false << 100;
    }

    void factsGoWithTheNewerPlace()
    {
        QFETCH(bool, laterHasFacts);
        QFETCH(int, progress);
        const QString book = write(QStringLiteral("书.txt"), "text");
        const QString file = m_dir.filePath(QStringLiteral("ReadingState.xml"));
        ReadingState earlier, later;
        earlier.load(file);
        later.load(file);
        BookFacts facts;
        facts.progress = 100;
        const ChangeStamp now = ChangeStamp::now();
        earlier.setPosition(book, 10, now);
        earlier.setFacts(book, facts);
        QVERIFY(earlier.save(file));
        later.setPosition(book, 60, {now.time + 1000, now.machine});
        facts.progress = 600;
        if (laterHasFacts)
            later.setFacts(book, facts);
        QVERIFY(later.save(file));
        ReadingState read;
        read.load(file);
        QCOMPARE(read.position(book), 60);
        QCOMPARE(read.facts(book).progress, progress);
    }

    void foundAgain_data()
    {
        QTest::addColumn<QString>("movedTo"); // empty: the file is gone for good
        QTest::addColumn<bool>("decoyOfTheSameSize");
        QTest::addColumn<bool>("found");
        QTest::newRow("moved to a folder of another book") << "其他/书.txt" << false << true;
        QTest::newRow("renamed in its own folder") << "改名.txt" << false << true;
        QTest::newRow("a same-sized other book is not it") << "" << true << false;
        QTest::newRow("gone") << "" << false << false;
    }

    void foundAgain()
    {
        QFETCH(QString, movedTo);
        QFETCH(bool, decoyOfTheSameSize);
        QFETCH(bool, found);
        const QByteArray text =
            QStringLiteral("第一章 风起\n少年背起行囊。\n").repeated(500).toUtf8();
        const QString book = write(QStringLiteral("书.txt"), text);
        const QString other = write(QStringLiteral("其他/另一本.txt"), "another book");
        ReadingState state;
        state.setPosition(other, 0);
        state.setPosition(book, 42);
        state.setChoice(book, QStringLiteral("简繁"), QStringLiteral("s2t"));
        state.setFacts(book, factsOf(book));
        QString now;
        if (!movedTo.isEmpty()) {
            now = QFileInfo(m_dir.filePath(movedTo)).absoluteFilePath();
            QVERIFY(QFile::rename(book, now));
        } else {
            QVERIFY(QFile::remove(book));
        }
        if (decoyOfTheSameSize)
            write(QStringLiteral("其他/冒名.txt"), QByteArray(text.size(), 'x'));

        ShelfModel model;
        model.load(state);
        QCOMPARE(model.index(0, 0).data(ShelfModel::ThereRole).toBool(), false);
        QCOMPARE(model.missing().size(), 1);
        const QString there =
            MovedBookFinder::find({model.missing().first().facts}, model.folders()).value(0);
        QCOMPARE(there, found ? now : QString());
        if (!found)
            return;
        model.setFound(book, there);
        QCOMPARE(model.index(0, 0).data(ShelfModel::ThereRole).toBool(), true);
        QCOMPARE(model.index(0, 0).data(ShelfModel::FileRole).toString(), now);
        // Opened from there, the book keeps its place and its choices.
        QVERIFY(state.moveBook(book, now));
        const auto again = reloaded(state);
        QCOMPARE(again->position(now), 42);
        QCOMPARE(again->position(book), -1);
        QCOMPARE(again->choice(now, QStringLiteral("简繁")), QStringLiteral("s2t"));
        QCOMPARE(again->facts(now).fingerprint, factsOf(now).fingerprint);
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        QVERIFY(m_folder->isValid());
        m_dir.setPath(m_folder->path());
    }

private:
    std::unique_ptr<QTemporaryDir> m_folder; // one per test row
    QDir m_dir;
};

QTEST_GUILESS_MAIN(TestShelfModel)
#include "tst_shelfmodel.moc"
