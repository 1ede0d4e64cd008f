#include "ShelfCase.h"

#include "BenchSupport.h"
#include "BookFingerprint.h"
#include "MovedBookFinder.h"
#include "ReadingState.h"
#include "ShelfDialog.h"
#include "ShelfModel.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSortFilterProxyModel>
#include <QTemporaryDir>

using bench::report;

namespace
{
const int Books = 500, Folders = 10, Gone = 25, Moved = 25;

// Books of about 64 KiB, every one its own text, ten folders of them; like
// real novels, most differ in size.
QString writeBook(const QDir &root, int number)
{
    const QString folder = root.filePath(QStringLiteral("folder%1").arg(number % Folders));
    QDir().mkpath(folder);
    const QString name = QStringLiteral("%1/第%2本书.txt").arg(folder).arg(number);
    QFile file(name);
    file.open(QIODevice::WriteOnly);
    const QByteArray line = QStringLiteral("第%1本书的一行字。\n").arg(number).toUtf8();
    file.write(line.repeated(2000 + number % 97));
    return name;
}

double elapsed(QElapsedTimer &timer)
{
    const double ms = timer.nsecsElapsed() / 1e6;
    timer.restart();
    return ms;
}
} // namespace

int runShelfBench(const BenchCase &)
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    const QString stateFile = root.filePath(QStringLiteral("ReadingState.xml"));
    {
        ReadingState state;
        for (int i = 0; i < Books; ++i) {
            const QString book = writeBook(root, i);
            state.setPosition(book, 1000 + i);
            BookFacts facts;
            facts.progress = i % 1000;
            facts.chapter = 1 + i % 300;
            facts.chapters = 300;
            facts.firstChapter = QStringLiteral("第一章 风起");
            facts.fingerprint = BookFingerprint::of(book);
            facts.size = QFileInfo(book).size();
            state.setFacts(book, facts);
            // The first books are gone, the next moved into another folder.
            if (i < Gone)
                QFile::remove(book);
            else if (i < Gone + Moved)
                QFile::rename(book, root.filePath(QStringLiteral("folder0/移来的%1.txt").arg(i)));
        }
        state.save(stateFile);
    }
    QElapsedTimer timer;
    timer.start();
    ReadingState state;
    state.load(stateFile);
    report("shelf_state_load_ms", elapsed(timer));
    ShelfModel model;
    model.load(state);
    report("shelf_rows_ms", elapsed(timer));
    report("shelf_books", model.rowCount());
    QSortFilterProxyModel filter;
    filter.setSourceModel(&model);
    filter.setFilterRole(ShelfModel::SearchRole);
    elapsed(timer);
    filter.setFilterFixedString(QStringLiteral("第7"));
    report("shelf_filter_ms", elapsed(timer));
    QVector<BookFacts> missing;
    for (const ShelfModel::Missing &book : model.missing())
        missing << book.facts;
    const QStringList places = MovedBookFinder::find(missing, model.folders());
    const int found = places.size() - places.count(QString());
    report("shelf_find_moved_ms", elapsed(timer));
    report("shelf_found_again", found);
    ShelfDialog dialog(&model, nullptr);
    dialog.show();
    // Shown and painted once the events it set off are done.
    QCoreApplication::processEvents();
    report("shelf_dialog_shown_ms", elapsed(timer));
    return found == Moved ? 0 : 1;
}
