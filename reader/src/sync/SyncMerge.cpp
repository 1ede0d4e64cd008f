#include "SyncMerge.h"

#include <QCoreApplication>
#include <QSet>

namespace
{

// The bookmark a position that lost is kept as. Its stamp is the lost
// change's own, so two machines that both meet the conflict make the same
// bookmark, which the set merge then keeps once.
SyncRecord::Bookmark keptPosition(const SyncRecord::Position &lost, const QString &title)
{
    return {title, QString::number(lost.at), lost.stamp, false};
}

} // namespace

QString SyncMerge::conflictTitle()
{
    return QCoreApplication::translate("QObject", "另一台电脑上的位置");
}

SyncRecord SyncMerge::merge(const SyncRecord &agreed, const SyncRecord &local,
                            const SyncRecord &remote, const QString &conflictTitle)
{
    SyncRecord merged;
    merged.fingerprint = !local.fingerprint.isEmpty() ? local.fingerprint : remote.fingerprint;
    merged.title = !remote.title.isEmpty() ? remote.title : local.title;
    merged.bookmarks = mergeBookmarks(local.bookmarks, remote.bookmarks);
    mergePosition(agreed, local, remote, conflictTitle, &merged);
    mergeChoices(agreed, local, remote, &merged);
    return merged;
}

void SyncMerge::mergePosition(const SyncRecord &agreed, const SyncRecord &local,
                              const SyncRecord &remote, const QString &conflictTitle,
                              SyncRecord *merged)
{
    const SyncRecord::Position &base = agreed.position;
    const bool localChanged = local.position.stamp != base.stamp;
    const bool remoteChanged = remote.position.stamp != base.stamp;
    // The server holding an older position than the one both agreed on
    // means a write of ours was lost to another machine's that had not seen
    // it: that is a conflict too, not a change to take.
    const SyncRecord::Position &ours =
        localChanged || !base.stamp.isLaterThan(remote.position.stamp) ? local.position : base;
    const bool conflict = remoteChanged && (localChanged || &ours == &base);
    if (!remoteChanged) {
        merged->position = local.position;
    } else if (!conflict) {
        merged->position = remote.position;
    } else {
        const bool oursLater = ours.stamp.isLaterThan(remote.position.stamp);
        merged->position = oursLater ? ours : remote.position;
        const SyncRecord::Position &lost = oursLater ? remote.position : ours;
        if (lost.at != merged->position.at && !lost.stamp.isNull())
            merged->bookmarks =
                mergeBookmarks(merged->bookmarks, {keptPosition(lost, conflictTitle)});
    }
}

// The union of both sets; where both hold the same bookmark, the later
// stamp tells whether it is there or removed.
QList<SyncRecord::Bookmark> SyncMerge::mergeBookmarks(const QList<SyncRecord::Bookmark> &local,
                                                      const QList<SyncRecord::Bookmark> &remote)
{
    QList<SyncRecord::Bookmark> merged = local;
    for (const SyncRecord::Bookmark &theirs : remote) {
        const auto same =
            std::find_if(merged.begin(), merged.end(), [&theirs](const SyncRecord::Bookmark &ours) {
                return ours.isSameAs(theirs);
            });
        if (same == merged.end())
            merged.append(theirs);
        else if (theirs.stamp.isLaterThan(same->stamp))
            *same = theirs;
    }
    SyncRecord::sortBookmarks(merged);
    return merged;
}

void SyncMerge::mergeChoices(const SyncRecord &agreed, const SyncRecord &local,
                             const SyncRecord &remote, SyncRecord *merged)
{
    const bool localLater = local.choicesStamp.isLaterThan(remote.choicesStamp);
    QSet<QString> keys;
    for (const QMap<QString, QString> *choices : {&agreed.choices, &local.choices, &remote.choices})
        for (auto key = choices->keyBegin(); key != choices->keyEnd(); ++key)
            keys.insert(*key);
    for (const QString &key : qAsConst(keys)) {
        const QString base = agreed.choices.value(key);
        const QString ours = local.choices.value(key);
        const QString theirs = remote.choices.value(key);
        QString value;
        if (ours == theirs || theirs == base)
            value = ours;
        else if (ours == base)
            value = theirs;
        else
            value = localLater ? ours : theirs;
        if (!value.isEmpty())
            merged->choices.insert(key, value);
    }
    merged->choicesStamp = localLater ? local.choicesStamp : remote.choicesStamp;
}
