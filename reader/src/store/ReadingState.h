#ifndef READINGSTATE_H
#define READINGSTATE_H

#include "BookFacts.h"
#include "ChangeStamp.h"
#include "ComfortSettings.h"
#include "ZkXmlFile.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

class QIODevice;

// What the reader keeps between runs besides its settings and bookmarks:
// where each recently shown file was being read, the comfort settings of the
// reading layout and the main window's geometry and dock layout. It has a
// file of its own, so that Config.xml keeps its form. A value the file holds
// that cannot be used leaves the default in its place and costs nothing else.
//
// Its source is over 400 lines: reading each of its sections tolerantly,
// writing them, and merging with the copy on disk under a lock are the one
// store's; what is kept per book beyond its place (BookFacts, ChangeStamp)
// reads and writes itself.
class ReadingState : public ZkXmlFile
{
    Q_OBJECT

public:
    static constexpr int MaxPositions = 500;

    explicit ReadingState(QObject *parent = nullptr);

    void readParse(QXmlStreamReader *reader) override;
    void writeParse(QXmlStreamWriter *writer) override;
    // Another window or a second run of the reader may have saved the file
    // since it was loaded: the places it holds are merged in first, book by
    // book, the later change of each winning, so that no copy writes over
    // what another read meanwhile. The settings are this copy's.
    bool save(const QString &fileName) override;

    // Files count as the same by their absolute path. -1 for a file that
    // was never recorded.
    int position(const QString &fileName) const;
    // Makes fileName the most recently read file; the oldest beyond
    // MaxPositions are forgotten. False when nothing changed. A move is
    // stamped as made now; a book first seen at its start is not moved yet.
    bool setPosition(const QString &fileName, int position);
    // A position that changed elsewhere, with the stamp of that change.
    void setPosition(const QString &fileName, int position, const ChangeStamp &stamp);
    ChangeStamp positionStamp(const QString &fileName) const;
    // When the book was last on screen here or moved elsewhere, in
    // milliseconds since the epoch; 0 when not known.
    qint64 lastRead(const QString &fileName) const;
    // Every book with a place, most recently read first.
    QStringList fileNames() const;
    // The book leaves the store, also from the file on the next save,
    // though another copy still had it.
    void forget(const QString &fileName);
    // A choice made for one book (the rule its chapters are found by, the
    // script it is shown in, …), kept beside its reading position and gone
    // with it; empty where none was made. key is an XML name, the feature's
    // own; value any text, empty to forget the choice. A book without a
    // position yet gets one at its start. False when nothing changed.
    // The key must not be one of reservedNames().
    QString choice(const QString &fileName, const QString &key) const;
    bool setChoice(const QString &fileName, const QString &key, const QString &value);
    // Every choice of a book, and when the latest of them was made.
    QMap<QString, QString> choices(const QString &fileName) const;
    ChangeStamp choicesStamp(const QString &fileName) const;
    // Choices made elsewhere: replace the book's whole set.
    void setChoices(const QString &fileName, const QMap<QString, QString> &choices,
                    const ChangeStamp &stamp);
    // What the shelf shows of a book; empty facts for a book without a place.
    BookFacts facts(const QString &fileName) const;
    // Only for a book with a place. False when nothing changed.
    bool setFacts(const QString &fileName, const BookFacts &facts);
    // The book's file is now at newName (it was moved): its place, choices
    // and facts go with it. False when oldName has no place.
    bool moveBook(const QString &oldName, const QString &newName);

    // Names the store keeps for itself beside the choices of a book.
    static bool isReservedName(const QString &key);
    // The name a file counts as, wherever it is named from: absolute, clean.
    static QString absoluteName(const QString &fileName);

    ComfortSettings comfort;
    // Whether a start without a file opens the book read last.
    bool reopenLastBook = true;
    // Whether books read for the first time get their paragraphs tidied.
    bool tidyParagraphsByDefault = false;
    // The script books read for the first time are shown in: a key of
    // ScriptChoice, empty for the file's own.
    QString scriptByDefault;
    QByteArray windowGeometry; // QWidget::saveGeometry()
    QByteArray windowState;    // QMainWindow::saveState(): docks and toolbars

private:
    struct Place {
        QString fileName; // absolute
        int position;
        QMap<QString, QString> choices;
        ChangeStamp positionStamp;
        ChangeStamp choicesStamp;
        qint64 lastRead = 0;
        BookFacts facts;
    };

    int indexOf(const QString &absoluteName) const;
    Place takePlace(const QString &absoluteName);
    void putFirst(const Place &place);
    void readComfort(QXmlStreamReader *reader);
    void readView(QXmlStreamReader *reader);
    void readWindow(QXmlStreamReader *reader);
    void readPositions(QXmlStreamReader *reader);
    void readPlace(QXmlStreamReader *reader);
    void readLinesAfter(QIODevice *device, qint64 damagedLine);
    void writePositions(QXmlStreamWriter *writer);
    void mergePlaces(const QList<Place> &saved);

    QList<Place> m_places;   // most recent first
    QStringList m_forgotten; // since the last save, absolute names
};

#endif // READINGSTATE_H
