#include "Config.h"
#include "MainForm.h"
#include "ProgramConstants.h"

#include "ModalDialogWatcher.h"
#include "TemporaryProgramFolder.h"

#include <QMenu>
#include <QPushButton>
#include <QTextCodec>
#include <QTextEdit>
#include <QtTest>

using namespace TemporaryProgramFolder;

// The recent-files menu of a real main window in an empty program folder.
// Config.xml lists s1 … s<stored> when the window starts; the files opened
// hold their own names in UTF-16 with a mark, which only a detecting read
// shows right.
class TestTHistoryFileMenu : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { delete m_window; }

    void opening_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<int>("chosen"); // the entry reopened afterwards, -1 none
        QTest::addColumn<QString>("expected");
        QString all, newest, restored;
        for (int i = 0; i <= 20; ++i) {
            all += QStringLiteral(" f%1").arg(i);
            newest.prepend(i ? QStringLiteral("f%1 ").arg(i) : QString());
            restored += i && i < 20 ? QStringLiteral(" s%1").arg(i) : QString();
        }
        QTest::newRow("21 files keep the 20 newest") << 0 << all << -1 << newest.trimmed();
        QTest::newRow("reopened moves up, listed once") << 0 << "a b a c" << 1 << "c a b";
        QTest::newRow("ampersand in the path") << 0 << "x&y z" << 1 << "z x&y";
        QTest::newRow("same name in two folders") << 0 << "d1/n d2/n d1/n" << 1 << "d1/n d2/n";
        QTest::newRow("restored list edited to 25") << 25 << "a" << -1 << "a" + restored;
    }

    void opening()
    {
        QFETCH(int, stored);
        QFETCH(QString, opened);
        QFETCH(int, chosen);
        QFETCH(QString, expected);
        start(stored);
        for (const QString &name : opened.split(' ', Qt::SkipEmptyParts)) {
            QDir(m_files.path()).mkpath(QFileInfo(m_files.filePath(name)).path());
            dropFile(m_window, writeFile(m_files.filePath(name), utf16->fromUnicode(name)));
        }
        QCOMPARE(listed(), expected);
        QCOMPARE(shownNames(), expectedNames(expected));
        for (QAction *action : entries())
            QCOMPARE(action->toolTip(), QDir::toNativeSeparators(action->data().toString()));
        QCOMPARE(menu()->actions().constLast()->text(), QString("书架…"));
        QCOMPARE(saved(), listed());
        if (chosen < 0)
            return;

        QFile::remove(configFilePath());
        entries().at(chosen)->trigger();
        QCOMPARE(m_window->findChild<QTextEdit *>()->toPlainText(), expected.split(' ')[chosen]);
        QCOMPARE(listed(), expected);
        QVERIFY(!QFile::exists(configFilePath()));
    }

    void clearing_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("answer"); // 0 closes the box
        QTest::newRow("nothing listed asks nothing") << 0 << int(QMessageBox::Ok);
        QTest::newRow("cancel keeps") << 2 << int(QMessageBox::Cancel);
        QTest::newRow("closing keeps") << 2 << 0;
        QTest::newRow("ok clears a restored list at once") << 2 << int(QMessageBox::Ok);
    }

    void clearing()
    {
        QFETCH(int, stored);
        QFETCH(int, answer);
        start(stored);
        QString asked;
        ModalDialogWatcher watcher([&](QDialog *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            const bool cancelIsDefault = box->defaultButton() == box->button(QMessageBox::Cancel);
            asked = box->windowTitle() + box->text() + (cancelIsDefault ? "" : "!");
            answer ? box->button(QMessageBox::StandardButton(answer))->click() : box->reject();
        });
        menu()->actions().first()->trigger();
        QCOMPARE(asked, QString(stored ? "清除文件列表是否清除文件列表？" : ""));
        QCOMPARE(listed(), QString(answer == QMessageBox::Ok || !stored ? "" : "s1 s2"));
        QCOMPARE(saved(), listed());
    }

private:
    void start(int stored)
    {
        Config::fileList.clear();
        for (int i = 1; i <= stored; ++i)
            Config::fileList << m_files.filePath(QStringLiteral("s%1").arg(i));
        Config(nullptr).save(configFilePath());
        Config::fileList.clear();
        m_window = new MainForm;
    }

    QMenu *menu() const { return m_window->findChild<QPushButton *>("btnHistory")->menu(); }

    QList<QAction *> entries() const
    {
        QList<QAction *> files;
        for (QAction *action : menu()->actions().mid(2)) {
            if (!action->data().toString().isEmpty())
                files << action;
        }
        return files;
    }

    // the listed paths, relative to the folder of the files, as opened
    QString listed() const
    {
        QStringList paths;
        for (QAction *action : entries())
            paths << action->data().toString().remove(m_files.path() + '/');
        return paths.join(' ');
    }

    QString shownNames() const
    {
        QStringList names;
        for (QAction *action : entries())
            names << action->text();
        return names.join(' ');
    }

    // A name alone, and its folder where another listed file has the name.
    static QString expectedNames(const QString &paths)
    {
        const QStringList all = paths.split(' ', Qt::SkipEmptyParts);
        QStringList names;
        for (const QString &path : all) {
            const QString name = QFileInfo(path).fileName();
            const QRegularExpression sameName("(^|/)" + QRegularExpression::escape(name) + "$");
            const bool shared = all.filter(sameName).size() > 1;
            const QString folder = QFileInfo(path).dir().dirName();
            names << (shared ? name + " (" + folder + ")" : name);
        }
        return names.join(' ');
    }

    QString saved() const
    {
        Config::fileList.clear();
        Config(nullptr).load(configFilePath());
        return Config::fileList.replaceInStrings(m_files.path() + '/', QString()).join(' ');
    }

    QTemporaryDir m_files;
    MainForm *m_window = nullptr;
    QTextCodec *const utf16 = QTextCodec::codecForName("UTF-16LE"); // writes a mark
};

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestTHistoryFileMenu)
#include "tst_thistoryfilemenu.moc"
