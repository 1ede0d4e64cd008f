#include "ZkSafeSave.h"

#include <QSaveFile>

namespace zk
{

bool saveWhole(const QString &fileName, const std::function<bool(QIODevice *)> &write,
               InPlace inPlace)
{
    QSaveFile file(fileName);
    file.setDirectWriteFallback(inPlace == InPlace::WhereNoNewFileFits);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // commit() drops the new file when a write failed (a full disk, say) or
    // the writing was cancelled. It misses a failure that only shows when
    // its buffer is flushed, as with content smaller than that buffer, and
    // would then put a truncated file in place of the old one: flushing
    // first catches it.
    const bool written = write(&file) && file.flush();
    if (!written)
        file.cancelWriting();
    return file.commit() && written;
}

} // namespace zk
