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
    // stands in for the desktop's browser
    void openUrl(const QUrl &url) { m_opened.append(url.toString()); }

private slots:
    void initTestCase();
    void init();

    void requestIsSentAsGiven_data();
    void requestIsSentAsGiven();
    void replyDecides_data();
    void replyDecides();
    void promptAnswer_data();
    void promptAnswer();

private:
    void answerPrompts(std::function<void(QMessageBox *)> answer);

    QStringList m_opened;
    int m_prompts = 0;
    QTimer m_promptWatch;
};

void TestZkCheckUpdate::initTestCase()
{
    QDesktopServices::setUrlHandler(QStringLiteral("http"), this, "openUrl");
}

void TestZkCheckUpdate::init()
{
    m_opened.clear();
    m_prompts = 0;
    answerPrompts([](QMessageBox *box) { box->reject(); });
}

// Polls from inside the prompt's own event loop and answers it.
void TestZkCheckUpdate::answerPrompts(std::function<void(QMessageBox *)> answer)
{
    m_promptWatch.disconnect();
    connect(&m_promptWatch, &QTimer::timeout, this, [this, answer] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            if (box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            ++m_prompts;
            answer(box);
        }
    });
    m_promptWatch.start(10);
}

void TestZkCheckUpdate::requestIsSentAsGiven_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QByteArray>("requestLine");

    QTest::newRow("reader's values")
        << "Quirelle_windows_x86_64"
        << QByteArray("GET /ver.php?id=Quirelle_windows_x86_64&&ver=2012-07-01 HTTP/1.1");
    QTest::newRow("space left to the URL parser")
        << "a b" << QByteArray("GET /ver.php?id=a%20b&&ver=2012-07-01 HTTP/1.1");
}

void TestZkCheckUpdate::requestIsSentAsGiven()
{
    QFETCH(QString, id);
    QFETCH(QByteArray, requestLine);

    LocalHttpServer server;
    ZkCheckUpdate checker;
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);
    checker.exec(server.url("/ver.php"), id, QStringLiteral("2012-07-01"), {}, nullptr, false);
    QTRY_COMPARE(spy.count(), 1);

    QCOMPARE(server.requests.size(), 1);
    const QList<QByteArray> head = server.requests.first().split('\n');
    QCOMPARE(head.first().trimmed(), requestLine);
    QVERIFY(head.contains("Accept-Encoding: identity\r"));
}

// Every failure, whatever the server does, ends in update(false) within the
// time-out, and nothing is shown.
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
    row("1 and a space", S::reply("1 "), false);
    row("0", S::reply("0"), false);
    row("empty", S::reply(""), false);
    row("HTTP 500", S::reply("1", "500 Internal Server Error"), false);
    row("refused connection", {}, false);
    row("never answers", S::reply("1"), false, S::NeverAnswer);
    row("trickles", S::reply("1" + QByteArray(99, '\0')), false, S::Trickle);
    row("100 MB declared", "HTTP/1.1 200 OK\r\nContent-Length: 104857600\r\n\r\n", false,
        S::Endless);
    row("100 MB undeclared", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", false, S::Endless);
    row("over the cap in one piece", S::reply("1" + QByteArray(2000, '\0')), false);
    row("gzip bomb is not inflated",
        S::reply(Hostile::gzip("1"), "200 OK", "Content-Encoding: gzip\r\n"), false);
    // /hopN is N redirects away from a "1"
    const auto redirect = [](const QByteArray &to) {
        return S::reply({}, "302 Found", "Location: " + to + "\r\n");
    };
    row("five redirects are followed", redirect("/hop4"), true);
    row("six redirects are too many", redirect("/hop5"), false);
    row("redirect loop", redirect("/ver.php"), false);
}

void TestZkCheckUpdate::replyDecides()
{
    QFETCH(QByteArray, response);
    QFETCH(int, behaviour);
    QFETCH(bool, newer);

    LocalHttpServer server;
    server.route("/ver.php", response, LocalHttpServer::Behaviour(behaviour));
    server.redirectChain(5, LocalHttpServer::reply("1"));
    QString url = server.url("/ver.php");
    if (response.isEmpty()) {
        server.close();
        url = QStringLiteral("http://127.0.0.1:%1/ver.php").arg(server.serverPort());
    }

    ZkCheckUpdate checker;
    checker.setTimeout(400);
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);
    checker.exec(url, QStringLiteral("x"), QStringLiteral("1"), QStringLiteral("http://page"),
                 nullptr, false);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toBool(), newer);
    QCOMPARE(m_prompts, 0);
}

void TestZkCheckUpdate::promptAnswer_data()
{
    QTest::addColumn<int>("answer"); // a button, or 0 for the Enter key
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("OK opens the page")
        << int(QMessageBox::Ok) << QStringList{"http://quirelle.invalid/"};
    QTest::newRow("Cancel opens nothing") << int(QMessageBox::Cancel) << QStringList();
    QTest::newRow("Enter means Cancel") << 0 << QStringList();
}

void TestZkCheckUpdate::promptAnswer()
{
    QFETCH(int, answer);
    QFETCH(QStringList, opened);

    LocalHttpServer server;
    server.route("/ver.php", LocalHttpServer::reply("1"));
    QWidget window;
    ZkCheckUpdate checker;
    QSignalSpy spy(&checker, &ZkCheckUpdate::update);

    QString title, text;
    QWidget *parent = nullptr;
    int signalsBeforeAnswer = -1;
    answerPrompts([&](QMessageBox *box) {
        title = box->windowTitle();
        text = box->text();
        parent = box->parentWidget();
        signalsBeforeAnswer = spy.count();
        if (answer == 0)
            QTest::keyClick(box, Qt::Key_Return);
        else
            box->button(QMessageBox::StandardButton(answer))->click();
    });
    checker.exec(server.url("/ver.php"), QStringLiteral("x"), QStringLiteral("1"),
                 QStringLiteral("http://quirelle.invalid/"), &window, true);
    QTRY_COMPARE(spy.count(), 1);

    QCOMPARE(m_prompts, 1);
    QCOMPARE(title, QStringLiteral("更新提示"));
    QCOMPARE(text, QStringLiteral("有新版本是否查看？"));
    QCOMPARE(parent, &window);
    QCOMPARE(signalsBeforeAnswer, 0);
    QCOMPARE(spy.first().first().toBool(), true);
    QCOMPARE(m_opened, opened);
}

QTEST_MAIN(TestZkCheckUpdate)
#include "tst_zkcheckupdate.moc"
