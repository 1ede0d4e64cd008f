#include "SyncSecrets.h"

#include <qt5keychain/keychain.h>

SyncSecrets::SyncSecrets(const QString &service, QObject *parent)
    : QObject(parent), m_service(service)
{
}

void SyncSecrets::read(const QString &account)
{
    auto *job = new QKeychain::ReadPasswordJob(m_service, this);
    job->setKey(account);
    connect(job, &QKeychain::Job::finished, this, [this, job] {
        if (job->error() == QKeychain::NoError) {
            m_password = job->textData();
            m_inMemoryOnly = false;
        } else if (job->error() != QKeychain::EntryNotFound) {
            m_inMemoryOnly = true;
        }
        emit passwordRead(m_password);
    });
    job->start();
}

void SyncSecrets::write(const QString &account, const QString &password)
{
    m_password = password;
    auto *job = new QKeychain::WritePasswordJob(m_service, this);
    job->setKey(account);
    job->setTextData(password);
    connect(job, &QKeychain::Job::finished, this, [this, job] {
        m_inMemoryOnly = job->error() != QKeychain::NoError;
        emit stored(!m_inMemoryOnly);
    });
    job->start();
}
