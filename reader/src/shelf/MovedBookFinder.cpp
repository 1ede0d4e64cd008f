#include "MovedBookFinder.h"

#include "BookFingerprint.h"

#include <QDir>
#include <QFileInfo>

QString MovedBookFinder::find(const BookFacts &facts, const QStringList &folders)
{
    if (facts.fingerprint.isEmpty())
        return QString();
    for (const QString &folder : folders) {
        const QFileInfoList files = QDir(folder).entryInfoList(
            {QStringLiteral("*.txt"), QStringLiteral("*.TXT")}, QDir::Files | QDir::Readable);
        for (int i = 0; i < files.size() && i < MaxFilesPerFolder; ++i) {
            const QFileInfo &file = files.at(i);
            if (facts.size >= 0 && file.size() != facts.size)
                continue;
            if (BookFingerprint::of(file.absoluteFilePath()) == facts.fingerprint)
                return file.absoluteFilePath();
        }
    }
    return QString();
}
