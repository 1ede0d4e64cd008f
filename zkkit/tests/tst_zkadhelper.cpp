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
    return bytes;
}

// A valid head that declares a picture far too large to decode.
QByteArray hugePngHead()
{
    QByteArray bytes = png(1, 1);
    QDataStream stream(&bytes, QIODevice::ReadWrite);
    stream.skipRawData(16);
    stream << quint32(60000) << quint32(60000);
    stream.skipRawData(5);
    stream << crc32(bytes.mid(12, 17));
    return bytes;
}

QByteArray adDocument(const QString &server, int count, const QString &links)
{
    QByteArray xml = "<zks>";
    for (int i = 0; i < count; ++i)
        xml += QStringLiteral("<ad image_url=\"%1/p%2\" link_url=\"%3%2\"/>")
                   .arg(server, QString::number(i), links)
                   .toUtf8();
    return xml + "</zks>";
}

void read(ZkAdHelper &helper, QByteArray xml)
{
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    helper.readConfig(&buffer);
}

QStringList entries(const ZkAdHelper &helper)
{
    QStringList list;
    for (const ZkAdImageData *e : helper.images())
        list << QStringList{e->m_imageUrl, e->m_imageFormat, e->m_fileName, e->m_linkUrl, e->m_text}
                    .join('|');
    return list;
}

QColor shownColor(const QWidget *panel)
{
    const QImage shown = panel->palette().brush(panel->backgroundRole()).texture().toImage();
    return shown.isNull() ? QColor() : shown.pixelColor(0, 0);
}

// Counts the presses that reach the panel itself, and when it was shown and
// painted.
class Panel : public QWidget
{
public:
    using QWidget::QWidget;
    int presses = 0;
    QElapsedTimer clock;
    qint64 shownAt = -1, paintedAt = -1;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    bool event(QEvent *event) override
    {
        if (event->type() == QEvent::ShowToParent)
            shownAt = clock.elapsed();
        if (event->type() == QEvent::PaletteChange && paintedAt < 0)
            paintedAt = clock.elapsed();
        return QWidget::event(event);
    }
};

} // namespace

class TestZkAdHelper : public QObject
{
    Q_OBJECT

public slots:
    void openUrl(const QUrl &url) { m_opened.append(url.toString()); } // the desktop's browser

private slots:
    void initTestCase();
    void init();
    void document_data();
    void document();
    void rotation_data();
    void rotation();
    void clicks_data();
    void clicks();
    void failedConfigChangesNothing_data();
    void failedConfigChangesNothing();
    void picture_data();
    void picture();

private:
    // Serves a document of count pictures (red, green, blue) and waits until
    // the panel is shown and every picture but the failing one has loaded.
    void start(int count, int failing = -1, const QString &links = "http://ads.invalid/");
    QList<QColor> ticks(int count);

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
    m_panel = new Panel(&m_frame);
    m_panel->resize(250, 60);
    m_panel->hide();
    m_panel->clock.start();
}

void TestZkAdHelper::document_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("expected");

    const QStringList old{"old||||"};
    QTest::newRow("zks, attributes by name")
        << QByteArray("<zks><ad text=\"文字\" link_url=\"l?a&amp;b\" file_name=\"f\" "
                      "image_format=\"PNG\" image_url=\"u\">body</ad><ad/></zks>")
        << QStringList{"u|PNG|f|l?a&b|文字", "||||"};
    QTest::newRow("zks, another version")
        << QByteArray("<zks version=\"2\"><ad image_url=\"a\"/></zks>") << QStringList{"a||||"};
    QTest::newRow("other root with version 1")
        << QByteArray("<ads version=\"1\"><ad image_url=\"a\"/></ads>") << QStringList{"a||||"};
    QTest::newRow("other root rejected") << QByteArray("<ads><ad image_url=\"a\"/></ads>") << old;
    QTest::newRow("empty rejected") << QByteArray() << old;
    QTest::newRow("only direct ad children")
        << QByteArray("<zks><g><ad image_url=\"x\"/></g><b image_url=\"y\"/>"
                      "<ad image_url=\"a\"><ad image_url=\"inner\"/></ad></zks>")
        << QStringList{"a||||"};
    QTest::newRow("broken document keeps what came before")
        << QByteArray("<zks><ad image_url=\"a\"/><ad image_url=\"b\"/><ad image_url=")
        << QStringList{"a||||", "b||||"};
    QByteArray many = "<zks>";
    QStringList first32;
    for (int i = 0; i < 40; ++i) {
        many += "<ad image_url=\"" + QByteArray::number(i) + "\"/>";
        if (i < 32)
            first32 << QString::number(i) + "||||";
    }
    QTest::newRow("at most 32 entries") << many << first32;
}

void TestZkAdHelper::document()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, expected);

    read(*m_helper, "<zks><ad image_url=\"old\"/></zks>");
    read(*m_helper, xml);
    QCOMPARE(entries(*m_helper), expected);
}

void TestZkAdHelper::start(int count, int failing, const QString &links)
{
    const QColor colors[] = {Qt::red, Qt::green, Qt::blue};
    m_server->route("/ads", LocalHttpServer::reply(adDocument(m_server->url({}), count, links)));
    for (int i = 0; i < count; ++i)
        m_server->route("/p" + QByteArray::number(i),
                        LocalHttpServer::reply(i == failing ? "broken" : png(8, 8, colors[i])));
    if (m_helper->m_url.isEmpty())
        m_helper->setWidget(m_panel);
    m_helper->m_url = m_server->url("/ads");
    m_helper->exec();
    QTRY_VERIFY(!entries(*m_helper).isEmpty() && entries(*m_helper).first().contains(links));
    QVERIFY(m_panel->isVisible());
    const auto loaded = [this] {
        const auto &list = m_helper->images();
        return std::count_if(list.begin(), list.end(), [](auto *e) { return e->m_loaded; });
    };
    QTRY_COMPARE(loaded(), failing < 0 ? count : count - 1);
}

QList<QColor> TestZkAdHelper::ticks(int count)
{
    QList<QColor> shown;
    for (int i = 0; i < count; ++i) {
        QMetaObject::invokeMethod(m_helper.get(), "play");
        shown << shownColor(m_panel);
    }
    return shown;
}

void TestZkAdHelper::rotation_data()
{
    QTest::addColumn<int>("failing");
    QTest::addColumn<QList<QColor>>("shown"); // the first tick, then ticks driven by hand

    const QColor r(Qt::red), g(Qt::green), b(Qt::blue);
    QTest::newRow("all pictures load") << -1 << QList<QColor>{r, g, b, r, g, b, r};
    QTest::newRow("second picture skipped") << 1 << QList<QColor>{r, r, b, r, r, b, r};
}

// The first picture comes one interval after the document, not at once;
// after stop() only the ticks driven here change the picture.
void TestZkAdHelper::rotation()
{
    QFETCH(int, failing);
    QFETCH(QList<QColor>, shown);

    m_helper->m_interval = 300;
    start(3, failing);
    QCOMPARE(m_panel->cursor().shape(), Qt::PointingHandCursor);
    QTRY_COMPARE(shownColor(m_panel), shown.first());
    QVERIFY2(m_panel->paintedAt - m_panel->shownAt >= 270,
             qPrintable(QString::number(m_panel->paintedAt - m_panel->shownAt)));
    m_helper->stop();
    QCOMPARE(QList<QColor>{shown.first()} + ticks(6), shown);
    QTest::qWait(700);
    QCOMPARE(shownColor(m_panel), shown.last());
}

void TestZkAdHelper::clicks_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<int>("laterEntries"); // of a second document, -1 for none
    QTest::addColumn<int>("laterTicks");
    QTest::addColumn<QStringList>("opened");

    QTest::newRow("left, first picture") << 1 << 1 << -1 << 0 << QStringList{"http://a/0"};
    QTest::newRow("right, second picture") << 2 << 2 << -1 << 0 << QStringList{"http://a/1"};
    QTest::newRow("middle, third picture") << 4 << 3 << -1 << 0 << QStringList{"http://a/2"};
    QTest::newRow("no picture shown yet") << 1 << 0 << -1 << 0 << QStringList();
    QTest::newRow("after a shorter document") << 1 << 3 << 1 << 0 << QStringList();
    QTest::newRow("old picture after a new document") << 1 << 1 << 3 << 0 << QStringList();
    QTest::newRow("new document's picture") << 1 << 3 << 3 << 1 << QStringList{"http://new/0"};
}

void TestZkAdHelper::clicks()
{
    QFETCH(int, button);
    QFETCH(int, ticks);
    QFETCH(int, laterEntries);
    QFETCH(int, laterTicks);
    QFETCH(QStringList, opened);

    m_helper->m_interval = 60 * 1000; // ticks are driven here
    start(3, -1, "http://a/");
    this->ticks(ticks);
    if (laterEntries >= 0) {
        start(laterEntries, -1, "http://new/");
        this->ticks(laterTicks);
    }
    QTest::mouseClick(m_panel, Qt::MouseButton(button));
    QCOMPARE(m_opened, opened);
    QCOMPARE(m_panel->presses, 0);
}

// A document that fails in any way leaves the list and the hidden panel as
// they were.
void TestZkAdHelper::failedConfigChangesNothing_data()
{
    using S = LocalHttpServer;
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("behaviour");

    const QByteArray xml = "<zks><ad image_url=\"new\"/></zks>";
    QTest::newRow("HTTP 404") << S::reply(xml, "404 Not Found") << int(S::Answer);
    QTest::newRow("never answers") << xml << int(S::NeverAnswer);
    QTest::newRow("over the cap") << S::reply(xml + QByteArray(2000, ' ')) << int(S::Answer);
}

void TestZkAdHelper::failedConfigChangesNothing()
{
    QFETCH(QByteArray, response);
    QFETCH(int, behaviour);

    m_server->route("/ads", response, LocalHttpServer::Behaviour(behaviour));
    read(*m_helper, "<zks><ad image_url=\"old\"/></zks>");
    m_helper->setWidget(m_panel);
    m_helper->m_url = m_server->url("/ads");
    m_helper->m_timeout = 400;
    m_helper->m_maxConfigSize = 1000;
    QSignalSpy done(m_helper->findChild<QNetworkAccessManager *>(),
                    &QNetworkAccessManager::finished);
    m_helper->exec();
    QTRY_COMPARE(done.count(), 1);
    QVERIFY(m_panel->isHidden());
    QCOMPARE(entries(*m_helper), QStringList{"old||||"});
}

void TestZkAdHelper::picture_data()
{
    using S = LocalHttpServer;
    QTest::addColumn<QString>("format");
    QTest::addColumn<QByteArray>("response");
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<bool>("loaded");

    QTest::newRow("format detected") << "" << S::reply(png(8, 8)) << 0 << true;
    QTest::newRow("4096 wide") << "PNG" << S::reply(png(4096, 1)) << 0 << true;
    QTest::newRow("4097 wide") << "PNG" << S::reply(png(4097, 1)) << 0 << false;
    QTest::newRow("4097 high") << "PNG" << S::reply(png(1, 4097)) << 0 << false;
    QTest::newRow("60000 x 60000 head") << "PNG" << S::reply(hugePngHead()) << 0 << false;
    QTest::newRow("HTTP 500") << "PNG" << S::reply(png(8, 8), "500 Oops") << 0 << false;
    QTest::newRow("over the cap") << "PNG" << S::reply(png(100, 100, QColor(1, 2, 3))) << 0
                                  << false;
    QTest::newRow("gzip bomb is not inflated")
        << "PNG" << S::reply(gzip(png(8, 8)), "200 OK", "Content-Encoding: gzip\r\n") << 0 << false;
    QTest::newRow("trickles") << "PNG" << S::reply(png(8, 8)) << int(S::Trickle) << false;
    QTest::newRow("endless") << "PNG" << QByteArray("HTTP/1.1 200 OK\r\n\r\n") << int(S::Endless)
                             << false;
}

void TestZkAdHelper::picture()
{
    QFETCH(QString, format);
    QFETCH(QByteArray, response);
    QFETCH(int, behaviour);
    QFETCH(bool, loaded);

    m_server->route("/pic", response, LocalHttpServer::Behaviour(behaviour));
    ZkAdImageData entry;
    entry.m_imageUrl = m_server->url("/pic");
    entry.m_imageFormat = format;
    entry.m_timeout = behaviour == LocalHttpServer::Trickle ? 400 : 60 * 1000;
    entry.m_maxSize = 300;
    QSignalSpy done(entry.m_manager, &QNetworkAccessManager::finished);
    entry.exec();
    QTRY_COMPARE(done.count(), 1);
    QCOMPARE(entry.m_loaded, loaded);
    QCOMPARE(entry.m_pixmap.isNull(), !loaded);
}

QTEST_MAIN(TestZkAdHelper)
#include "tst_zkadhelper.moc"
