#include "WebDav.h"

#include "SyncTiming.h"

#include <QXmlStreamReader>

WebDav::WebDav(QObject *parent) : QObject(parent), m_client(new ZkHttpClient(this)) {}

void WebDav::setAccount(const QUrl &folder, const QString &user, const QString &password)
{
    m_folder = folder;
    m_authorization.clear();
    if (!user.isEmpty())
        m_authorization = "Basic " + (user + QLatin1Char(':') + password).toUtf8().toBase64();
}

ZkHttpRequest WebDav::request(const QByteArray &method, const QUrl &url) const
{
    ZkHttpRequest request;
    request.method = method;
    request.url = url;
    request.timeoutMs = m_deadlineMs;
    request.maxBytes = SyncRecordMaxBytes;
    if (!m_authorization.isEmpty())
        request.headers.append(qMakePair(QByteArray("Authorization"), QByteArray(m_authorization)));
    return request;
}

void WebDav::send(const ZkHttpRequest &request, const Done &done)
{
    ++m_requests;
    m_client->send(request, done);
}

void WebDav::get(const QString &name, const Done &done)
{
    send(request("GET", m_folder.resolved(QUrl(name))), done);
}

void WebDav::put(const QString &name, const QByteArray &body, const Done &done)
{
    ZkHttpRequest put = request("PUT", m_folder.resolved(QUrl(name)));
    put.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/xml")));
    put.body = body;
    send(put, done);
}

void WebDav::move(const QString &from, const QString &to, const Done &done)
{
    ZkHttpRequest move = request("MOVE", m_folder.resolved(QUrl(from)));
    move.headers.append(
        qMakePair(QByteArray("Destination"), QByteArray(m_folder.resolved(QUrl(to)).toEncoded())));
    move.headers.append(qMakePair(QByteArray("Overwrite"), QByteArray("T")));
    send(move, done);
}

void WebDav::remove(const QString &name, const Done &done)
{
    send(request("DELETE", m_folder.resolved(QUrl(name))), done);
}

void WebDav::makeFolder(const Done &done)
{
    send(request("MKCOL", m_folder), done);
}

void WebDav::find(const QUrl &url, int depth, const Done &done)
{
    ZkHttpRequest find = request("PROPFIND", url.isEmpty() ? m_folder : url);
    find.headers.append(qMakePair(QByteArray("Depth"), QByteArray(QByteArray::number(depth))));
    find.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/xml")));
    find.body = "<?xml version=\"1.0\" encoding=\"utf-8\"?>"
                "<propfind xmlns=\"DAV:\"><prop><getetag/></prop></propfind>";
    find.maxBytes = SyncListingMaxBytes;
    send(find, done);
}

// <multistatus><response><href>…/name</href><propstat><prop><getetag>…
// in the DAV: namespace, whatever prefix a server gives it.
QMap<QString, QByteArray> WebDav::listing(const QByteArray &multistatus)
{
    QMap<QString, QByteArray> files;
    QXmlStreamReader reader(multistatus);
    const QString dav = QStringLiteral("DAV:");
    QString name;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement || reader.namespaceUri() != dav)
            continue;
        if (reader.name() == QLatin1String("href")) {
            const QString path = QUrl(reader.readElementText().trimmed()).path();
            name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
        } else if (reader.name() == QLatin1String("getetag") && !name.isEmpty()) {
            files.insert(name, reader.readElementText().trimmed().toUtf8());
        }
    }
    return files;
}
