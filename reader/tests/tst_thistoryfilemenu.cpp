#include "Config.h"
#include "MainForm.h"
#include "ProgramConstants.h"

#include "ModalDialogWatcher.h"
#include "TemporaryProgramFolder.h"

#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

// The recent-files menu of a real main window, in an empty program folder.
class TestTHistoryFileMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void init();
    void cleanup() { delete m_window; }
    void opening_data();
    void opening();
    void clearing_data();
    void clearing();
    void restart_data();
    void restart();

private:
    void restartWindow();
    // Each file holds its own name as UTF-16 with a mark, so that only a
    // detecting read shows it right.
    QString open(const QString &name);
    QMenu *menu() { return m_window->findChild<QPushButton *>("btnHistory")->menu(); }
    QStringList listed();
    static QStringList saved();

    QTemporaryDir m_files;
    MainForm *m_window = nullptr;
};

void TestTHistoryFileMenu::init()
{
    QFile::remove(configFilePath());
    Config::fileList.clear();
    m_window = new MainForm;
}

void TestTHistoryFileMenu::restartWindow()
{
    delete m_window;
    Config::fileList.clear();
    m_window = new MainForm;
}

QString TestTHistoryFileMenu::open(const QString &name)
{
    const QString path = m_files.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write("\xFF\xFE");
    file.write(reinterpret_cast<const char *>(name.utf16()), 2 * name.size());
    file.close();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    static_cast<QObject *>(m_window)->event(&drop);
    return path;
}

QStringList TestTHistoryFileMenu::listed()
{
    QStringList texts;
    for (QAction *action : menu()->actions().mid(2))
        texts << action->text();
    return texts;
}

QStringList TestTHistoryFileMenu::saved()
{
    const QStringList inMemory = Config::fileList;
    Config::fileList.clear();
    Config(nullptr).load(configFilePath());
    const QStringList onDisk = Config::fileList;
    Config::fileList = inMemory;
    return onDisk;
}

static QStringList paths(const QTemporaryDir &dir, const QString &names)
{
    QStringList list;
    for (const QString &name : names.split(' ', Qt::SkipEmptyParts))
        list << dir.filePath(name);
    return list;
}

void TestTHistoryFileMenu::opening_data()
{
    QTest::addColumn<QString>("opened");
    QTest::addColumn<int>("chosen"); // entry reopened from the menu afterwards, -1 none
    QTest::addColumn<QString>("expected");

    QString many, newest;
    for (int i = 0; i <= 20; ++i) {
        many += QStringLiteral("f%1 ").arg(i);
        newest.prepend(i ? QStringLiteral("f%1 ").arg(i) : QString());
    }
    QTest::newRow("21 files keep the 20 newest") << many << -1 << newest;
    QTest::newRow("same file twice") << "a b a" << -1 << "a b a";
    QTest::newRow("reopening keeps the order") << "a b c" << 2 << "c b a";
    QTest::newRow("ampersand in the path") << "x&y z" << 1 << "z x&y";
}

void TestTHistoryFileMenu::opening()
{
    QFETCH(QString, opened);
    QFETCH(int, chosen);
    QFETCH(QString, expected);

    for (const QString &name : opened.split(' ', Qt::SkipEmptyParts))
        open(name);
    QCOMPARE(listed(), paths(m_files, expected));
    QCOMPARE(saved(), listed());
    if (chosen < 0)
        return;

    QFile::remove(configFilePath());
    menu()->actions().at(2 + chosen)->trigger();
    const QString name = expected.split(' ').at(chosen);
    QCOMPARE(m_window->findChild<QTextEdit *>("textWidget")->toPlainText(), name);
    QCOMPARE(listed(), paths(m_files, expected));
    QVERIFY(!QFile::exists(configFilePath()));
}

void TestTHistoryFileMenu::clearing_data()
{
    QTest::addColumn<QString>("opened");
    QTest::addColumn<bool>("restarted"); // the list comes from Config.xml
    QTest::addColumn<int>("answer");     // 0 closes the box
    QTest::addColumn<int>("left");

    QTest::newRow("nothing listed asks nothing") << "" << false << int(QMessageBox::Ok) << 0;
    QTest::newRow("cancel keeps") << "a b" << false << int(QMessageBox::Cancel) << 2;
    QTest::newRow("closing keeps") << "a b" << false << 0 << 2;
    QTest::newRow("ok clears") << "a b" << false << int(QMessageBox::Ok) << 0;
    QTest::newRow("restored list clears at once") << "a b" << true << int(QMessageBox::Ok) << 0;
}

void TestTHistoryFileMenu::clearing()
{
    QFETCH(QString, opened);
    QFETCH(bool, restarted);
    QFETCH(int, answer);
    QFETCH(int, left);

    for (const QString &name : opened.split(' ', Qt::SkipEmptyParts))
        open(name);
    if (restarted)
        restartWindow();
    bool cancelIsDefault = false;
    ModalDialogWatcher watcher([&](QDialog *dialog) {
        auto *box = qobject_cast<QMessageBox *>(dialog);
        cancelIsDefault = box->defaultButton() == box->button(QMessageBox::Cancel);
        if (answer)
            box->button(QMessageBox::StandardButton(answer))->click();
        else
            box->reject();
    });
    menu()->actions().first()->trigger();

    QCOMPARE(watcher.seen, opened.isEmpty() ? 0 : 1);
    if (watcher.seen) {
        QCOMPARE(watcher.title, QStringLiteral("清除文件列表"));
        QCOMPARE(watcher.text, QStringLiteral("是否清除文件列表？"));
        QVERIFY(cancelIsDefault);
    }
    QCOMPARE(listed().size(), left);
    QCOMPARE(saved(), listed());
}

void TestTHistoryFileMenu::restart_data()
{
    QTest::addColumn<int>("stored");
    QTest::newRow("three") << 3;
    QTest::newRow("more than 20, edited by hand") << 25;
}

void TestTHistoryFileMenu::restart()
{
    QFETCH(int, stored);
    QStringList list;
    for (int i = 1; i <= stored; ++i)
        list << QStringLiteral("/novels/p%1.txt").arg(i);
    Config::fileList = list;
    Config(nullptr).save(configFilePath());
    restartWindow();

    QCOMPARE(listed(), list.mid(0, 20));
    const QString path = open(QStringLiteral("new"));
    QCOMPARE(listed(), QStringList(path) + list.mid(0, 19));
    QCOMPARE(saved(), listed());
}

QUIRELLE_TEST_MAIN_IN_PROGRAM_FOLDER(TestTHistoryFileMenu)
#include "tst_thistoryfilemenu.moc"
