#include "BookFingerprint.h"

#include <QCryptographicHash>
#include <QFile>

namespace
{

const qint64 StretchBytes = 64 * 1024;
// The start, the end and stretches between them at equal distances.
const int Stretches = 8;

} // namespace

QString BookFingerprint::of(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const qint64 size = file.size();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(QByteArray::number(size));
    const qint64 last = qMax<qint64>(0, size - StretchBytes);
    for (int i = 0; i < Stretches; ++i) {
        const qint64 from = last * i / (Stretches - 1);
        if (!file.seek(from))
            return QString();
        const QByteArray bytes = file.read(StretchBytes);
        if (file.error() != QFileDevice::NoError)
            return QString();
        hash.addData(bytes);
        if (last == 0)
            break; // the whole file was one stretch
    }
    return QString::fromLatin1(hash.result().toHex());
}
