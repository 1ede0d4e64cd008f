#include "BookFingerprint.h"
#include "SyncMachine.h"
#include "SyncMerge.h"
#include "WebDavServer.h"

#include <QtTest>

namespace
{

const QString User = QStringLiteral("reader");
const QString Password = QStringLiteral("secret 密码");

QByteArray novel()
{
    QByteArray text;
    for (int i = 1; i <= 2000; ++i)
        text += QStringLiteral("第%1行：山间的雾气慢慢散开。\n").arg(i).toUtf8();
    return text;
}

} // namespace

// Two machines keep one book in step through a real WebDAV server that the
// test starts on 127.0.0.1, each machine with its own folder of stores.
class TestSyncProtocol : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void twoMachines_data();
    void twoMachines();
};

void TestSyncProtocol::twoMachines_data()
{
    QTest::addColumn<int>("kind");
    QTest::newRow("rclone") << int(WebDavServer::Rclone);
    QTest::newRow("apache mod_dav") << int(WebDavServer::Apache);
}

void TestSyncProtocol::twoMachines()
{
    QFETCH(int, kind);
    if (WebDavServer::program(WebDavServer::Kind(kind)).isEmpty())
        QSKIP("this server is not installed");
    WebDavServer server;
    QVERIFY(server.start(WebDavServer::Kind(kind), User, Password));

    SyncMachine home, work;
    // The account as typed is tested: the server's own reason, or success.
    QSignalSpy tested(&home.engine(), &SyncEngine::connectionTested);
    home.engine().testConnection(server.url(), User, QStringLiteral("wrong"));
    QTRY_COMPARE(tested.count(), 1);
    QCOMPARE(tested.at(0), (QVariantList{false, QStringLiteral("401 Unauthorized")}));
    home.engine().testConnection(server.url(), User, Password);
    QTRY_COMPARE(tested.count(), 2);
    QCOMPARE(tested.at(1), (QVariantList{true, QStringLiteral("连接成功")}));

    home.connectTo(server.url(), User, Password);
    work.connectTo(server.url(), User, Password);
    const QString atHome = home.book(QStringLiteral("三体.txt"), novel());
    const QString atWork = work.book(QStringLiteral("copy of 三体 (1).txt"), novel());
    const QString fingerprint = BookFingerprint::of(atHome);
    const QString record = QStringLiteral("Quirelle/%1.xml").arg(fingerprint);

    // First sync: read at home, the server gets the record whole.
    home.activate();
    home.engine().bookOpened(atHome);
    QVERIFY(home.settle());
    home.read(atHome, 5000);
    home.addBookmark(atHome, QStringLiteral("第一章"), 1200);
    QVERIFY(home.settle());
    QCOMPARE(home.engine().status().outcome, SyncStatus::Done);
    SyncRecord held;
    QCOMPARE(SyncRecord::fromXml(server.file(record), &held), SyncRecord::Reading::Whole);
    QCOMPARE(held.position.at, 5000);
    QCOMPARE(held.bookmarks.size(), 1);
    QCOMPARE(server.files(QStringLiteral("Quirelle")), QStringList{fingerprint + ".xml"});
    home.deactivate();

    // The second machine opens its copy, under another name: the position
    // and the bookmark arrive.
    work.activate();
    QSignalSpy arrived(&work.engine(), &SyncEngine::positionArrived);
    work.engine().bookOpened(atWork);
    QTRY_COMPARE(arrived.count(), 1);
    QCOMPARE(arrived.first().value(2).toInt(), 5000);
    QCOMPARE(work.reading.position(atWork), 5000);
    QCOMPARE(work.bookmarkTitles(atWork), QStringList{QStringLiteral("第一章@1200")});
    QVERIFY(work.settle());

    // Home reads on without the network; work goes back to the start, later.
    work.deactivate();
    home.activate();
    home.readOffline(atHome, 7000);
    home.deactivate();
    work.activate();
    work.read(atWork, 10);
    QVERIFY(work.settle());
    work.deactivate();

    // Back online, home takes the later position and keeps its own as a
    // bookmark, which work gets too.
    home.activate();
    QVERIFY(home.settle());
    QCOMPARE(home.reading.position(atHome), 10);
    const QString kept = SyncMerge::conflictTitle() + "@7000";
    QCOMPARE(home.bookmarkTitles(atHome), QStringList({kept, QStringLiteral("第一章@1200")}));
    home.removeBookmarks(QStringLiteral("第一章"));
    QVERIFY(home.settle());
    home.deactivate();

    // A removal at home travels as well.
    work.activate();
    work.engine().syncNow();
    QVERIFY(work.settle());
    QCOMPARE(work.reading.position(atWork), 10);
    QCOMPARE(work.bookmarkTitles(atWork), QStringList{kept});
    QCOMPARE(work.engine().status().outcome, SyncStatus::Done);
    // In step, a sync on demand costs one listing of the server.
    const int before = work.engine().requestCount();
    work.engine().syncNow();
    QVERIFY(work.settle());
    QCOMPARE(work.engine().requestCount() - before, 1);
    work.deactivate();
}

QTEST_GUILESS_MAIN(TestSyncProtocol)
#include "tst_syncprotocol.moc"
