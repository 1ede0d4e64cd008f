#include "MovedBookFinder.h"

#include "BookFingerprint.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

QStringList MovedBookFinder::find(const QVector<BookFacts> &books, const QStringList &folders)
{
    QSet<qint64> sizes;
    for (const BookFacts &book : books) {
        if (!book.fingerprint.isEmpty())
            sizes.insert(book.size);
    }
    // Files by size, in the folders' order; all of them for a book of no
    // known size.
    QHash<qint64, QStringList> bySize;
    QStringList all;
    for (const QString &folder : folders) {
        const QFileInfoList files =
            QDir(folder).entryInfoList({QStringLiteral("*.txt"), QStringLiteral("*.TXT")},
                                       QDir::Files | QDir::Readable, QDir::Name);
        for (int i = 0; i < files.size() && i < MaxFilesPerFolder; ++i) {
            const qint64 size = files.at(i).size();
            if (sizes.contains(size) || sizes.contains(-1)) {
                bySize[size] << files.at(i).absoluteFilePath();
                all << files.at(i).absoluteFilePath();
            }
        }
    }
    QHash<QString, QString> fingerprints; // of the candidates read so far
    const auto fingerprintOf = [&fingerprints](const QString &file) {
        auto known = fingerprints.find(file);
        if (known == fingerprints.end())
            known = fingerprints.insert(file, BookFingerprint::of(file));
        return known.value();
    };
    QStringList found;
    for (const BookFacts &book : books) {
        QString there;
        if (!book.fingerprint.isEmpty()) {
            const QStringList same = book.size >= 0 ? bySize.value(book.size) : all;
            for (const QString &file : same) {
                if (fingerprintOf(file) == book.fingerprint) {
                    there = file;
                    break;
                }
            }
        }
        found << there;
    }
    return found;
}
