#ifndef SYNCSECRETS_H
#define SYNCSECRETS_H

#include <QObject>
#include <QString>

// The sync password, in the desktop's keyring through QtKeychain. Where no
// keyring answers (a desktop without one, a headless session) it is kept in
// this object's memory only, until the reader closes, and inMemoryOnly()
// says so. It is never written anywhere else.
class SyncSecrets : public QObject
{
    Q_OBJECT

public:
    // service: the keyring's name for the program's entries.
    explicit SyncSecrets(const QString &service, QObject *parent = nullptr);

    // Asks the keyring; passwordRead() answers, with an empty password when
    // it holds none.
    void read(const QString &account);
    // Keeps the password at once and asks the keyring to keep it too;
    // stored() tells where it went.
    void write(const QString &account, const QString &password);

    QString password() const { return m_password; }
    bool inMemoryOnly() const { return m_inMemoryOnly; }

signals:
    void passwordRead(const QString &password);
    void stored(bool inKeyring);

private:
    QString m_service;
    QString m_password;
    bool m_inMemoryOnly = false;
};

#endif // SYNCSECRETS_H
