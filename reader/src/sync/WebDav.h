#ifndef WEBDAV_H
#define WEBDAV_H

#include "ZkHttpClient.h"

#include <QMap>
#include <QObject>
#include <QUrl>

// The few WebDAV requests keeping in step needs, on the files of one folder
// of the server, each bounded by the client's limits and a deadline. The
// password goes into each request's Authorization field and nowhere else.
class WebDav : public QObject
{
    Q_OBJECT

public:
    using Done = ZkHttpClient::Done;

    explicit WebDav(QObject *parent = nullptr);

    // folder ends with a slash; names below are relative to it.
    void setAccount(const QUrl &folder, const QString &user, const QString &password);
    void setDeadline(int milliseconds) { m_deadlineMs = milliseconds; }
    QUrl folder() const { return m_folder; }

    void get(const QString &name, const Done &done);
    void put(const QString &name, const QByteArray &body, const Done &done);
    // Replaces to whatever was there, in one step on the server.
    void move(const QString &from, const QString &to, const Done &done);
    void remove(const QString &name, const Done &done);
    void makeFolder(const Done &done);
    // PROPFIND on url (the folder when empty), depth 0 or 1.
    void find(const QUrl &url, int depth, const Done &done);

    // The files a PROPFIND of depth 1 lists, by name, with their tags.
    static QMap<QString, QByteArray> listing(const QByteArray &multistatus);

    // Requests sent since construction.
    int requestCount() const { return m_requests; }
    void abortAll() { m_client->abortAll(); }

private:
    ZkHttpRequest request(const QByteArray &method, const QUrl &url) const;
    void send(const ZkHttpRequest &request, const Done &done);

    ZkHttpClient *m_client; // child
    QUrl m_folder;
    QByteArray m_authorization;
    int m_deadlineMs = 20000;
    int m_requests = 0;
};

#endif // WEBDAV_H
