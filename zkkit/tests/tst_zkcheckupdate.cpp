#include "ZkCheckUpdate.h"

#include "LocalHttpServer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

class TestZkCheckUpdate : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened.append(url.toString()); } // the desktop's browser

private slots:
    void initTestCase() { QDesktopServices::setUrlHandler("http", this, "openUrl"); }
    void replyDecides_data();
    void replyDecides();
    void promptAnswer_data();
    void promptAnswer();

private:
    QStringList m_opened;
};

// Every failure, whatever the server does, ends in update(false). Only the slow servers meet a
// short deadline: an endless body must be stopped by the size cap alone.
void TestZkCheckUpdate::replyDecides_data()
{
    using S = LocalHttpServer;
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<bool>("newer");

    const auto row = [](const char *name, const QByteArray &response, bool newer,
                        S::Behaviour behaviour = S::Answer) {
        QTest::newRow(name) << response << int(behaviour) << newer;
    };
    row("exactly 1", S::reply("1"), true);
    row("text ends at a zero byte", S::reply(QByteArray("1\0junk", 6)), true);
    row("1 and a line feed", S::reply("1\n"), false);
    row("0", S::reply("0"), false);
    row("empty", S::reply(""), false);
    row("HTTP 500", S::reply("1", "500 Internal Server Error"), false);
    row("refused connection", {}, false);
    row("never answers", S::reply("1"), false, S::NeverAnswer);
    row("trickles", S::reply("1" + QByteArray(99, '\0')), false, S::Trickle);
    row("100 MB declared", "HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n", false,
        S::Endless);
    row("endless body", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", false, S::Endless);
    row("over the cap in one piece", S::reply("1" + QByteArray(2000, '\0')), false);
    row("gzip is not inflated", S::reply(gzip("1"), "200 OK", "Content-Encoding: gzip\r\n"), false);
    row("five redirects are followed", S::redirect("/hop4"), true);
    row("six redirects are too many", S::redirect("/hop5"), false);
    row("redirect loop", S::redirect("/ver.php"), false);
}

void TestZkCheckUpdate::replyDecides()
{
    QFETCH(QByteArray, response);
    QFETCH(int, behaviour);
    QFETCH(bool, newer);

    LocalHttpServer server;
    server.route("/ver.php", response, LocalHttpServer::Behaviour(behaviour));
    server.redirectChain(5, LocalHttpServer::reply("1"));
    const QString url = server.url("/ver.php");
    if (response.isEmpty())
        server.close();

    ZkCheckUpdate checker;
    const bool slow =
        behaviour == LocalHttpServer::NeverAnswer || behaviour == LocalHttpServer::Trickle;
    checker.setTimeout(slow ? 400 : 60 * 1000);
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);
    checker.exec(url, "a b", "2012-07-01", "http://page", nullptr, false);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toBool(), newer);

    if (response.isEmpty())
        return;
    const QList<QByteArray> head = server.requests.value(0).split('\n');
    QCOMPARE(head.first(), "GET /ver.php?id=a%20b&&ver=2012-07-01 HTTP/1.1\r");
    QVERIFY(head.contains("Accept-Encoding: identity\r"));
}

void TestZkCheckUpdate::promptAnswer_data()
{
    QTest::addColumn<bool>("showPrompt");
    QTest::addColumn<int>("key"); // pressed in the prompt
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("no prompt asked for") << false << 0 << QStringList();
    QTest::newRow("OK opens the page") << true << int(Qt::Key_O) << QStringList{"http://page/"};
    QTest::newRow("Escape opens nothing") << true << int(Qt::Key_Escape) << QStringList();
    QTest::newRow("Enter means Cancel") << true << int(Qt::Key_Return) << QStringList();
}

void TestZkCheckUpdate::promptAnswer()
{
    QFETCH(bool, showPrompt);
    QFETCH(int, key);
    QFETCH(QStringList, opened);

    LocalHttpServer server;
    server.route("/ver.php", LocalHttpServer::reply("1"));
    QWidget window;
    ZkCheckUpdate checker;
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);
    QStringList seen; // title, text, and whether update() came before the answer
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || !seen.isEmpty())
            return;
        seen << box->windowTitle() << box->text() << QString::number(spy.count());
        QCOMPARE(box->parentWidget(), &window);
        if (key == Qt::Key_O)
            box->button(QMessageBox::Ok)->click();
        else
            QTest::keyClick(box, Qt::Key(key));
    });
    watch.start(10);

    m_opened.clear();
    checker.exec(server.url("/ver.php"), "x", "1", "http://page/", &window, showPrompt);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toBool(), true);
    const QStringList prompt{"更新提示", "有新版本是否查看？", "0"};
    QCOMPARE(seen, showPrompt ? prompt : QStringList());
    QCOMPARE(m_opened, opened);
}

QTEST_MAIN(TestZkCheckUpdate)
#include "tst_zkcheckupdate.moc"
