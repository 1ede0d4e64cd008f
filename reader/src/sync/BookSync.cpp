#include "BookSync.h"

#include "SyncMerge.h"
#include "SyncState.h"
#include "WebDav.h"

#include <QUuid>

namespace
{

QString recordName(const QString &fingerprint)
{
    return fingerprint + QStringLiteral(".xml");
}

bool isSuccess(int status)
{
    return status >= 200 && status < 300;
}

} // namespace

QString BookSync::uploadMark(const QString &machine)
{
    return machine.left(8) + QLatin1Char('-');
}

bool BookSync::isStrayOf(const QString &name, const QString &machine)
{
    return name.endsWith(QLatin1String(".part")) &&
           name.contains(QLatin1Char('.') + uploadMark(machine));
}

BookSync::BookSync(WebDav *dav, SyncState *state, const QString &stateFile, LocalBooks *books,
                   const QString &fingerprint, Done done)
    : m_dav(dav), m_state(state), m_stateFile(stateFile), m_books(books),
      m_fingerprint(fingerprint), m_fileName(state->fileOf(fingerprint)), m_done(std::move(done))
{
}

void BookSync::start()
{
    m_dav->get(recordName(m_fingerprint), [this](const ZkHttpResponse &r) { fetched(r); });
}

// A record a newer release wrote stays as it is: this one would drop what
// it does not understand. One that cannot be read is replaced.
void BookSync::fetched(const ZkHttpResponse &response)
{
    SyncRecord remote;
    remote.fingerprint = m_fingerprint;
    if (response.answered() && response.status == 200) {
        m_tag = response.header("ETag");
        SyncRecord read;
        const SyncRecord::Reading reading = SyncRecord::fromXml(response.body, &read);
        if (reading == SyncRecord::Reading::Newer)
            return m_done({Outcome::Newer, {}, {}, 0});
        if (reading == SyncRecord::Reading::Whole && read.fingerprint == m_fingerprint)
            remote = read;
    } else if (!response.answered() || response.status != 404) {
        return fail(response, false);
    }
    m_local = m_books->record(m_fingerprint, m_fileName);
    m_merged = SyncMerge::merge(m_state->agreed(m_fingerprint), m_local, remote,
                                SyncMerge::conflictTitle());
    if (m_merged == remote)
        return agree();
    m_tag.clear(); // a record of ours, whose tag the server has not told
    upload();
}

void BookSync::upload()
{
    m_upload = m_fingerprint + QLatin1Char('.') + uploadMark(m_state->machine()) +
               QUuid::createUuid().toString(QUuid::Id128).left(12) + QStringLiteral(".part");
    m_dav->put(m_upload, m_merged.toXml(), [this](const ZkHttpResponse &r) { uploaded(r); });
}

// 409: the folder is not there yet (404 on some servers). A transfer cut
// off may have left part of itself behind.
void BookSync::uploaded(const ZkHttpResponse &response)
{
    if (response.answered() && (response.status == 409 || response.status == 404) &&
        !m_madeFolder) {
        m_madeFolder = true;
        return m_dav->makeFolder([this](const ZkHttpResponse &r) { folderMade(r); });
    }
    if (!response.answered() || !isSuccess(response.status))
        return fail(response, !response.answered());
    m_dav->move(m_upload, recordName(m_fingerprint), [this](const ZkHttpResponse &r) { moved(r); });
}

// 405: made meanwhile, by another machine.
void BookSync::folderMade(const ZkHttpResponse &response)
{
    if (response.answered() && (isSuccess(response.status) || response.status == 405))
        return upload();
    fail(response, false);
}

void BookSync::moved(const ZkHttpResponse &response)
{
    if (!response.answered() || !isSuccess(response.status))
        return fail(response, true);
    agree();
}

// The server holds the merged record: it is what both sides agree on now.
// What changed here while the record was on its way is merged on top of it
// and waits for the next sync.
void BookSync::agree()
{
    m_state->setAgreed(m_fingerprint, m_merged);
    m_state->setTag(m_fingerprint, m_tag);
    m_state->save(m_stateFile);
    const SyncRecord now = m_books->record(m_fingerprint, m_fileName);
    const SyncRecord local = SyncMerge::merge(m_local, now, m_merged, SyncMerge::conflictTitle());
    Outcome outcome;
    outcome.changes = m_books->apply(m_fileName, local);
    outcome.position = local.position.at;
    m_done(outcome);
}

void BookSync::fail(const ZkHttpResponse &response, bool leftStray)
{
    if (leftStray)
        m_dav->remove(m_upload, [](const ZkHttpResponse &) {});
    m_done({Outcome::Failed, response, {}, 0});
}
