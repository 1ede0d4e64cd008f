#include "ZkTextEditHelper.h"

#include <QtTest>

#include <QAction>
#include <QActionGroup>
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
        m_helper = std::make_unique<ZkTextEditHelper>(); // let go of the old editor first
        m_edit = std::make_unique<QTextEdit>(QStringLiteral("alpha beta gamma"));
        m_helper->setTextEditWidget(m_edit.get());
    }

    void formatsWordUnderCursor_data()
    {
        QTest::addColumn<QString>("commands"); // action names, or "size:<text>"
        QTest::addColumn<int>("property");
        QTest::addColumn<QVariant>("value"); // invalid: the property stays unset
        const int weight = QTextFormat::FontWeight, size = QTextFormat::FontPointSize;
        QTest::newRow("bold") << "bold" << weight << QVariant(int(QFont::Bold));
        QTest::newRow("unchecked: normal, not thin")
            << "bold bold" << weight << QVariant(int(QFont::Normal));
        QTest::newRow("italic") << "italic" << int(QTextFormat::FontItalic) << QVariant(true);
        QTest::newRow("underline") << "underline" << int(QTextFormat::TextUnderlineStyle)
                                   << QVariant(int(QTextCharFormat::SingleUnderline));
        QTest::newRow("size 10.5") << "size:10.5" << size << QVariant(10.5);
        QTest::newRow("size 0") << "size:0" << size << QVariant();
        QTest::newRow("size -3") << "size:-3" << size << QVariant();
        QTest::newRow("size abc") << "size:abc" << size << QVariant();
        QTest::newRow("size inf") << "size:inf" << size << QVariant();
    }

    // With the cursor inside "beta" and no selection the command reaches
    // the whole word and the letter typed next, and nothing else.
    void formatsWordUnderCursor()
    {
        QFETCH(QString, commands);
        QFETCH(int, property);
        QFETCH(QVariant, value);
        const QTextCharFormat plain = formatAt(0);
        QTextCursor cursor = m_edit->textCursor();
        cursor.setPosition(8);
        m_edit->setTextCursor(cursor);
        const QHash<QString, QAction *> actions = {{"bold", m_helper->m_boldAction},
                                                   {"italic", m_helper->m_italicAction},
                                                   {"underline", m_helper->m_underlineAction}};
        for (const QString &command : commands.split(QLatin1Char(' ')))
            command.startsWith("size:") ? m_helper->setCurrentFontSize(command.mid(5))
                                        : actions.value(command)->trigger();
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
        const QList<Qt::Alignment> expected = {Qt::AlignLeft | Qt::AlignAbsolute, Qt::AlignHCenter,
                                               Qt::AlignRight | Qt::AlignAbsolute,
                                               Qt::AlignJustify};
        m_edit->setPlainText(QStringLiteral("one\ntwo"));
        m_edit->moveCursor(QTextCursor::End);
        m_helper->m_alignCenterAction->trigger();
        for (int i = 0; i < expected.size(); ++i) {
            m_edit->moveCursor(QTextCursor::Start);
            m_helper->m_alignGroup->actions().at(i)->trigger();
            QCOMPARE(m_edit->alignment(), expected.at(i));
            m_edit->moveCursor(QTextCursor::End);
            QCOMPARE(m_helper->m_alignGroup->checkedAction(), m_helper->m_alignCenterAction);
            m_edit->moveCursor(QTextCursor::Start);
            QCOMPARE(m_helper->m_alignGroup->checkedAction(), m_helper->m_alignGroup->actions()[i]);
        }
    }

    void enabledStates()
    {
        const auto enabled = [this] { // undo, redo, cut, copy
            QString states;
            for (QAction *action : {m_helper->m_undoAction, m_helper->m_redoAction,
                                    m_helper->m_cutAction, m_helper->m_copyAction})
                states += action->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
            return states;
        };
        m_edit->clear();
        QCOMPARE(enabled(), QStringLiteral("0000"));
        QTest::keyClicks(m_edit.get(), QStringLiteral("ab"));
        QCOMPARE(enabled(), QStringLiteral("1000"));
        m_helper->m_undoAction->trigger();
        QCOMPARE(enabled(), QStringLiteral("0100"));
        m_helper->m_redoAction->trigger();
        m_edit->selectAll();
        QCOMPARE(enabled(), QStringLiteral("1011"));
        m_edit->moveCursor(QTextCursor::End);
        QCOMPARE(enabled(), QStringLiteral("1000"));

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
        const QString traditional = QStringLiteral(
            "話說天下大勢，分久必合，合久必分。\n周末七國分爭，並入於秦。及秦滅之後，楚、漢分爭。");
        QTest::newRow("HTML, UTF-8 without charset")
            << QStringLiteral("<b>中文</b>\nnext").toUtf8() << QStringLiteral("中文 next");
        QTest::newRow("UTF-8") << chinese.toUtf8() << chinese;
        QTest::newRow("GB18030") << QTextCodec::codecForName("GB18030")->fromUnicode(chinese)
                                 << chinese;
        QTest::newRow("UTF-16 LE, decoded whole")
            << QTextCodec::codecForName("UTF-16LE")->fromUnicode(chinese) << chinese; // marked
        QTest::newRow("zero byte shows, every byte kept")
            << QByteArray("alpha beta\0gamma delta", 22)
            << QStringLiteral("alpha beta\xfffdgamma delta");
        QTest::newRow("Big5") << QTextCodec::codecForName("Big5")->fromUnicode(traditional)
                              << traditional;
        QTest::newRow("HTML in neither UTF-8 nor GB18030")
            << QByteArray("<b>caf\xe9</b>") << QStringLiteral("café");
    }

    // A file that cannot be opened changes nothing; a new file forgets the name.
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

        m_edit->append(QStringLiteral("more"));
        m_helper->newFile(QStringLiteral("ignored.html"));
        QVERIFY(m_edit->document()->isEmpty() && !m_edit->document()->isModified());
        QCOMPARE(m_helper->m_fileName, QString());
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
        QTest::newRow("pdf, no suffix") << "a" << true << "a.pdf" << QByteArray("%PDF");
        QTest::newRow("pdf, other suffix") << "a.out" << true << "a.out" << QByteArray("%PDF");
    }

    // The file name is left to the owner, whatever is written.
    void writeFiles()
    {
        QFETCH(QString, name);
        QFETCH(bool, pdf);
        QFETCH(QString, written);
        QFETCH(QByteArray, start);
        m_helper->setCurrentFileName(QStringLiteral("before.html"));
        m_edit->document()->setModified(true);

        if (pdf)
            m_helper->exportPdf(path(name));
        else
            QCOMPARE(m_helper->saveFile(path(name)), !written.isEmpty());
        QCOMPARE(m_edit->document()->isModified(), pdf || written.isEmpty());
        QCOMPARE(m_helper->m_fileName, QStringLiteral("before.html"));
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden),
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
        rlimit limit, small;
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        small = {1024, limit.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const bool saved = m_helper->saveFile(path(QStringLiteral("keep.html")));
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limit), 0);

        QVERIFY(!saved && m_edit->document()->isModified());
        QFile old(path(QStringLiteral("keep.html")));
        QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "old");
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }
};

QTEST_MAIN(TestZkTextEditHelper)
#include "tst_zktextedithelper.moc"
