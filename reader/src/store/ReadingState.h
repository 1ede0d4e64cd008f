#ifndef READINGSTATE_H
#define READINGSTATE_H

#include "ComfortSettings.h"
#include "ZkXmlFile.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class QIODevice;

// What the reader keeps between runs besides its settings and bookmarks:
// where each recently shown file was being read, the comfort settings of the
// reading layout and the main window's geometry and dock layout. It has a
// file of its own, so that Config.xml keeps its form. A value the file holds
// that cannot be used leaves the default in its place and costs nothing else.
class ReadingState : public ZkXmlFile
{
    Q_OBJECT

public:
    static constexpr int MaxPositions = 500;

    explicit ReadingState(QObject *parent = nullptr);

    void readParse(QXmlStreamReader *reader) override;
    void writeParse(QXmlStreamWriter *writer) override;

    // Files count as the same by their absolute path. -1 for a file that
    // was never recorded.
    int position(const QString &fileName) const;
    // Makes fileName the most recently read file; the oldest beyond
    // MaxPositions are forgotten. False when nothing changed.
    bool setPosition(const QString &fileName, int position);
    // A choice made for one book (the rule its chapters are found by, the
    // script it is shown in, …), kept beside its reading position and gone
    // with it; empty where none was made. key is an XML name, the feature's
    // own; value any text, empty to forget the choice. A book without a
    // position yet gets one at its start. False when nothing changed.
    QString choice(const QString &fileName, const QString &key) const;
    bool setChoice(const QString &fileName, const QString &key, const QString &value);

    ComfortSettings comfort;
    // Whether books read for the first time get their paragraphs tidied.
    bool tidyParagraphsByDefault = false;
    QByteArray windowGeometry; // QWidget::saveGeometry()
    QByteArray windowState;    // QMainWindow::saveState(): docks and toolbars

private:
    struct Place {
        QString fileName; // absolute
        int position;
        QMap<QString, QString> choices;
    };

    int indexOf(const QString &absoluteName) const;
    void readComfort(QXmlStreamReader *reader);
    void readView(QXmlStreamReader *reader);
    void readWindow(QXmlStreamReader *reader);
    void readPositions(QXmlStreamReader *reader);
    void readPlace(QXmlStreamReader *reader);
    void readLinesAfter(QIODevice *device, qint64 damagedLine);
    void writePositions(QXmlStreamWriter *writer);

    QList<Place> m_places; // most recent first
};

#endif // READINGSTATE_H
