#include "ZkAdHelper.h"

#include "ZkGuardedGet.h"
#include "ZkUtility.h"

#include <QBuffer>
#include <QEvent>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QXmlStreamReader>

#include <cassert>

namespace
{

// A picture's memory grows with its area; a declared side beyond this is
// refused before anything is decoded.
constexpr int MaxImageSide = 4096;
// More entries than any panel shows in a session.
constexpr int MaxEntries = 32;

bool readableBody(QNetworkReply *reply, qint64 maxBytes, QByteArray *body)
{
    reply->deleteLater();
    return zk::takeGuardedBody(reply, maxBytes, body);
}

} // namespace

ZkAdImageData::ZkAdImageData(QObject *parent)
    : QObject(parent), m_manager(zk::newGuardedManager(this))
{
    connect(m_manager, &QNetworkAccessManager::finished, this, &ZkAdImageData::downloadFinished);
}

void ZkAdImageData::exec()
{
    zk::guardedGet(m_manager, QUrl(m_imageUrl), m_timeout, m_maxSize);
}

void ZkAdImageData::downloadFinished(QNetworkReply *reply)
{
    m_loaded = false;
    QByteArray body;
    if (!readableBody(reply, m_maxSize, &body))
        return;

    QBuffer buffer(&body);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, m_imageFormat.toLatin1());
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > MaxImageSide || size.height() > MaxImageSide)
        return;
    const QImage image = reader.read();
    if (image.isNull())
        return;
    m_pixmap = QPixmap::fromImage(image, Qt::AutoColor);
    m_loaded = !m_pixmap.isNull();
}

ZkAdHelper::ZkAdHelper(QObject *parent)
    : QObject(parent), m_xml(new QXmlStreamReader), m_manager(zk::newGuardedManager(this)),
      m_timer(new QTimer)
{
    connect(m_manager, &QNetworkAccessManager::finished, this, &ZkAdHelper::downloadFinished);
    connect(m_timer, &QTimer::timeout, this, &ZkAdHelper::play);
}

ZkAdHelper::~ZkAdHelper()
{
    m_manager->disconnect(this);
    delete m_manager;
    delete m_xml;
    delete m_timer;
    qDeleteAll(m_images);
}

void ZkAdHelper::setWidget(QWidget *widget)
{
    m_widget = widget;
    m_widget->setCursor(Qt::PointingHandCursor);
    m_widget->installEventFilter(this);
}

void ZkAdHelper::exec()
{
    zk::guardedGet(m_manager, QUrl(m_url), m_timeout, m_maxConfigSize);
}

void ZkAdHelper::readConfig(QIODevice *device)
{
    m_xml->setDevice(device);
    if (readRoot()) {
        clear();
        while (m_xml->readNextStartElement()) {
            if (m_xml->name() == QLatin1String("ad") && m_images.size() < MaxEntries)
                m_images.append(readEntry());
            m_xml->skipCurrentElement();
        }
    }
    // A broken document just ends the loop; what was read before stays.
    m_xml->clear();
}

bool ZkAdHelper::readRoot()
{
    if (!m_xml->readNextStartElement())
        return false;
    return m_xml->name() == QLatin1String("zks") ||
           m_xml->attributes().value(QLatin1String("version")) == QLatin1String("1");
}

ZkAdImageData *ZkAdHelper::readEntry()
{
    const QXmlStreamAttributes attributes = m_xml->attributes();
    auto *entry = new ZkAdImageData;
    entry->m_imageUrl = attributes.value(QLatin1String("image_url")).toString();
    entry->m_imageFormat = attributes.value(QLatin1String("image_format")).toString();
    entry->m_fileName = attributes.value(QLatin1String("file_name")).toString();
    entry->m_linkUrl = attributes.value(QLatin1String("link_url")).toString();
    entry->m_text = attributes.value(QLatin1String("text")).toString();
    entry->m_timeout = m_imageTimeout;
    entry->m_maxSize = m_maxImageSize;
    return entry;
}

void ZkAdHelper::downloadAll()
{
    for (ZkAdImageData *entry : qAsConst(m_images))
        entry->exec();
}

// The picture on show (if any) stays on the panel but belongs to no entry
// any more, so clicks open nothing until the new list shows one.
void ZkAdHelper::clear()
{
    qDeleteAll(m_images);
    m_images.clear();
    m_current = -1;
}

void ZkAdHelper::stop()
{
    m_timer->stop();
}

void ZkAdHelper::click()
{
    if (m_current >= 0 && m_current < m_images.size())
        zk::openUrl(m_images.at(m_current)->m_linkUrl);
}

bool ZkAdHelper::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_widget)
        return QObject::eventFilter(watched, event);
    if (event->type() != QEvent::MouseButtonPress)
        return false;
    click();
    return true;
}

// A document that arrived restarts the rotation even when it was rejected:
// the previous list is then fetched and shown again. A failed request
// (error, time-out, oversized) changes nothing.
void ZkAdHelper::downloadFinished(QNetworkReply *reply)
{
    assert(m_widget != NULL);
    QByteArray body;
    if (!readableBody(reply, m_maxConfigSize, &body))
        return;

    QBuffer buffer(&body);
    buffer.open(QIODevice::ReadOnly);
    readConfig(&buffer);
    downloadAll();
    m_next = 0;
    m_timer->stop();
    m_widget->setVisible(true);
    m_timer->start(m_interval);
}

// An entry whose picture has not arrived costs one tick; the previous
// picture stays meanwhile.
void ZkAdHelper::play()
{
    assert(m_widget != NULL);
    if (m_images.isEmpty())
        return;
    if (m_next >= m_images.size())
        m_next = 0;
    const ZkAdImageData *entry = m_images.at(m_next);
    if (entry->m_loaded) {
        zk::drawImage(m_widget, entry->m_pixmap, m_widget->size());
        m_current = m_next;
    }
    ++m_next;
}
