#include "ZkAdHelper.h"

#include "LocalHttpServer.h"

#include <QBuffer>
#include <QDesktopServices>
#include <QNetworkReply>

namespace
{

QByteArray png(int width, int height, QColor color = Qt::red)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

// A valid head that declares 60000 x 60000 pixels.
QByteArray hugePng()
{
    QByteArray bytes = png(1, 1);
    for (const int at : {16, 20})
        qToBigEndian(quint32(60000), bytes.data() + at);
    qToBigEndian(crc32(bytes.mid(12, 17)), bytes.data() + 29);
    return bytes;
}

// Counts the presses that reach the panel itself and the pictures it was given.
class Panel : public QWidget
{
public:
    using QWidget::QWidget;
    int presses = 0, paints = 0;
    QColor shown() const
    {
        const QImage picture = palette().brush(backgroundRole()).texture().toImage();
        return picture.isNull() ? QColor() : picture.pixelColor(0, 0);
    }

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
    void changeEvent(QEvent *event) override
    {
        paints += event->type() == QEvent::PaletteChange;
        QWidget::changeEvent(event);
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
    QStringList read(const QByteArray &xml);

    QStringList m_opened;
    QWidget m_frame;
    Panel *m_panel = nullptr;
    std::unique_ptr<LocalHttpServer> m_server;
    std::unique_ptr<ZkAdHelper> m_helper;
};

void TestZkAdHelper::initTestCase()
{
    QDesktopServices::setUrlHandler("http", this, "openUrl");
    m_frame.show();
}

void TestZkAdHelper::init()
{
    m_opened.clear();
    m_helper.reset(new ZkAdHelper);
    m_server.reset(new LocalHttpServer);
    delete m_panel;
    m_panel = new Panel(&m_frame); // hidden until the first document arrives
    m_panel->resize(250, 60);
    m_helper->setWidget(m_panel);
    read("<zks><ad image_url='old'/></zks>");
}

// Reads a document and tells the entries, each as its fields in a line.
QStringList TestZkAdHelper::read(const QByteArray &xml)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    m_helper->readConfig(&buffer);
    QStringList entries;
    for (const ZkAdImageData *e : m_helper->images())
        entries << QStringList{e->m_imageUrl, e->m_imageFormat, e->m_fileName, e->m_linkUrl,
                               e->m_text}
                       .join(' ')
                       .trimmed();
    return entries;
}

void TestZkAdHelper::document_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char *name, const QByteArray &xml, const QStringList &expected) {
        QTest::newRow(name) << xml << expected;
    };
    row("every field",
        "<zks><ad text='文字' link_url='l?a&amp;b' file_name='f' image_format='PNG' "
        "image_url='u'>x</ad></zks>",
        {"u PNG f l?a&b 文字"});
    row("zks, another version", "<zks version='2'><ad image_url='a'/></zks>", {"a"});
    row("other root, version 1", "<ads version='1'><ad image_url='a'/></ads>", {"a"});
    row("other root rejected", "<ads><ad image_url='a'/></ads>", {"old"});
    row("empty rejected", "", {"old"});
    row("only direct ad children",
        "<zks><g><ad image_url='x'/></g><b/><ad image_url='a'><ad image_url='y'/></ad></zks>",
        {"a"});
    row("broken, keeps what came before",
        "<zks><ad image_url='a'/><ad image_url='b'/><ad image_url=", {"a", "b"});
    QStringList numbers;
    for (int i = 0; i < 40; ++i)
        numbers << QString::number(i);
    row("at most 32 entries",
        "<zks><ad image_url='" + numbers.join("'/><ad image_url='").toLatin1() + "'/></zks>",
        numbers.mid(0, 32));
}

void TestZkAdHelper::document()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, expected);
    QCOMPARE(read(xml), expected);
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
        m_server->route(path, m_server->reply(i == failing ? "broken" : png(8, 8, colors[i])));
    }
    m_server->route("/ads", m_server->reply(xml + "</zks>"));
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

// Ticks are driven by hand here; the first comes one interval after the
// panel was shown, not at once.
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
    for (int i = 0; i <= shown.size(); ++i) {
        seen +=
            "-rgb"[QList<QColor>{QColor(), Qt::red, Qt::green, Qt::blue}.indexOf(m_panel->shown())];
        if (i < shown.size())
            QMetaObject::invokeMethod(m_helper.get(), "play");
    }
    QCOMPARE(seen, "-" + shown);
    if (later >= 0)
        serve("b", later);
    QTest::mouseClick(m_panel, Qt::MouseButton(button));
    QCOMPARE(m_opened, opened);
    QCOMPARE(m_panel->presses, 0);
}

// The timer rotates by itself, and stop() ends the rotation.
void TestZkAdHelper::timer()
{
    m_helper->m_interval = 50;
    serve("a", 2);
    QTRY_VERIFY(m_panel->paints >= 3);
    m_helper->stop();
    const int painted = m_panel->paints;
    QTest::qWait(300);
    QCOMPARE(m_panel->paints, painted);
}

// A document that fails changes nothing; a picture that fails stays not loaded.
void TestZkAdHelper::hostileServer_data()
{
    using S = LocalHttpServer;
    S::columns();
    const QByteArray xml = "<zks><ad image_url='new'/></zks>";
    S::row("document 404", S::reply(xml, "404 Not Found"), false);
    S::row("document never answers", S::reply(xml), false, S::NeverAnswer);
    S::row("document over the cap", S::reply(xml + QByteArray(2000, ' ')), false);
    S::row("document redirect loop", S::redirect("/ads"), false);
    S::row("format detected", S::reply(png(8, 8)), true);
    S::row("4096 wide", S::reply(png(4096, 2)), true);
    S::row("4097 wide", S::reply(png(4097, 2)), false);
    S::row("4097 high", S::reply(png(2, 4097)), false);
    S::row("60000 x 60000 head", S::reply(hugePng()), false);
    S::row("HTTP 500", S::reply(png(8, 8), "500 Oops"), false);
    S::row("over the cap", S::reply(png(100, 100, QColor(1, 2, 3))), false);
    S::row("gzip bomb is not inflated",
           S::reply(gzip(png(8, 8)), "200 OK", "Content-Encoding: gzip\r\n"), false);
    S::row("trickles", S::reply(png(8, 8)), false, S::Trickle);
    S::row("endless", "HTTP/1.1 200 OK\r\n\r\n", false, S::Endless);
}

void TestZkAdHelper::hostileServer()
{
    QFETCH(bool, taken);
    const bool documentFails = QByteArray(QTest::currentDataTag()).startsWith("document");
    m_server->route("/ads", m_server->reply("<zks><ad image_url='" +
                                            m_server->url("/pic").toLatin1() + "'/></zks>"));
    m_helper->m_timeout = m_helper->m_imageTimeout =
        m_server->serveRow(documentFails ? "/ads" : "/pic");
    m_helper->m_maxConfigSize = 1000;
    m_helper->m_maxImageSize = 300;
    m_helper->m_url = m_server->url("/ads");
    m_helper->exec();

    const auto busy = [](QObject *o) {
        return o && !o->findChildren<QNetworkReply *>().isEmpty();
    };
    QTRY_VERIFY(!busy(m_helper.get()) && !busy(m_helper->images().value(0)));
    QCOMPARE(m_panel->isVisible(), !documentFails);
    QCOMPARE(m_helper->images().value(0)->m_imageUrl == "old", documentFails);
    QCOMPARE(m_helper->images().value(0)->m_loaded, taken);
}

QTEST_MAIN(TestZkAdHelper)
#include "tst_zkadhelper.moc"
