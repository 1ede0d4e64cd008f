#include "ZkCheckUpdate.h"

#include "ZkGuardedGet.h"
#include "ZkUtility.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrl>

ZkCheckUpdate::ZkCheckUpdate(QObject *parent)
    : QObject(parent), m_manager(zk::newGuardedManager())
{
    connect(m_manager, &QNetworkAccessManager::finished, this, &ZkCheckUpdate::downloadFinished);
}

ZkCheckUpdate::~ZkCheckUpdate()
{
    // Replies torn down with the manager must not reach a half-destroyed
    // checker.
    m_manager->disconnect(this);
    delete m_manager;
}

void ZkCheckUpdate::exec(const QString &url, const QString &id, const QString &version,
                         const QString &pageUrl, QWidget *parent, bool showPrompt)
{
    m_pageUrl = pageUrl;
    m_promptParent = parent;
    m_showPrompt = showPrompt;

    // The endpoint expects the query exactly like this, empty field included.
    const QString address = url + QStringLiteral("?id=") + id + QStringLiteral("&&ver=") + version;
    zk::guardedGet(m_manager, QUrl(address, QUrl::TolerantMode), m_timeout, m_maxReplySize);
}

void ZkCheckUpdate::downloadFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    QByteArray body;
    if (!zk::takeGuardedBody(reply, m_maxReplySize, &body)) {
        emit update(false);
        return;
    }

    // Byte for byte, up to a zero byte, never trimmed: "1\n" is no update.
    const int end = body.indexOf('\0');
    if (end >= 0)
        body.truncate(end);
    if (QString::fromLatin1(body) != QLatin1String("1")) {
        emit update(false);
        return;
    }

    if (m_showPrompt)
        haveUpdate();
    emit update(true);
}

void ZkCheckUpdate::haveUpdate()
{
    const QMessageBox::StandardButton answer =
        QMessageBox::question(m_promptParent, QCoreApplication::translate("QObject", "更新提示"),
                              QCoreApplication::translate("QObject", "有新版本是否查看？"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (answer == QMessageBox::Ok)
        zk::openUrl(m_pageUrl);
}
