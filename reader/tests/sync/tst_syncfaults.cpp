#include "BookFingerprint.h"
#include "FaultProxy.h"
#include "SyncMachine.h"
#include "WebDavServer.h"

#include <QtTest>

namespace
{

const QString User = QStringLiteral("reader");
const QString Password = QStringLiteral("secret");

int heldPosition(const WebDavServer &server, const QString &record)
{
    SyncRecord held;
    if (SyncRecord::fromXml(server.file(record), &held) != SyncRecord::Reading::Whole)
        return -1;
    return held.position.at;
}

} // namespace

// What a server out there does to the reader, done by a proxy of the test's
// own in front of a real WebDAV server: the server keeps the old record
// whole, the reader keeps the change and says once what happened, the event
// loop keeps turning, and the change arrives once the fault is gone.
class TestSyncFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void nothingIsLost_data();
    void nothingIsLost();
    void eveningOfReading();

private:
    WebDavServer m_server;
};

void TestSyncFaults::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    if (WebDavServer::program(WebDavServer::Rclone).isEmpty())
        QSKIP("rclone is not installed (scripts/install-deps.sh installs it)");
    QVERIFY(m_server.start(WebDavServer::Rclone, User, Password));
}

void TestSyncFaults::nothingIsLost_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<QByteArray>("method"); // the requests hit
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("retrySeconds"); // -1: any
    QTest::addColumn<bool>("waitsForUser");
    QTest::addColumn<bool>("slow"); // the event loop must turn meanwhile

    QTest::newRow("503 with Retry-After") << int(FaultProxy::Busy) << QByteArray("PUT")
                                          << int(SyncStatus::Busy) << 3 << false << false;
    QTest::newRow("connection dropped mid-upload")
        << int(FaultProxy::DropUpload) << QByteArray("PUT") << int(SyncStatus::Unreachable) << -1
        << false << false;
    QTest::newRow("reply stalled past the deadline")
        << int(FaultProxy::Stall) << QByteArray("GET") << int(SyncStatus::Unreachable) << -1
        << false << true;
    QTest::newRow("401") << int(FaultProxy::Unauthorized) << QByteArray()
                         << int(SyncStatus::Unauthorized) << 0 << true << false;
}

void TestSyncFaults::nothingIsLost()
{
    QFETCH(int, fault);
    QFETCH(QByteArray, method);
    QFETCH(int, outcome);
    QFETCH(int, retrySeconds);
    QFETCH(bool, waitsForUser);
    QFETCH(bool, slow);

    FaultProxy proxy(m_server.url());
    proxy.retryAfterSeconds = 3;
    SyncMachine machine;
    SyncTiming timing = SyncMachine::fastTiming();
    timing.requestDeadlineMs = 1000;
    machine.connectTo(proxy.url(), User, Password, timing);
    machine.activate();
    const QString book = machine.book(QStringLiteral("novel-%1.txt").arg(fault),
                                      QByteArray::number(fault).repeated(100000));
    const QString record = "Quirelle/" + BookFingerprint::of(book) + ".xml";
    machine.engine().bookOpened(book);
    machine.read(book, 1000);
    QVERIFY(machine.settle());
    QCOMPARE(heldPosition(m_server, record), 1000);

    proxy.setFault(FaultProxy::Fault(fault), method);
    QSignalSpy told(&machine.engine(), &SyncEngine::statusChanged);
    int turns = 0; // of the event loop, while the fault lasts
    QTimer turn;
    connect(&turn, &QTimer::timeout, [&turns] { ++turns; });
    turn.start(10);
    machine.read(book, 3000);
    machine.engine().flush();
    QTRY_COMPARE_WITH_TIMEOUT(int(machine.engine().status().outcome), outcome, 10000);
    QVERIFY(!slow || turns > 10);
    QCOMPARE(told.count(), 1); // said once, not per failure
    qInfo("the page says: %s", qPrintable(machine.engine().status().text()));
    if (retrySeconds >= 0)
        QCOMPARE(machine.engine().status().retrySeconds, retrySeconds);
    QCOMPARE(machine.engine().status().waiting, 1);
    QVERIFY(!machine.engine().status().text().isEmpty());
    QCOMPARE(heldPosition(m_server, record), 1000); // the old record, whole
    QCOMPARE(machine.reading.position(book), 3000); // the change, kept

    const int seen = proxy.requests.size();
    proxy.setFault(FaultProxy::None);
    if (waitsForUser) {
        QCoreApplication::processEvents();
        QCOMPARE(proxy.requests.size(), seen); // no guessing at a refused password
    }
    // The change waits through a restart, and goes out once the server takes it.
    machine.restart(Password, timing);
    QTRY_COMPARE_WITH_TIMEOUT(heldPosition(m_server, record), 3000, 15000);
    QTRY_COMPARE(machine.engine().status().outcome, SyncStatus::Done);
    QCOMPARE(machine.engine().status().waiting, 0);
    QTRY_COMPARE(m_server.files("Quirelle").filter(".part"), QStringList());
    machine.deactivate();
}

// An evening of two hours with a page turned every minute, in seconds: a
// minute of the evening is 100 ms here, and the batch interval three such
// minutes, as the reader's three real ones. Counts what reaches the server.
void TestSyncFaults::eveningOfReading()
{
    FaultProxy proxy(m_server.url());
    SyncMachine machine;
    SyncTiming timing = SyncMachine::fastTiming();
    const int minute = 100;
    timing.batchMs = 3 * minute;
    machine.connectTo(proxy.url(), User, Password, timing);
    machine.activate();
    const QString book = machine.book(QStringLiteral("evening.txt"), QByteArray(3000000, 'x'));
    machine.engine().bookOpened(book);
    QTRY_VERIFY(machine.engine().isIdle());
    const int opening = proxy.requests.size();

    const int minutes = 120;
    int turned = 0;
    QTimer page;
    connect(&page, &QTimer::timeout, [&] {
        machine.read(book, ++turned * 500);
        if (turned == minutes)
            page.stop();
    });
    page.start(minute);
    QTRY_COMPARE_WITH_TIMEOUT(turned, minutes, 60000);
    machine.engine().bookLeft(book);
    QVERIFY(machine.settle());

    const int reading = proxy.requests.size() - opening;
    QMap<QByteArray, int> methods;
    for (const QByteArray &request : qAsConst(proxy.requests))
        ++methods[request.split(' ').first()];
    QStringList counts;
    for (auto method = methods.cbegin(); method != methods.cend(); ++method)
        counts << QString::fromLatin1(method.key()) + ' ' + QString::number(method.value());
    qInfo("an evening: %d request(s) to start and open the book, %d over %d minutes of reading "
          "and leaving it; in all %s",
          opening, reading, minutes, qPrintable(counts.join(", ")));
    SyncRecord held;
    SyncRecord::fromXml(m_server.file("Quirelle/" + BookFingerprint::of(book) + ".xml"), &held);
    QCOMPARE(held.position.at, minutes * 500);
    QVERIFY2(reading <= minutes * 21 / 20, "more than a request per minute of reading");
    machine.deactivate();
}

QTEST_GUILESS_MAIN(TestSyncFaults)
#include "tst_syncfaults.moc"
