#include "Config.h"
#include "ProgramConstants.h"

#include <QTextCodec>
#include <QtTest>

namespace
{

QByteArray encoded(const QString &text, const char *codec)
{
    return QTextCodec::codecForName(codec)->fromUnicode(text);
}

// A settings document with the given children under a chosen root.
QByteArray document(const QString &children, const char *codec = "GB18030",
                    const QString &root = QStringLiteral("<Quirelle version=\"2\">"))
{
    const QString name = root.mid(1).section(QRegularExpression(QStringLiteral("[ >]")), 0, 0);
    return encoded(QStringLiteral("<?xml version=\"1.0\" encoding=\"%1\"?>\n").arg(codec) + root +
                       children + QStringLiteral("</") + name + QLatin1Char('>'),
                   codec);
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

QString describe(const QColor &color)
{
    return color.isValid() ? color.name(QColor::HexArgb) : QStringLiteral("invalid");
}

// Every setting in comparable form.
QVariantMap current()
{
    return {{"uiFont", describe(Config::uiFont)},
            {"textFont", describe(Config::textFont)},
            {"textColor", describe(Config::textColor)},
            {"backColor", describe(Config::backColor)},
            {"screen", Config::scrollScreenTime},
            {"page", Config::scrollPageTime},
            {"files", Config::fileList}};
}

void compareSettings(const QVariantMap &actual, const QVariantMap &expected)
{
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(actual.value(it.key()), it.value());
}

QStringList numberedFiles(int count)
{
    QStringList files;
    for (int i = 0; i < count; ++i)
        files << QStringLiteral("D:\\小说\\第%1卷.txt").arg(i);
    return files;
}

QString fileElements(const QStringList &files)
{
    QString xml;
    for (const QString &file : files)
        xml += QStringLiteral("<文件>") + file.toHtmlEscaped() + QStringLiteral("</文件>");
    return QStringLiteral("<文件列表>") + xml + QStringLiteral("</文件列表>");
}

const QString DefaultDocument = QStringLiteral(
    "<?xml version=\"1.0\" encoding=\"GB18030\"?>\n"
    "<Quirelle version=\"2\">\n"
    "    <界面字体 字体=\"宋体\" 大小=\"12\" 字宽=\"50\" 风格=\"0\" 删除线=\"0\" 下划线=\"0\"/>\n"
    "    <文本字体 字体=\"宋体\" 大小=\"12\" 字宽=\"50\" 风格=\"0\" 删除线=\"0\" 下划线=\"0\"/>\n"
    "    <文本颜色 r=\"0\" g=\"0\" b=\"0\"/>\n"
    "    <背景颜色 r=\"255\" g=\"255\" b=\"255\"/>\n"
    "    <自动滚动 滚动时间=\"200\" 翻页时间=\"5\"/>\n"
    "    <文件列表/>\n"
    "</Quirelle>\n");

} // namespace

class TestConfig : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void defaults();
    void writtenDocument_data();
    void writtenDocument();
    void readDocument_data();
    void readDocument();
    void settingsFolder_data();
    void settingsFolder();
    void platformIsTheBuildSystem();
    void bothFilesShareOneFolder();

private:
    void restoreDefaults();

    QVariantMap m_defaults;
    QFont m_defaultFont;
    QScopedPointer<QTemporaryDir> m_dir;
    QString m_file;
};

void TestConfig::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    m_defaults = current();
    m_defaultFont = Config::uiFont;
}

void TestConfig::init()
{
    restoreDefaults();
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    m_file = m_dir->filePath(QStringLiteral("Config.xml"));
}

void TestConfig::restoreDefaults()
{
    Config::uiFont = Config::textFont = m_defaultFont;
    Config::textColor = Qt::black;
    Config::backColor = Qt::white;
    Config::scrollScreenTime = 200;
    Config::scrollPageTime = 5;
    Config::fileList.clear();
}

void TestConfig::defaults()
{
    compareSettings(m_defaults, {{"uiFont", "宋体|12|50|0|0|0"},
                                 {"textFont", "宋体|12|50|0|0|0"},
                                 {"textColor", "#ff000000"},
                                 {"backColor", "#ffffffff"},
                                 {"screen", 200},
                                 {"page", 5},
                                 {"files", QStringList()}});
    QCOMPARE(current(), m_defaults);
}

void TestConfig::writtenDocument_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("expected");
    QTest::newRow("defaults") << QStringList() << DefaultDocument;

    QString changed = DefaultDocument;
    changed.replace(QStringLiteral("<文本颜色 r=\"0\""), QStringLiteral("<文本颜色 r=\"255\""));
    changed.replace(QStringLiteral("<文本字体 字体=\"宋体\" 大小=\"12\" 字宽=\"50\" 风格=\"0\""),
                    QStringLiteral("<文本字体 字体=\"宋体\" 大小=\"12\" 字宽=\"75\" 风格=\"1\""));
    changed.replace(QStringLiteral("    <文件列表/>\n"),
                    QStringLiteral("    <文件列表>\n"
                                   "        <文件>C:\\a &amp; b\\&lt;c&gt;.txt</文件>\n"
                                   "        <文件>/书/&quot;𠀀😀&quot;.txt</文件>\n"
                                   "    </文件列表>\n"));
    QTest::newRow("red text, bold italic, marked-up paths")
        << QStringList{QStringLiteral("C:\\a & b\\<c>.txt"), QStringLiteral("/书/\"𠀀😀\".txt")}
        << changed;
}

void TestConfig::writtenDocument()
{
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    if (!files.isEmpty()) {
        Config::textColor = QColor(255, 0, 0);
        Config::textFont.setBold(true);
        Config::textFont.setItalic(true);
    }
    Config::fileList = files;
    const QVariantMap written = current();

    Config config;
    config.save(m_file);
    QFile file(m_file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(QTextCodec::codecForName("GB18030")->toUnicode(bytes), expected);
    QCOMPARE(bytes, encoded(expected, "GB18030"));

    restoreDefaults();
    config.load(m_file);
    QCOMPARE(current(), written);
}

void TestConfig::readDocument_data()
{
    // Every row is read over the defaults and a one-entry recent-file list.
    QTest::addColumn<QByteArray>("content"); // a null array means no file at all
    QTest::addColumn<QVariantMap>("changes");
    const QVariantMap none;
    const QVariantMap screen1{{"screen", 1}};
    const QString scroll1 = QStringLiteral("<自动滚动 滚动时间=\"1\"/>");
    const QStringList files3{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    const QStringList odd{QStringLiteral("C:\\a&b.txt"), QStringLiteral("<i>\"x\"</i>"),
                          QStringLiteral("𠀀\U0001F600\u00E9")};

    QTest::newRow("missing file") << QByteArray() << none;
    QTest::newRow("empty file") << QByteArray("") << none;
    QTest::newRow("not XML") << QByteArray("Quirelle 宋体 12\n\x01\xff") << none;
    QTest::newRow("other root") << document(scroll1, "GB18030", "<Other>") << none;
    QTest::newRow("other root, version 3")
        << document(scroll1, "GB18030", "<Other version=\"3\">") << none;
    QTest::newRow("Quirelle, version 3")
        << document(scroll1, "GB18030", "<Quirelle version=\"3\">") << screen1;
    QTest::newRow("other root, version 2")
        << document(scroll1, "GB18030", "<Other version=\"2\">") << screen1;
    QTest::newRow("other root, version 1")
        << document(scroll1, "GB18030", "<Other version=\"1\">") << screen1;
    QTest::newRow("old root name") << document(scroll1, "GB18030", "<Quirel>") << screen1;
    QTest::newRow("scroll time only")
        << document("<自动滚动 滚动时间=\"350\"/>") << QVariantMap{{"screen", 350}};
    QTest::newRow("three files") << document(fileElements(files3))
                                 << QVariantMap{{"files", files3}};
    QTest::newRow("empty file list")
        << document("<文件列表/>") << QVariantMap{{"files", QStringList()}};
    QTest::newRow("strangers in the file list")
        << document("<文件列表><文件>a</文件><路径>x</路径><文件>b<i>c</i></文件></文件列表>")
        << QVariantMap{{"files", QStringList{"a", "b"}}};
    QTest::newRow("duplicated elements")
        << document("<界面字体 大小=\"14\"/><自动滚动 滚动时间=\"350\"/>"
                    "<界面字体 字宽=\"75\"/><自动滚动 翻页时间=\"9\"/>" +
                    fileElements({"a"}) + fileElements({"b"}))
        << QVariantMap{{"uiFont", "宋体|14|75|0|0|0"},
                       {"screen", 350},
                       {"page", 9},
                       {"files", QStringList{"b"}}};
    QTest::newRow("bad numbers") << document(
                                        "<自动滚动 滚动时间=\"fast\" 翻页时间=\"7.5\"/>"
                                        "<文本字体 大小=\"-12\" 字宽=\"99999999999\" 风格=\"1x\"/>"
                                        "<界面字体 大小=\"0\"/><背景颜色 r=\"2e2\" g=\"\"/>")
                                 << none;
    QTest::newRow("colour components out of range")
        << document("<文本颜色 r=\"300\" g=\"-1\" b=\"128\"/><背景颜色 r=\"256\" g=\"0\"/>")
        << QVariantMap{{"textColor", "#ff000080"}, {"backColor", "#ffff00ff"}};
    QByteArray cut = document("<界面字体 大小=\"20\"/><文本颜色 r=\"255\"/><背景颜色 r=\"1\"/>");
    QTest::newRow("truncated after the colours")
        << cut.left(cut.indexOf(encoded("<背景颜色", "GB18030")) + 8)
        << QVariantMap{{"uiFont", "宋体|20|50|0|0|0"}, {"textColor", "#ffff0000"}};
    cut = document("<自动滚动 翻页时间=\"8\"/>" + fileElements({"a", "/home/user/book.txt"}));
    QTest::newRow("truncated inside the file list")
        << cut.left(cut.indexOf("/book")) << QVariantMap{{"page", 8}, {"files", QStringList{"a"}}};
    const QString mixed = QStringLiteral("<自动滚动 滚动时间=\"360\"/>") + fileElements(odd);
    const QVariantMap mixedRead{{"screen", 360}, {"files", odd}};
    QTest::newRow("GB18030, markup and non-BMP paths") << document(mixed) << mixedRead;
    QTest::newRow("UTF-8") << document(mixed, "UTF-8") << mixedRead;
    QTest::newRow("UTF-16 with byte-order mark") << document(mixed, "UTF-16") << mixedRead;
    QTest::newRow("UTF-16BE without byte-order mark") << document(mixed, "UTF-16BE") << mixedRead;
    QTest::newRow("thousands of files") << document(fileElements(numberedFiles(5000)))
                                        << QVariantMap{{"files", numberedFiles(5000)}};
    QTest::newRow("deeply nested unknown elements")
        << document(QStringLiteral("<x a=\"1\">").repeated(20000) + "<自动滚动 滚动时间=\"999\"/>" +
                    QStringLiteral("</x>").repeated(20000) + scroll1)
        << screen1;
}

void TestConfig::readDocument()
{
    QFETCH(QByteArray, content);
    QFETCH(QVariantMap, changes);
    if (!content.isNull()) {
        QFile file(m_file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    Config::fileList = QStringList(QStringLiteral("kept"));
    QVariantMap expected = current();
    for (auto it = changes.cbegin(); it != changes.cend(); ++it)
        expected[it.key()] = it.value();

    Config config;
    config.load(m_file);
    compareSettings(current(), expected);
    if (QTest::currentTestFailed())
        return;

    // Whatever was read, the next save writes a whole, well-formed document
    // that brings back exactly the same settings.
    config.save(m_file);
    QFile saved(m_file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QXmlStreamReader reader(&saved);
    while (!reader.atEnd())
        reader.readNext();
    QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
    restoreDefaults();
    config.load(m_file);
    compareSettings(current(), expected);
}

void TestConfig::settingsFolder_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("keepsProgramFolder");
    QTest::newRow("writable program folder") << "writable" << true;
    QTest::newRow("program folder protected") << "read-only" << false;
    QTest::newRow("program folder under /proc") << "proc" << false;
    QTest::newRow("program folder missing") << "missing" << false;
    // An installed program is told apart by its translations, which lie in
    // the shared data folder instead of beside it.
    QTest::newRow("installed under a writable prefix") << "installed" << false;
    QTest::newRow("unpacked with its own translations") << "unpacked" << true;
}

// The protection is read from the permission bits, so it holds for root.
void TestConfig::settingsFolder()
{
    QFETCH(QString, kind);
    QFETCH(bool, keepsProgramFolder);
    QString program = m_dir->filePath(QStringLiteral("program"));
    QVERIFY(QDir().mkpath(program));
    if (kind == QLatin1String("read-only")) {
        // Saved there while the folder was writable, and protected since.
        Config::scrollScreenTime = 654;
        QVERIFY(Config().save(program + QStringLiteral("/Config.xml")));
        QVERIFY(QFile::setPermissions(program + QStringLiteral("/Config.xml"), QFile::ReadOwner));
        QVERIFY(QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner));
    } else if (kind == QLatin1String("proc"))
        program = QStringLiteral("/proc");
    else if (kind == QLatin1String("missing"))
        program += QStringLiteral("/gone");
    else if (kind == QLatin1String("installed") || kind == QLatin1String("unpacked")) {
        program = m_dir->filePath(QStringLiteral("prefix/bin"));
        QVERIFY(QDir().mkpath(m_dir->filePath(QStringLiteral("prefix/share/quirelle/Locale"))));
        QVERIFY(QDir().mkpath(
            kind == QLatin1String("unpacked") ? program + QStringLiteral("/Locale") : program));
    }

    const QString userFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir(userFolder).removeRecursively();
    const QString chosen = settingsDirPath(program);
    QFile::setPermissions(m_dir->filePath(QStringLiteral("program")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    QCOMPARE(chosen, keepsProgramFolder ? program : userFolder);
    restoreDefaults();
    Config().load(chosen + QStringLiteral("/Config.xml"));
    QCOMPARE(Config::scrollScreenTime, kind == QLatin1String("read-only") ? 654 : 200);
    // The chosen folder takes a save at once.
    Config::scrollScreenTime = 321;
    Config().save(chosen + QStringLiteral("/Config.xml"));
    restoreDefaults();
    Config().load(chosen + QStringLiteral("/Config.xml"));
    QCOMPARE(Config::scrollScreenTime, 321);
    if (!keepsProgramFolder)
        QDir(userFolder).removeRecursively();
}

void TestConfig::platformIsTheBuildSystem()
{
#ifdef Q_OS_LINUX
    QCOMPARE(PlatformName, QStringLiteral("Linux ") + QSysInfo::buildCpuArchitecture());
#endif
}

void TestConfig::bothFilesShareOneFolder()
{
    const QFileInfo config(configFilePath());
    const QFileInfo bookmark(bookmarkFilePath());
    QCOMPARE(config.fileName(), QStringLiteral("Config.xml"));
    QCOMPARE(bookmark.fileName(), QStringLiteral("Bookmark.xml"));
    QCOMPARE(config.path(), bookmark.path());
    // Whatever the test program's folder allows, the run sticks to one choice.
    QCOMPARE(config.path(), settingsDirPath(QCoreApplication::applicationDirPath()));
    QCOMPARE(localeDirPath(), QCoreApplication::applicationDirPath() + QStringLiteral("/Locale"));
}

QTEST_MAIN(TestConfig)
#include "tst_config.moc"
