#include "ZkXmlFile.h"

#include <QtTest>

#include <functional>
#include <memory>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// A file with one integer on its root, one font, one colour and a list of
// texts, written in UTF-8.
class SampleFile : public ZkXmlFile
{
public:
    void readParse(QXmlStreamReader *reader) override
    {
        ++readCalls;
        if (!reader->readNextStartElement())
            return;
        readInteger(reader, QStringLiteral("n"), number);
        while (reader->readNextStartElement()) {
            if (reader->name() == QLatin1String("font"))
                readFont(reader, font);
            else if (reader->name() == QLatin1String("color"))
                readColor(reader, color);
            reader->skipCurrentElement();
        }
    }

    void writeParse(QXmlStreamWriter *writer) override
    {
        ++writeCalls;
        if (writeHook) {
            writeHook(writer);
            return;
        }
        writer->setAutoFormatting(true);
        writer->setCodec("UTF-8");
        writeDocument(writer);
    }

    void writeDocument(QXmlStreamWriter *writer)
    {
        writer->writeStartDocument();
        writer->writeStartElement(QStringLiteral("sample"));
        writeInteger(writer, QStringLiteral("n"), number);
        writeFont(writer, QStringLiteral("font"), font);
        writeColor(writer, QStringLiteral("color"), color);
        for (const QString &text : qAsConst(texts))
            writer->writeTextElement(QStringLiteral("text"), text);
        writer->writeEndElement();
        writer->writeEndDocument();
    }

    int number = 99;
    QFont font;
    QColor color;
    QStringList texts;
    std::function<void(QXmlStreamWriter *)> writeHook; // replaces the document when set
    int readCalls = 0;
    int writeCalls = 0;
};

namespace
{

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeAll(const QString &fileName, const QByteArray &data)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(data), qint64(data.size()));
}

QString describe(const QFont &font)
{
    return QStringLiteral("%1|%2|%3|%4|%5|%6")
        .arg(font.family())
        .arg(font.pointSize())
        .arg(font.weight())
        .arg(font.style())
        .arg(font.strikeOut())
        .arg(font.underline());
}

std::unique_ptr<SampleFile> loaded(const QString &fileName)
{
    auto file = std::make_unique<SampleFile>();
    file->load(fileName);
    return file;
}

QStringList manyTexts(int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << QStringLiteral("entry %1 of a long list").arg(i);
    return texts;
}

// Runs body in a forked child and returns its exit status, so a save can
// be cut short by _exit() or by a file-size limit without harming the test.
int inChild(const std::function<void()> &body)
{
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(0);
    }
    int status = -1;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

class TestZkXmlFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void readInteger_data();
    void readInteger();
    void readFont_data();
    void readFont();
    void readColor_data();
    void readColor();
    void valueEncoding();
    void roundTrip_data();
    void roundTrip();
    void loadUnopenable_data();
    void loadUnopenable();
    void saveRefused_data();
    void saveRefused();
    void saveReplacesWholeFile();
    void saveKeepsPermissionsAndLinks();
    void brokenDocumentDoesNotLeak();
    void writerSettingsCarryOver();
    void interruptedSaveKeepsOldFile();
    void failedWritesKeepOldFile_data();
    void failedWritesKeepOldFile();
    void writerErrorKeepsOldFile();
    void noRoomNoSave_data();
    void noRoomNoSave();
    void cleanup();

private:
    QString document(const QString &body) const;

    QScopedPointer<QTemporaryDir> m_dir;
    QString m_file;
    QString m_mounted; // a small file system of the current test
};

void TestZkXmlFile::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath(QStringLiteral("sample.xml"));
}

QString TestZkXmlFile::document(const QString &body) const
{
    return QStringLiteral("<?xml version=\"1.0\"?>") + body;
}

void TestZkXmlFile::readInteger_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << "<sample n=\"42\"/>" << 42;
    QTest::newRow("negative") << "<sample n=\"-5\"/>" << -5;
    QTest::newRow("plus sign") << "<sample n=\"+8\"/>" << 8;
    QTest::newRow("blanks") << "<sample n=\" 7 \"/>" << 7;
    QTest::newRow("largest") << "<sample n=\"2147483647\"/>" << 2147483647;
    QTest::newRow("smallest") << "<sample n=\"-2147483648\"/>" << int(-2147483647 - 1);
    QTest::newRow("missing") << "<sample/>" << 99;
    QTest::newRow("empty") << "<sample n=\"\"/>" << 99;
    QTest::newRow("letters") << "<sample n=\"abc\"/>" << 99;
    QTest::newRow("fraction") << "<sample n=\"7.0\"/>" << 99;
    QTest::newRow("hexadecimal") << "<sample n=\"0x10\"/>" << 99;
    QTest::newRow("too large") << "<sample n=\"2147483648\"/>" << 99;
    QTest::newRow("too small") << "<sample n=\"-2147483649\"/>" << 99;
    QTest::newRow("huge") << "<sample n=\"99999999999999999999\"/>" << 99;
}

void TestZkXmlFile::readInteger()
{
    QFETCH(QString, root);
    QFETCH(int, expected);
    writeAll(m_file, document(root).toUtf8());
    QCOMPARE(loaded(m_file)->number, expected);
}

void TestZkXmlFile::readFont_data()
{
    // Read into Serif 10, weight 50, upright, underlined, no strike-out.
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nothing") << ""
                             << "Serif|10|50|0|0|1";
    QTest::newRow("size only") << "大小=\"14\""
                               << "Serif|14|50|0|0|1";
    QTest::newRow("empty family") << "字体=\"\""
                                  << "Serif|10|50|0|0|1";
    QTest::newRow("family") << "字体=\"宋体\""
                            << "宋体|10|50|0|0|1";
    QTest::newRow("zero size") << "大小=\"0\""
                               << "Serif|10|50|0|0|1";
    QTest::newRow("negative size") << "大小=\"-12\""
                                   << "Serif|10|50|0|0|1";
    QTest::newRow("fractional size") << "大小=\"12.5\""
                                     << "Serif|10|50|0|0|1";
    QTest::newRow("huge size") << "大小=\"99999999999\""
                               << "Serif|10|50|0|0|1";
    QTest::newRow("bold italic") << "字宽=\"75\" 风格=\"1\""
                                 << "Serif|10|75|1|0|1";
    QTest::newRow("oblique") << "风格=\"2\""
                             << "Serif|10|50|2|0|1";
    QTest::newRow("weight off scale") << "字宽=\"500\""
                                      << "Serif|10|50|0|0|1";
    QTest::newRow("negative weight") << "字宽=\"-1\""
                                     << "Serif|10|50|0|0|1";
    QTest::newRow("style off scale") << "风格=\"3\""
                                     << "Serif|10|50|0|0|1";
    QTest::newRow("strike-out 2") << "删除线=\"2\""
                                  << "Serif|10|50|0|1|1";
    QTest::newRow("strike-out letters") << "删除线=\"x\""
                                        << "Serif|10|50|0|0|1";
    QTest::newRow("underline off") << "下划线=\"0\""
                                   << "Serif|10|50|0|0|0";
    QTest::newRow("underline letters") << "下划线=\"x\""
                                       << "Serif|10|50|0|0|1";
    QTest::newRow("all six")
        << "字体=\"Sans\" 大小=\"20\" 字宽=\"25\" 风格=\"1\" 删除线=\"1\" 下划线=\"0\""
        << "Sans|20|25|1|1|0";
}

void TestZkXmlFile::readFont()
{
    QFETCH(QString, attributes);
    QFETCH(QString, expected);
    writeAll(m_file, document("<sample><font " + attributes + "/></sample>").toUtf8());
    SampleFile file;
    file.font = QFont(QStringLiteral("Serif"), 10, QFont::Normal);
    file.font.setUnderline(true);
    file.load(m_file);
    QCOMPARE(describe(file.font), expected);
}

void TestZkXmlFile::readColor_data()
{
    // Read into (1, 2, 3) with alpha 128; alpha always comes back opaque.
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QColor>("expected");
    QTest::newRow("nothing") << "" << QColor(1, 2, 3);
    QTest::newRow("red only") << "r=\"10\"" << QColor(10, 2, 3);
    QTest::newRow("all three") << "r=\"255\" g=\"128\" b=\"0\"" << QColor(255, 128, 0);
    QTest::newRow("above 255") << "r=\"256\" g=\"7\"" << QColor(1, 7, 3);
    QTest::newRow("negative") << "b=\"-1\"" << QColor(1, 2, 3);
    QTest::newRow("letters") << "g=\"green\"" << QColor(1, 2, 3);
    QTest::newRow("fraction") << "r=\"9.5\"" << QColor(1, 2, 3);
    QTest::newRow("blanks") << "b=\" 9 \"" << QColor(1, 2, 9);
}

void TestZkXmlFile::readColor()
{
    QFETCH(QString, attributes);
    QFETCH(QColor, expected);
    writeAll(m_file, document("<sample><color " + attributes + "/></sample>").toUtf8());
    SampleFile file;
    file.color = QColor(1, 2, 3, 128);
    file.load(m_file);
    QVERIFY(file.color.isValid());
    QCOMPARE(file.color.name(QColor::HexArgb), expected.name(QColor::HexArgb));
}

void TestZkXmlFile::valueEncoding()
{
    SampleFile file;
    file.number = -5;
    file.font = QFont(QStringLiteral("宋体"), 12, QFont::Normal);
    file.color = QColor(10, 20, 30, 128);
    file.save(m_file);
    QCOMPARE(
        QString::fromUtf8(readAll(m_file)),
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<sample n=\"-5\">\n"
                       "    <font 字体=\"宋体\" 大小=\"12\" 字宽=\"50\" 风格=\"0\" 删除线=\"0\" "
                       "下划线=\"0\"/>\n"
                       "    <color r=\"10\" g=\"20\" b=\"30\"/>\n"
                       "</sample>\n"));
}

void TestZkXmlFile::roundTrip_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<QColor>("color");
    QFont decorated(QStringLiteral("DejaVu Sans"), 31, QFont::Black, true);
    decorated.setStrikeOut(true);
    decorated.setUnderline(true);
    QFont oblique(QStringLiteral("a & <b> \"c\""), 1, QFont::Light);
    oblique.setStyle(QFont::StyleOblique);
    QTest::newRow("plain") << 0 << QFont(QStringLiteral("宋体"), 12) << QColor(Qt::black);
    QTest::newRow("decorated") << int(-2147483647 - 1) << decorated << QColor(Qt::white);
    QTest::newRow("markup in family") << 2147483647 << oblique << QColor(0, 128, 255);
}

void TestZkXmlFile::roundTrip()
{
    QFETCH(int, number);
    QFETCH(QFont, font);
    QFETCH(QColor, color);
    SampleFile written;
    written.number = number;
    written.font = font;
    written.color = color;
    written.save(m_file);

    const auto read = loaded(m_file);
    QCOMPARE(read->number, number);
    QCOMPARE(describe(read->font), describe(font));
    QCOMPARE(read->color, color);
}

void TestZkXmlFile::loadUnopenable_data()
{
    QTest::addColumn<QString>("relativePath");
    QTest::newRow("missing file") << "missing.xml";
    QTest::newRow("folder") << ".";
    QTest::newRow("below a regular file") << "plain.txt/sample.xml";
}

void TestZkXmlFile::loadUnopenable()
{
    QFETCH(QString, relativePath);
    writeAll(m_dir->filePath(QStringLiteral("plain.txt")), "<sample n=\"1\"/>");
    SampleFile file;
    file.load(m_dir->filePath(relativePath));
    QCOMPARE(file.readCalls, 0);
    QCOMPARE(file.number, 99);
}

void TestZkXmlFile::saveRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("folder is a regular file") << "below file";
    QTest::newRow("missing folder") << "missing folder";
    QTest::newRow("under /proc") << "proc";
    QTest::newRow("read-only folder") << "read-only folder";
    QTest::newRow("read-only existing file") << "read-only file";
    QTest::newRow("named pipe") << "fifo";
}

// The protections are the file's and folder's permission bits, so they hold
// when the tests run as root too.
void TestZkXmlFile::saveRefused()
{
    QFETCH(QString, kind);
    const QString folder = m_dir->filePath(QStringLiteral("folder"));
    QVERIFY(QDir().mkpath(folder));
    QString target = folder + QStringLiteral("/sample.xml");
    const QByteArray old = "<sample n=\"1\"/>\n";
    if (kind == QLatin1String("below file")) {
        writeAll(folder + QStringLiteral("/plain.txt"), old);
        target = folder + QStringLiteral("/plain.txt/sample.xml");
    } else if (kind == QLatin1String("missing folder")) {
        target = folder + QStringLiteral("/none/sample.xml");
    } else if (kind == QLatin1String("proc")) {
        target = QStringLiteral("/proc/quirelle-sample.xml");
    } else if (kind == QLatin1String("read-only file")) {
        writeAll(target, old);
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::ReadGroup));
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(target).constData(), 0666), 0);
    }
    if (kind == QLatin1String("read-only folder"))
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));

    SampleFile file;
    file.save(target);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(file.writeCalls, 0);
    struct stat info;
    QCOMPARE(stat(QFile::encodeName(target).constData(), &info) == 0,
             kind == QLatin1String("read-only file") || kind == QLatin1String("fifo"));
    if (kind == QLatin1String("read-only file"))
        QCOMPARE(readAll(target), old);
    if (kind == QLatin1String("fifo"))
        QVERIFY(S_ISFIFO(info.st_mode));
    // No temporary file was left behind either.
    const QStringList left = QDir(folder).entryList(QDir::Files | QDir::System | QDir::Hidden);
    QVERIFY2(left.size() <= 1, qPrintable(left.join(QLatin1Char(' '))));
}

void TestZkXmlFile::saveReplacesWholeFile()
{
    SampleFile file;
    file.texts = manyTexts(500);
    file.save(m_file);
    file.texts = QStringList(QStringLiteral("short"));
    file.save(m_file);

    SampleFile reference;
    reference.texts = file.texts;
    const QString other = m_dir->filePath(QStringLiteral("reference.xml"));
    reference.save(other);
    QCOMPARE(file.writeCalls, 2);
    QCOMPARE(readAll(m_file), readAll(other));
}

void TestZkXmlFile::saveKeepsPermissionsAndLinks()
{
    const QFileDevice::Permissions shared = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    writeAll(m_file, "old");
    QVERIFY(QFile::setPermissions(m_file, shared));
    const QString link = m_dir->filePath(QStringLiteral("link.xml"));
    QVERIFY(QFile::link(m_file, link));

    SampleFile file;
    file.number = 7;
    file.save(link);

    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(loaded(m_file)->number, 7);
    QCOMPARE(QFileInfo(m_file).permissions() & ~QFile::Permissions(0x0F00), shared);
}

// A document left with an open start tag must not bleed into the next one.
void TestZkXmlFile::brokenDocumentDoesNotLeak()
{
    SampleFile file;
    file.writeHook = [](QXmlStreamWriter *writer) {
        writer->writeStartDocument();
        writer->writeStartElement(QStringLiteral("broken"));
        writer->writeAttribute(QStringLiteral("n"), QStringLiteral("1"));
    };
    file.save(m_file);
    file.writeHook = nullptr;
    file.number = 5;
    file.save(m_file);

    QVERIFY(readAll(m_file).startsWith("<?xml"));
    QVERIFY(!readAll(m_file).contains("broken"));
    QCOMPARE(loaded(m_file)->number, 5);
}

void TestZkXmlFile::writerSettingsCarryOver()
{
    SampleFile file;
    file.writeHook = [](QXmlStreamWriter *writer) {
        writer->setCodec("UTF-16LE");
        writer->setAutoFormatting(true);
        writer->setAutoFormattingIndent(2);
    };
    file.save(m_file);
    file.writeHook = [&file](QXmlStreamWriter *writer) {
        file.writeDocument(writer);
    };
    file.save(m_file);

    const QString text = QTextCodec::codecForName("UTF-16LE")->toUnicode(readAll(m_file));
    QVERIFY2(text.contains(QStringLiteral("\n  <color r=\"0\" g=\"0\" b=\"0\"/>\n")),
             qPrintable(text));
}

void TestZkXmlFile::interruptedSaveKeepsOldFile()
{
    SampleFile file;
    file.number = 1;
    file.save(m_file);
    const QByteArray old = readAll(m_file);

    const int status = inChild([&file, this] {
        file.texts = manyTexts(2000);
        file.writeHook = [&file](QXmlStreamWriter *writer) {
            writer->writeStartDocument();
            writer->writeStartElement(QStringLiteral("sample"));
            for (const QString &text : qAsConst(file.texts))
                writer->writeTextElement(QStringLiteral("text"), text);
            static_cast<QFileDevice *>(writer->device())->flush();
            _exit(3); // the power fails half-way through
        };
        file.save(m_file);
    });
    QCOMPARE(status, 3);
    QCOMPARE(readAll(m_file), old);

    file.number = 2;
    file.save(m_file);
    QCOMPARE(loaded(m_file)->number, 2);
}

void TestZkXmlFile::failedWritesKeepOldFile_data()
{
    QTest::addColumn<bool>("retry");
    QTest::addColumn<int>("texts");
    QTest::newRow("disk full") << false << 2000;
    // smaller than the file's write buffer: the error shows only on flushing
    QTest::newRow("disk full, small file") << false << 100;
    QTest::newRow("disk full, then space again") << true << 2000;
}

// A file-size limit makes every write past 1 KiB fail, as a full disk does.
void TestZkXmlFile::failedWritesKeepOldFile()
{
    QFETCH(bool, retry);
    QFETCH(int, texts);
    SampleFile file;
    file.number = 1;
    file.save(m_file);
    const QByteArray old = readAll(m_file);

    const int status = inChild([&file, retry, texts, this] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small = {1024, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        file.number = 2;
        file.texts = manyTexts(texts);
        if (file.save(m_file))
            _exit(1);
        if (retry) {
            setrlimit(RLIMIT_FSIZE, &limit);
            file.number = 3;
            _exit(file.save(m_file) ? 0 : 2);
        }
    });
    QCOMPARE(status, 0);
    if (retry) {
        QCOMPARE(loaded(m_file)->number, 3);
        QVERIFY(readAll(m_file).endsWith("</sample>\n"));
    } else {
        QCOMPARE(readAll(m_file), old);
    }
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

// GB18030 cannot encode an unpaired surrogate; the writer sets its error
// flag and what it wrote is not a document worth keeping.
void TestZkXmlFile::writerErrorKeepsOldFile()
{
    SampleFile file;
    file.number = 1;
    file.save(m_file);
    const QByteArray old = readAll(m_file);

    file.writeHook = [&file](QXmlStreamWriter *writer) {
        writer->setCodec("GB18030");
        file.texts = QStringList(QStringLiteral("half ") + QChar(0xD800) + QStringLiteral(" pair"));
        file.writeDocument(writer);
    };
    file.number = 2;
    QVERIFY(!file.save(m_file));

    QCOMPARE(file.writeCalls, 2);
    QCOMPARE(readAll(m_file), old);
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestZkXmlFile::noRoomNoSave_data()
{
    QTest::addColumn<bool>("fullDisk");
    QTest::newRow("folder takes no temporary file") << false;
    QTest::newRow("full disk") << true;
}

// Rewriting in place would tear the file on a full disk and empty it when
// the program is killed; the file must stay as it was, and say so.
void TestZkXmlFile::noRoomNoSave()
{
    QFETCH(bool, fullDisk);
    QString folder = m_dir->path();
    if (fullDisk) {
        folder = m_dir->filePath(QStringLiteral("small"));
        QVERIFY(QDir().mkpath(folder));
        if (mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=16k") != 0)
            QSKIP("a small file system needs root to mount");
        m_mounted = folder;
    }
    const QString target = folder + QStringLiteral("/sample.xml");
    SampleFile file;
    file.number = 1;
    QVERIFY(file.save(target));
    const QByteArray old = readAll(target);

    const QString filler = folder + QStringLiteral("/filler");
    if (fullDisk) {
        QFile fill(filler);
        QVERIFY(fill.open(QIODevice::WriteOnly));
        while (fill.write(QByteArray(4096, 'x')) > 0 && fill.flush()) {
        }
    } else {
        QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    }
    QSignalSpy failed(&file, &ZkXmlFile::saveFailed);
    file.number = 2;
    file.texts = manyTexts(100);
    QVERIFY(!file.save(target));
    QFile::remove(filler);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(failed.count(), 1);
    QCOMPARE(failed.first().first().toString(), target);
    QCOMPARE(readAll(target), old);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"sample.xml"});
    QVERIFY(file.save(target));
    QCOMPARE(loaded(target)->number, 2);
}

void TestZkXmlFile::cleanup()
{
    if (!m_mounted.isEmpty())
        umount2(QFile::encodeName(m_mounted).constData(), MNT_DETACH);
    m_mounted.clear();
}

QTEST_GUILESS_MAIN(TestZkXmlFile)
#include "tst_zkxmlfile.moc"
