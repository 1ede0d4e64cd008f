#ifndef WEBDAVSERVER_H
#define WEBDAVSERVER_H

// A real WebDAV server on 127.0.0.1 for the sync tests, serving a folder of
// the test's own with one user: rclone's, or Apache's mod_dav where Apache
// is installed. Stopped when the object goes.

#include <QCryptographicHash>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

class WebDavServer
{
public:
    enum Kind { Rclone, Apache };

    static QString program(Kind kind)
    {
        return kind == Rclone ? QStandardPaths::findExecutable(QStringLiteral("rclone"))
                              : QStandardPaths::findExecutable(
                                    QStringLiteral("apache2"),
                                    {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    }

    ~WebDavServer()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(5000))
                m_process.kill();
            m_process.waitForFinished(5000);
        }
    }

    // Blocks until the server listens, at most a few seconds.
    bool start(Kind kind, const QString &user, const QString &password)
    {
        m_root = m_dir.path() + QStringLiteral("/root");
        QDir().mkpath(m_root);
        return kind == Rclone ? startRclone(user, password) : startApache(user, password);
    }

    QUrl url() const { return m_url; }
    QString root() const { return m_root; }
    // The files of the server's folder below root, as the server holds them.
    QByteArray file(const QString &name) const
    {
        QFile file(m_root + QLatin1Char('/') + name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList files(const QString &folder) const
    {
        return QDir(m_root + QLatin1Char('/') + folder).entryList(QDir::Files | QDir::Hidden);
    }

private:
    bool startRclone(const QString &user, const QString &password)
    {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program(Rclone),
                        {QStringLiteral("serve"), QStringLiteral("webdav"), m_root,
                         QStringLiteral("--addr"), QStringLiteral("127.0.0.1:0"),
                         QStringLiteral("--user"), user, QStringLiteral("--pass"), password,
                         QStringLiteral("--config"), QStringLiteral("/dev/null")});
        const QRegularExpression started(
            QStringLiteral("started on (http://127\\.0\\.0\\.1:\\d+/)"));
        QByteArray said;
        for (int i = 0; i < 100 && m_process.state() != QProcess::NotRunning; ++i) {
            m_process.waitForReadyRead(100);
            said += m_process.readAll();
            const QRegularExpressionMatch match = started.match(QString::fromUtf8(said));
            if (match.hasMatch()) {
                m_url = QUrl(match.captured(1));
                return true;
            }
        }
        qWarning() << "rclone did not start:" << said;
        return false;
    }

    // {SHA} passwords are the form Apache reads on every platform.
    bool startApache(const QString &user, const QString &password)
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        const quint16 port = probe.serverPort();
        probe.close();
        const QString dir = m_dir.path();
        QFile users(dir + QStringLiteral("/users"));
        users.open(QIODevice::WriteOnly);
        users.write(
            user.toUtf8() + ":{SHA}" +
            QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha1).toBase64() +
            "\n");
        users.close();
        // Apache serves as www-data when started by root.
        QFile::setPermissions(m_root, QFileDevice::Permissions(0x7777));
        QFile::setPermissions(dir, QFileDevice::Permissions(0x7777));
        const QString modules = QStringLiteral("/usr/lib/apache2/modules/");
        QString conf;
        for (const char *module : {"mpm_event", "authz_core", "authn_core", "authn_file",
                                   "auth_basic", "authz_user", "dav", "dav_fs"})
            conf += QStringLiteral("LoadModule %1_module %2mod_%1.so\n")
                        .arg(QLatin1String(module), modules);
        conf += QStringLiteral("ServerName 127.0.0.1\nListen 127.0.0.1:%1\nPidFile %2/pid\n"
                               "ErrorLog %2/error.log\nDavLockDB %2/lock\n"
                               "User www-data\nGroup www-data\nDocumentRoot %3\n"
                               "<Directory %3>\n Dav On\n AuthType Basic\n AuthName dav\n"
                               " AuthUserFile %2/users\n Require valid-user\n</Directory>\n")
                    .arg(port)
                    .arg(dir, m_root);
        QFile file(dir + QStringLiteral("/httpd.conf"));
        file.open(QIODevice::WriteOnly);
        file.write(conf.toUtf8());
        file.close();
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(program(Apache),
                        {QStringLiteral("-f"), file.fileName(), QStringLiteral("-DFOREGROUND")});
        for (int i = 0; i < 100 && m_process.state() != QProcess::NotRunning; ++i) {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, port);
            if (socket.waitForConnected(100)) {
                m_url = QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(port));
                return true;
            }
            QTest::qWait(50);
        }
        qWarning() << "apache did not start:" << m_process.readAll();
        return false;
    }

    QTemporaryDir m_dir;
    QString m_root;
    QProcess m_process;
    QUrl m_url;
};

#endif // WEBDAVSERVER_H
