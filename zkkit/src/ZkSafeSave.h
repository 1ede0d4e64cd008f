#ifndef ZKSAFESAVE_H
#define ZKSAFESAVE_H

#include <QString>

#include <functional>

class QIODevice;

namespace zk
{

// Where the file may be replaced by itself rather than by a new file: a
// writable file in a folder that takes no new files is then rewritten in
// place, as a plain write would (and a crash during that write tears it).
enum class InPlace { Never, WhereNoNewFileFits };

// Replaces fileName with what write puts on the device, and only ever
// whole: the new content goes to a temporary file beside it, which takes the
// old one's place once everything was written and flushed. False, with the
// old file as it was, when the temporary file cannot be made, write reports
// a failure, the disk fills up or the replacing fails.
bool saveWhole(const QString &fileName, const std::function<bool(QIODevice *)> &write,
               InPlace inPlace = InPlace::Never);

} // namespace zk

#endif // ZKSAFESAVE_H
