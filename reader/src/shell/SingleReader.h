#ifndef SINGLEREADER_H
#define SINGLEREADER_H

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// Keeps one reader per user and settings folder: a second start hands the
// file it was given (or none) to the running reader and ends, so that one
// window, with one copy of the reading places, has every book. The running
// reader listens on a local socket whose name is made of the user and the
// folder of its settings, so that a portable copy or a test with a folder of
// its own keeps its own window.
class SingleReader : public QObject
{
    Q_OBJECT

public:
    // settingsFile: a file of the reader's settings folder.
    explicit SingleReader(const QString &settingsFile, QObject *parent = nullptr);

    // True when a running reader took fileName (an absolute path, or empty
    // for none): the caller then ends. Waits a few seconds at most.
    bool handOver(const QString &fileName) const;
    // Takes the files later starts hand over. False when another reader
    // started listening meanwhile (hand over to it) or the socket cannot be
    // had (run on alone).
    bool listen();

    QString serverName() const { return m_serverName; }

signals:
    // A later start was given fileName; empty when it was given none.
    void handedOver(const QString &fileName);

private:
    void accept();
    void readRequest(QLocalSocket *socket);

    QString m_serverName;
    QLocalServer *m_server; // child
};

#endif // SINGLEREADER_H
