#include "ZkTextEditHelper.h"

#include <QtTest>

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QTextCodec>
#include <QTextEdit>

#include <memory>
#include <signal.h>
#include <sys/resource.h>

class TestZkTextEditHelper : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QTextEdit> m_edit;
    std::unique_ptr<ZkTextEditHelper> m_helper;

    QString path(const QString &name) const { return m_dir->filePath(name); }
    QTextCharFormat formatAt(int position) // of the character at position
    {
        QTextCursor cursor(m_edit->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_helper.reset();
        m_edit = std::make_unique<QTextEdit>();
        m_helper = std::make_unique<ZkTextEditHelper>();
        m_helper->setTextEditWidget(m_edit.get());
        m_edit->setPlainText(QStringLiteral("alpha beta gamma"));
    }

    void formatsWordUnderCursor_data()
    {
        QTest::addColumn<QString>("command"); // actions to trigger, or a slot
        QTest::addColumn<QVariant>("argument");
        QTest::addColumn<int>("property");
        QTest::addColumn<QVariant>("value"); // invalid: the property stays unset

        const int size = QTextFormat::FontPointSize;
        const char *setSize = "setCurrentFontSize";
        QTest::newRow("bold") << "bold" << QVariant() << int(QTextFormat::FontWeight)
                              << QVariant(int(QFont::Bold));
        QTest::newRow("bold unchecked: normal, not thin")
            << "bold bold" << QVariant() << int(QTextFormat::FontWeight)
            << QVariant(int(QFont::Normal));
        QTest::newRow("italic") << "italic" << QVariant() << int(QTextFormat::FontItalic)
                                << QVariant(true);
        QTest::newRow("underline")
            << "underline" << QVariant() << int(QTextFormat::TextUnderlineStyle)
            << QVariant(int(QTextCharFormat::SingleUnderline));
        QTest::newRow("size 10.5") << setSize << QVariant("10.5") << size << QVariant(10.5);
        QTest::newRow("size 0") << setSize << QVariant("0") << size << QVariant();
        QTest::newRow("size -3") << setSize << QVariant("-3") << size << QVariant();
        QTest::newRow("size abc") << setSize << QVariant("abc") << size << QVariant();
        QTest::newRow("size inf") << setSize << QVariant("inf") << size << QVariant();
        QTest::newRow("family") << "setCurrentFontFamily" << QVariant("Serif")
                                << int(QTextFormat::FontFamily) << QVariant("Serif");
        QTest::newRow("colour") << "setCurrentFontColor" << QVariant(QColor(Qt::red))
                                << int(QTextFormat::ForegroundBrush) << QVariant(QBrush(Qt::red));
    }

    // With the cursor inside "beta" and no selection the command reaches
    // the whole word and the letter typed next, and nothing else.
    void formatsWordUnderCursor()
    {
        QFETCH(QString, command);
        QFETCH(QVariant, argument);
        QFETCH(int, property);
        QFETCH(QVariant, value);
        const QTextCharFormat plain = formatAt(0);
        QTextCursor cursor = m_edit->textCursor();
        cursor.setPosition(8);
        m_edit->setTextCursor(cursor);

        const QHash<QString, QAction *> actions = {{"bold", m_helper->m_boldAction},
                                                   {"italic", m_helper->m_italicAction},
                                                   {"underline", m_helper->m_underlineAction}};
        for (const QString &name : command.split(QLatin1Char(' ')))
            if (QAction *action = actions.value(name))
                action->trigger();
        if (argument.isValid())
            QVERIFY(QMetaObject::invokeMethod(
                m_helper.get(), qPrintable(command),
                QGenericArgument(argument.typeName(), argument.constData())));
        QTest::keyClicks(m_edit.get(), QStringLiteral("x"));

        QCOMPARE(m_edit->toPlainText(), QStringLiteral("alpha bexta gamma"));
        for (int i = 6; i < 11; ++i)
            QCOMPARE(formatAt(i).property(property), value);
        QCOMPARE(formatAt(0), plain);
        QCOMPARE(formatAt(12), plain);
        QCOMPARE(m_helper->m_boldAction->isChecked(), formatAt(8).fontWeight() > QFont::Normal);
    }

    // The alignment goes to the cursor's paragraph, and the checked action
    // follows the cursor from paragraph to paragraph.
    void alignment()
    {
        const QList<QAction *> actions = m_helper->m_alignGroup->actions();
        const QList<Qt::Alignment> expected = {Qt::AlignLeft | Qt::AlignAbsolute, Qt::AlignHCenter,
                                               Qt::AlignRight | Qt::AlignAbsolute,
                                               Qt::AlignJustify};
        m_edit->setPlainText(QStringLiteral("one\ntwo"));
        m_edit->moveCursor(QTextCursor::End);
        m_helper->m_alignCenterAction->trigger();
        for (int i = 0; i < actions.size(); ++i) {
            m_edit->moveCursor(QTextCursor::Start);
            actions.at(i)->trigger();
            QCOMPARE(m_edit->alignment(), expected.at(i));
            m_edit->moveCursor(QTextCursor::End);
            QCOMPARE(m_helper->m_alignGroup->checkedAction(), m_helper->m_alignCenterAction);
            m_edit->moveCursor(QTextCursor::Start);
            QCOMPARE(m_helper->m_alignGroup->checkedAction(), actions.at(i));
        }
    }

    void enabledStates()
    {
        m_edit->clear();
        const auto enabled = [](QAction *a, QAction *b) {
            return a->isEnabled() + b->isEnabled();
        };
        QCOMPARE(enabled(m_helper->m_undoAction, m_helper->m_redoAction), 0);
        QCOMPARE(enabled(m_helper->m_cutAction, m_helper->m_copyAction), 0);
        QTest::keyClicks(m_edit.get(), QStringLiteral("ab"));
        QVERIFY(m_helper->m_undoAction->isEnabled());
        m_helper->m_undoAction->trigger();
        QVERIFY(m_helper->m_redoAction->isEnabled());
        m_helper->m_redoAction->trigger();
        QVERIFY(!m_helper->m_redoAction->isEnabled());
        m_edit->selectAll();
        QCOMPARE(enabled(m_helper->m_cutAction, m_helper->m_copyAction), 2);
        m_edit->moveCursor(QTextCursor::End);
        QCOMPARE(enabled(m_helper->m_cutAction, m_helper->m_copyAction), 0);

        auto *picture = new QMimeData;
        picture->setImageData(QImage(2, 2, QImage::Format_RGB32));
        QApplication::clipboard()->setMimeData(picture);
        QTRY_VERIFY(!m_helper->m_pasteAction->isEnabled());
        QApplication::clipboard()->setText(QStringLiteral("words"));
        QTRY_VERIFY(m_helper->m_pasteAction->isEnabled());
    }

    void openFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QString chinese = QStringLiteral("纸上得来\n终觉浅");
        const QByteArray utf16(reinterpret_cast<const char *>(chinese.utf16()),
                               chinese.size() * 2); // little-endian on this machine
        QTest::newRow("HTML tag in the first line")
            << QByteArray("<b>bold</b> words\nnext") << QStringLiteral("bold words next");
        QTest::newRow("HTML, UTF-8 without charset")
            << QStringLiteral("<p>中文</p>").toUtf8() << QStringLiteral("中文");
        QTest::newRow("UTF-8") << chinese.toUtf8() << chinese;
        QTest::newRow("UTF-8 with mark") << "\xEF\xBB\xBF" + chinese.toUtf8() << chinese;
        QTest::newRow("GB18030") << QTextCodec::codecForName("GB18030")->fromUnicode(chinese)
                                 << chinese;
        QTest::newRow("UTF-16 LE, decoded whole") << "\xFF\xFE" + utf16 << chinese;
        QTest::newRow("zero byte ends the text") << QByteArray("abc\0def", 7) << "abc";
    }

    void openFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        writeFile(QStringLiteral("in.txt"), bytes);
        QVERIFY(!m_helper->openFile(path(QStringLiteral("missing.txt"))));
        QCOMPARE(m_edit->toPlainText(), QStringLiteral("alpha beta gamma"));

        QVERIFY(m_helper->openFile(path(QStringLiteral("in.txt"))));
        QCOMPARE(m_edit->toPlainText(), text);
        QCOMPARE(m_helper->m_fileName, path(QStringLiteral("in.txt")));
        QVERIFY(!m_edit->document()->isModified());
    }

    void writeFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("pdf");        // exportPdf, else saveFile
        QTest::addColumn<QString>("written"); // empty: no file at all
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("html") << "a.html" << false << "a.html" << QByteArray("<!DOCTYPE HTML");
        QTest::newRow("htm in capitals") << "a.HTM" << false << "a.HTM" << QByteArray("<!DOCTYPE");
        QTest::newRow("plain text") << "a.txt" << false << "a.txt" << QByteArray("alpha beta");
        QTest::newRow("OpenDocument") << "a.odt" << false << "a.odt" << QByteArray("PK");
        QTest::newRow("unknown suffix") << "a.xyz" << false << QString() << QByteArray();
        QTest::newRow("no suffix") << "a" << false << QString() << QByteArray();
        QTest::newRow("no name") << QString() << false << QString() << QByteArray();
        QTest::newRow("pdf, no suffix") << "a" << true << "a.pdf" << QByteArray("%PDF");
        QTest::newRow("pdf, other suffix") << "a.out" << true << "a.out" << QByteArray("%PDF");
        QTest::newRow("pdf, no name") << QString() << true << QString() << QByteArray();
        QTest::newRow("pdf, missing folder") << "no/a" << true << QString() << QByteArray();
    }

    void writeFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, pdf);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        m_helper->setCurrentFileName(QStringLiteral("before.html"));
        m_edit->document()->setModified(true);

        const QString target = name.isEmpty() ? name : path(name);
        if (pdf)
            m_helper->exportPdf(target);
        else
            QCOMPARE(m_helper->saveFile(target), !written.isEmpty());
        QCOMPARE(m_edit->document()->isModified(), pdf || written.isEmpty());
        QCOMPARE(m_helper->m_fileName, QStringLiteral("before.html"));
        QCOMPARE(
            QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            written.isEmpty() ? QStringList() : QStringList(written));
        QFile file(path(written));
        QVERIFY(written.isEmpty() ||
                (file.open(QIODevice::ReadOnly) && file.readAll().startsWith(start)));
    }

    // A disk that fills up while saving must neither destroy the old file
    // nor be reported as a successful save.
    void failedSaveKeepsOldFile()
    {
        writeFile(QStringLiteral("keep.html"), "old");
        m_edit->setPlainText(QString(5000, QLatin1Char('x')));
        m_edit->document()->setModified(true);

        signal(SIGXFSZ, SIG_IGN);
        rlimit limit;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small = {1024, limit.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = m_helper->saveFile(path(QStringLiteral("keep.html")));
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);

        QVERIFY(!saved);
        QVERIFY(m_edit->document()->isModified());
        QFile old(path(QStringLiteral("keep.html")));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void newFile()
    {
        m_helper->setCurrentFileName(path(QStringLiteral("old.html")));
        m_edit->append(QStringLiteral("more"));
        m_helper->newFile(QStringLiteral("ignored.html"));
        QVERIFY(m_edit->document()->isEmpty());
        QCOMPARE(m_helper->m_fileName, QString());
        QVERIFY(!m_edit->document()->isModified());
    }
};

QTEST_MAIN(TestZkTextEditHelper)
#include "tst_zktextedithelper.moc"
