#ifndef ZKCHECKUPDATE_H
#define ZKCHECKUPDATE_H

#include "zkkit_export.h"

#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QWidget;

// Asks a web endpoint whether a newer release exists and can offer the
// user to open a download page. Every failure is silent: it only ends in
// update(false).
class ZKKIT_EXPORT ZkCheckUpdate : public QObject
{
    Q_OBJECT

public:
    explicit ZkCheckUpdate(QObject *parent = nullptr);
    ~ZkCheckUpdate() override;

    // Sends url + "?id=" + id + "&&ver=" + version as it stands and returns
    // at once. The page, prompt parent and prompt choice of the latest call
    // serve every reply still outstanding.
    void exec(const QString &url, const QString &id, const QString &version, const QString &pageUrl,
              QWidget *parent, bool showPrompt);

    // Asks the user (Cancel is the default) and opens the page on OK.
    void haveUpdate();

    // Limits of every later request; a request that passes one counts as
    // failed. The defaults suit a reply that is a single digit.
    void setTimeout(int msec) { m_timeout = msec; }
    void setMaxReplySize(qint64 bytes) { m_maxReplySize = bytes; }

signals:
    void update(bool);

private slots:
    void downloadFinished(QNetworkReply *reply);

private:
    QString m_pageUrl;
    QWidget *m_promptParent = nullptr; // not owned
    bool m_showPrompt = false;
    QNetworkAccessManager *m_manager; // owned, deleted in the destructor

    int m_timeout = 30 * 1000;
    qint64 m_maxReplySize = 1024;
};

#endif // ZKCHECKUPDATE_H
