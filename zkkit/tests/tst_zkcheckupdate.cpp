#include "ZkCheckUpdate.h"

#include "LocalHttpServer.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QPushButton>

class TestZkCheckUpdate : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened << url.toString(); } // the desktop's browser

private slots:
    void initTestCase() { QDesktopServices::setUrlHandler("http", this, "openUrl"); }
    void replyDecides_data();
    void replyDecides();
    void promptAnswer_data();
    void promptAnswer();
    void goodAfterHostile_data();
    void goodAfterHostile();

private:
    QStringList m_opened;
};

// Every failure, whatever the server does, ends in update(false).
void TestZkCheckUpdate::replyDecides_data()
{
    using S = LocalHttpServer;
    S::columns();
    S::row("exactly 1", S::reply("1"), true);
    S::row("text ends at a zero byte", S::reply(QByteArray("1\0junk", 6)), true);
    S::row("1 and a line feed", S::reply("1\n"), false);
    S::row("0", S::reply("0"), false);
    S::row("empty", S::reply(""), false);
    S::row("HTTP 500", S::reply("1", "500 Internal Server Error"), false);
    S::row("refused connection", {}, false);
    S::row("never answers", S::reply("1"), false, S::NeverAnswer);
    S::row("trickles", S::reply("1" + QByteArray(99, '\0')), false, S::Trickle);
    S::row("100 MB declared", "HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n", false,
           S::Endless);
    S::row("endless body", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", false, S::Endless);
    S::row("endless chunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n", false,
           S::EndlessChunks);
    S::row("endless head", "HTTP/1.1 200 OK\r\n", false, S::EndlessHead);
    S::row("chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1\r\n1\r\n0\r\n\r\n",
           true);
    S::row("garbage", "\xff\x01garbage\r\n\r\n", false);
    S::row("gzip is not inflated", S::reply(gzip("1"), "200 OK", "Content-Encoding: gzip\r\n"),
           false);
    S::row("five redirects are followed", S::redirect("/hop4"), true);
    S::row("six redirects are too many", S::redirect("/hop5"), false);
    S::row("redirect loop", S::redirect("/ver.php"), false);
}

void TestZkCheckUpdate::replyDecides()
{
    QFETCH(bool, taken);
    LocalHttpServer server;
    for (int i = 5; i > 0; --i) // /hopN is N redirects away from "1"
        server.route("/hop" + QByteArray::number(i),
                     server.redirect("/hop" + QByteArray::number(i - 1)));
    server.route("/hop0", server.reply("1"));
    ZkCheckUpdate checker;
    checker.setTimeout(server.serveRow("/ver.php"));
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);
    checker.exec(server.url("/ver.php"), "a b", "2012-07-01", "http://page", nullptr, false);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toBool(), taken);
    if (server.isListening())
        QCOMPARE(server.requestLines.value(0), "GET /ver.php?id=a%20b&&ver=2012-07-01 HTTP/1.1");
}

void TestZkCheckUpdate::promptAnswer_data()
{
    QTest::addColumn<bool>("showPrompt");
    QTest::addColumn<int>("key"); // pressed in the prompt, 0 clicks OK
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("no prompt asked for") << false << 0 << QStringList();
    QTest::newRow("OK opens the page") << true << 0 << QStringList{"http://page/"};
    QTest::newRow("Escape opens nothing") << true << int(Qt::Key_Escape) << QStringList();
    QTest::newRow("Enter means Cancel") << true << int(Qt::Key_Return) << QStringList();
}

void TestZkCheckUpdate::promptAnswer()
{
    QFETCH(bool, showPrompt);
    QFETCH(int, key);
    QFETCH(QStringList, opened);

    LocalHttpServer server;
    server.route("/ver.php", server.reply("1"));
    QWidget window;
    ZkCheckUpdate checker;
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);
    QStringList seen; // title, text, parent, and whether update() came before the answer
    QTimer watch;
    connect(&watch, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (box == nullptr || !seen.isEmpty())
            return;
        seen << box->windowTitle() << box->text() << QString::number(box->parentWidget() == &window)
             << QString::number(spy.count());
        key ? QTest::keyClick(box, Qt::Key(key)) : box->button(QMessageBox::Ok)->click();
    });
    watch.start(10);

    m_opened.clear();
    checker.exec(server.url("/ver.php"), "x", "1", "http://page/", &window, showPrompt);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toBool(), true);
    const QStringList prompt{"更新提示", "有新版本是否查看？", "1", "0"};
    QCOMPARE(seen, showPrompt ? prompt : QStringList());
    QCOMPARE(m_opened, opened);
}

void TestZkCheckUpdate::goodAfterHostile_data()
{
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("behaviour");
    using S = LocalHttpServer;
    QTest::newRow("endless chunks")
        << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n")
        << int(S::EndlessChunks);
    QTest::newRow("endless head") << QByteArray("HTTP/1.1 200 OK\r\n") << int(S::EndlessHead);
}

// A hostile reply must leave nothing behind that holds up the next check:
// that one gets an answer within its own deadline.
void TestZkCheckUpdate::goodAfterHostile()
{
    QFETCH(QByteArray, response);
    QFETCH(int, behaviour);
    LocalHttpServer server;
    server.route("/hostile", response, LocalHttpServer::Behaviour(behaviour));
    server.route("/ver.php", server.reply("1"));
    ZkCheckUpdate checker;
    checker.setTimeout(2000);
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);
    checker.exec(server.url("/hostile"), "x", "1", "", nullptr, false);
    QTRY_COMPARE(spy.count(), 1);
    checker.exec(server.url("/ver.php"), "x", "1", "", nullptr, false);
    QTRY_COMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).first().toBool(), false);
    QCOMPARE(spy.at(1).first().toBool(), true);
}

QTEST_MAIN(TestZkCheckUpdate)
#include "tst_zkcheckupdate.moc"
