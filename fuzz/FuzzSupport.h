#ifndef FUZZSUPPORT_H
#define FUZZSUPPORT_H

// What the fuzz targets share: an application for Qt's fonts and codecs,
// a way to fail that libFuzzer records, and the round trip of a store.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzz
{

inline void startApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

// A broken promise: libFuzzer keeps the input that led here.
inline void require(bool holds, const char *what)
{
    if (holds)
        return;
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The input as a store's file: load, save, load into fresh values, save
// again. The second file must be the first byte for byte, or something
// read was not written or something written did not read back the same.
template <typename Store, typename Reset>
void roundTrip(const uint8_t *data, size_t size, Reset reset)
{
    // Saving syncs the file to disk; in memory that costs nothing.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/quirelle-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/quirelle-fuzz-XXXXXX"));
    const QString path = dir.filePath(QStringLiteral("store.xml"));
    QFile input(path);
    require(input.open(QIODevice::WriteOnly), "input file opens");
    input.write(reinterpret_cast<const char *>(data), qint64(size));
    input.close();

    reset();
    Store store;
    store.load(path);
    require(store.save(path), "first save succeeds");
    const QByteArray first = readFile(path);
    reset();
    Store again;
    again.load(path);
    require(again.save(path), "second save succeeds");
    require(readFile(path) == first, "a saved file reads back as it was written");
    // the originals a damaged input leaves beside the file
    for (const QString &name : QDir(dir.path()).entryList(QDir::Files))
        QFile::remove(dir.filePath(name));
}

} // namespace fuzz

#endif // FUZZSUPPORT_H
