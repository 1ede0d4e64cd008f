#ifndef SHELFMODEL_H
#define SHELFMODEL_H

#include "BookFacts.h"

#include <QAbstractTableModel>
#include <QVector>

class ReadingState;

// The books of the reading state as the shelf lists them, most recently
// read first: the title, how far each was read, when, and whether its file
// is still there (or where it was found again).
class ShelfModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TitleColumn, ProgressColumn, LastReadColumn, PlaceColumn, ColumnCount };
    enum Role {
        FileRole = Qt::UserRole, // the file to open: where it is now
        ThereRole,               // bool: it can be opened
        SearchRole               // what the filter looks in
    };

    explicit ShelfModel(QObject *parent = nullptr);

    // Reads the books anew; each file's presence is asked once, here.
    void load(const ReadingState &state);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The books whose file is gone, with what tells them again, and the
    // folders worth looking in: each one's own and those of the other books.
    struct Missing {
        QString fileName;
        BookFacts facts;
    };
    QVector<Missing> missing() const;
    QStringList folders() const;
    // fileName's book lies at foundName now.
    void setFound(const QString &fileName, const QString &foundName);
    QString fileName(int row) const { return m_books.at(row).fileName; }

    // A title for the shelf: the file's name, with the first chapter's title
    // where the name alone says little (a number, a single character).
    static QString titleOf(const QString &fileName, const QString &firstChapter);

private:
    struct Book {
        QString fileName;  // as the state has it
        QString foundName; // where a moved book was found again, if it was
        QString title;
        BookFacts facts;
        qint64 lastRead = 0;
        bool there = false;

        // The file that holds the book now.
        const QString &currentName() const { return foundName.isEmpty() ? fileName : foundName; }
    };

    QVector<Book> m_books;
};

#endif // SHELFMODEL_H
