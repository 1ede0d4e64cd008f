#include "ZkAdHelper.h"

#include "LocalHttpServer.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QtTest>

namespace
{

QByteArray png(int width, int height, QColor color = Qt::red)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    if (width == 1 && height == 1) { // declare 60000 x 60000 in a valid head
        QDataStream stream(&bytes, QIODevice::ReadWrite);
        stream.skipRawData(16);
        stream << quint32(60000) << quint32(60000);
        stream.skipRawData(5);
        stream << crc32(bytes.mid(12, 17));
    }
    return bytes;
}

QStringList urls(const ZkAdHelper &helper)
{
    QStringList list;
    for (const ZkAdImageData *e : helper.images())
        list << e->m_imageUrl;
    return list;
}

// Counts the presses that reach the panel itself, and tells when it was
// shown and first painted.
class Panel : public QWidget
{
public:
    int presses = 0;
    QElapsedTimer clock;
    qint64 shownAt = -1;
    QList<qint64> paints;
    QColor shown() const
    {
        const QImage picture = palette().brush(backgroundRole()).texture().toImage();
        return picture.isNull() ? QColor() : picture.pixelColor(0, 0);
    }

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent)
            shownAt = clock.elapsed();
        if (event->type() == QEvent::PaletteChange)
            paints << clock.elapsed();
        return QWidget::event(event);
    }
};

} // namespace

class TestZkAdHelper : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened << url.toString(); } // the desktop's browser

private slots:
    void initTestCase();
    void init();
    void document_data();
    void document();
    void rotationAndClicks_data();
    void rotationAndClicks();
    void timer();
    void hostileServer_data();
    void hostileServer();

private:
    void serve(const QString &name, int count, int failing = -1);
    void read(const QByteArray &xml);

    QStringList m_opened;
    QWidget m_frame;
    Panel *m_panel = nullptr;
    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<ZkAdHelper> m_helper;
};

void TestZkAdHelper::initTestCase()
{
    qRegisterMetaType<QNetworkReply *>();
    QDesktopServices::setUrlHandler("http", this, "openUrl");
    m_frame.show();
}

void TestZkAdHelper::init()
{
    m_opened.clear();
    m_helper.reset(new ZkAdHelper);
    m_server.reset(new LocalHttpServer);
    delete m_panel;
    m_panel = new Panel;
    m_panel->setParent(&m_frame);
    m_panel->resize(250, 60);
    m_panel->hide();
    m_panel->clock.start();
    m_helper->setWidget(m_panel);
    read("<zks><ad image_url=\"old\"/></zks>");
}

void TestZkAdHelper::read(const QByteArray &xml)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    m_helper->readConfig(&buffer);
}

void TestZkAdHelper::document_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("zks, another version")
        << QByteArray("<zks version='2'><ad image_url='a'/></zks>") << QStringList{"a"};
    QTest::newRow("other root, version 1")
        << QByteArray("<ads version='1'><ad image_url='a'/></ads>") << QStringList{"a"};
    QTest::newRow("other root rejected")
        << QByteArray("<ads><ad image_url='a'/></ads>") << QStringList{"old"};
    QTest::newRow("empty rejected") << QByteArray() << QStringList{"old"};
    QTest::newRow("only direct ad children")
        << QByteArray("<zks><g><ad image_url='x'/></g><b/><ad image_url='a'><ad "
                      "image_url='y'/></ad></zks>")
        << QStringList{"a"};
    QTest::newRow("broken, keeps what came before")
        << QByteArray("<zks><ad image_url='a'/><ad image_url='b'/><ad image_url=")
        << QStringList{"a", "b"};
    QByteArray many = "<zks>";
    QStringList first32;
    for (int i = 0; i < 40; ++i) {
        many += "<ad image_url='" + QByteArray::number(i) + "'/>";
        if (i < 32)
            first32 << QString::number(i);
    }
    QTest::newRow("at most 32 entries") << many << first32;
}

void TestZkAdHelper::document()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, expected);

    read(xml);
    QCOMPARE(urls(*m_helper), expected);
    read("<zks><ad text='文字' link_url='l?a&amp;b' file_name='f' image_format='PNG' "
         "image_url='u'>x</ad></zks>");
    const ZkAdImageData *e = m_helper->images().value(0);
    QCOMPARE(QStringList({e->m_imageUrl, e->m_imageFormat, e->m_fileName, e->m_linkUrl, e->m_text}),
             QStringList({"u", "PNG", "f", "l?a&b", "文字"}));
}

// Serves a document of count pictures (red, green, blue) linking to
// http:/<name><index>, and waits until the panel is shown and every
// picture but the failing one has loaded.
void TestZkAdHelper::serve(const QString &name, int count, int failing)
{
    const QColor colors[] = {Qt::red, Qt::green, Qt::blue};
    QByteArray xml = "<zks>";
    for (int i = 0; i < count; ++i) {
        const QByteArray path = "/" + name.toLatin1() + QByteArray::number(i);
        xml += "<ad image_url='" + m_server->url(path).toLatin1() + "' link_url='http:/" + path +
               "'/>";
        m_server->route(path,
                        LocalHttpServer::reply(i == failing ? "broken" : png(8, 8, colors[i])));
    }
    m_server->route("/ads", LocalHttpServer::reply(xml + "</zks>"));
    m_helper->m_url = m_server->url("/ads");
    m_helper->exec();
    QTRY_VERIFY(m_helper->images().value(0) && m_helper->images()[0]->m_linkUrl.contains(name));
    QVERIFY(m_panel->isVisible());
    const auto &list = m_helper->images();
    QTRY_COMPARE(std::count_if(list.begin(), list.end(), [](auto *e) { return e->m_loaded; }),
                 qsizetype(failing < 0 ? count : count - 1));
}

void TestZkAdHelper::rotationAndClicks_data()
{
    QTest::addColumn<int>("failing");
    QTest::addColumn<int>("later");     // pictures of a second document, -1 for none
    QTest::addColumn<QString>("shown"); // r, g, b after each tick
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("rotation, left click") << -1 << -1 << "rgbrgbr" << 1 << QStringList{"http://a0"};
    QTest::newRow("skipped picture, right click")
        << 1 << -1 << "rrbrrb" << 2 << QStringList{"http://a2"};
    QTest::newRow("middle click") << -1 << -1 << "rg" << 4 << QStringList{"http://a1"};
    QTest::newRow("nothing shown yet") << -1 << -1 << "" << 1 << QStringList();
    QTest::newRow("shorter document") << -1 << 1 << "rgb" << 1 << QStringList();
    QTest::newRow("old picture, new document") << -1 << 3 << "r" << 1 << QStringList();
}

// Ticks are driven by hand here.
void TestZkAdHelper::rotationAndClicks()
{
    QFETCH(int, failing);
    QFETCH(int, later);
    QFETCH(QString, shown);
    QFETCH(int, button);
    QFETCH(QStringList, opened);

    m_helper->m_interval = 60 * 1000;
    serve("a", 3, failing);
    QCOMPARE(m_panel->cursor().shape(), Qt::PointingHandCursor);
    QString seen;
    for (int i = 0; i < shown.size(); ++i) {
        QMetaObject::invokeMethod(m_helper.get(), "play");
        seen += "rgb"[QList<QColor>{Qt::red, Qt::green, Qt::blue}.indexOf(m_panel->shown())];
    }
    QCOMPARE(seen, shown);
    if (later >= 0)
        serve("b", later);
    QTest::mouseClick(m_panel, Qt::MouseButton(button));
    QCOMPARE(m_opened, opened);
    QCOMPARE(m_panel->presses, 0);
}

// The first picture comes one interval after the panel was shown, not at
// once, and stop() ends the rotation.
void TestZkAdHelper::timer()
{
    m_helper->m_interval = 300;
    serve("a", 2);
    QTRY_VERIFY(!m_panel->paints.isEmpty());
    const qint64 firstAfter = m_panel->paints.first() - m_panel->shownAt;
    QVERIFY2(firstAfter >= 270, qPrintable(QString::number(firstAfter)));
    QCOMPARE(m_panel->shown(), QColor(Qt::red));
    m_helper->stop();
    const int painted = m_panel->paints.size();
    QTest::qWait(700);
    QCOMPARE(m_panel->paints.size(), painted);
}

// A document that fails changes nothing; a picture that fails stays not
// loaded. Only the slow servers meet a short deadline.
void TestZkAdHelper::hostileServer_data()
{
    using S = LocalHttpServer;
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<bool>("loaded");

    const QByteArray xml = "<zks><ad image_url='new'/></zks>";
    QTest::newRow("document 404") << QByteArray("/ads") << S::reply(xml, "404 Not Found") << 0
                                  << false;
    QTest::newRow("document never answers")
        << QByteArray("/ads") << xml << int(S::NeverAnswer) << false;
    QTest::newRow("document over the cap")
        << QByteArray("/ads") << S::reply(xml + QByteArray(2000, ' ')) << 0 << false;
    const auto row = [](const char *name, const QByteArray &response, bool loaded,
                        S::Behaviour behaviour = S::Answer) {
        QTest::newRow(name) << QByteArray("/pic") << response << int(behaviour) << loaded;
    };
    row("format detected", S::reply(png(8, 8)), true);
    row("4096 wide", S::reply(png(4096, 2)), true);
    row("4097 wide", S::reply(png(4097, 2)), false);
    row("4097 high", S::reply(png(2, 4097)), false);
    row("60000 x 60000 head", S::reply(png(1, 1)), false);
    row("HTTP 500", S::reply(png(8, 8), "500 Oops"), false);
    row("over the cap", S::reply(png(100, 100, QColor(1, 2, 3))), false);
    row("gzip bomb is not inflated",
        S::reply(gzip(png(8, 8)), "200 OK", "Content-Encoding: gzip\r\n"), false);
    row("trickles", S::reply(png(8, 8)), false, S::Trickle);
    row("endless", "HTTP/1.1 200 OK\r\n\r\n", false, S::Endless);
}

void TestZkAdHelper::hostileServer()
{
    QFETCH(QByteArray, path);
    QFETCH(QByteArray, response);
    QFETCH(int, behaviour);
    QFETCH(bool, loaded);

    const auto picture = "<zks><ad image_url='" + m_server->url("/pic").toLatin1() + "'/></zks>";
    m_server->route("/ads", LocalHttpServer::reply(picture));
    m_server->route(path, response, LocalHttpServer::Behaviour(behaviour));
    const bool slow =
        behaviour == LocalHttpServer::NeverAnswer || behaviour == LocalHttpServer::Trickle;
    m_helper->m_timeout = m_helper->m_imageTimeout = slow ? 400 : 60 * 1000;
    m_helper->m_maxConfigSize = 1000;
    m_helper->m_maxImageSize = 300;
    m_helper->m_url = m_server->url("/ads");
    m_helper->exec();

    const auto busy = [](QObject *o) {
        return o && !o->findChildren<QNetworkReply *>().isEmpty();
    };
    QTRY_VERIFY(!busy(m_helper.get()) && !busy(m_helper->images().value(0)));
    const bool documentFails = path == "/ads";
    QCOMPARE(m_panel->isVisible(), !documentFails);
    QCOMPARE(urls(*m_helper).value(0) == "old", documentFails);
    QCOMPARE(m_helper->images().value(0)->m_loaded, loaded);
}

QTEST_MAIN(TestZkAdHelper)
#include "tst_zkadhelper.moc"
