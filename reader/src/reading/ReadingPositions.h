#ifndef READINGPOSITIONS_H
#define READINGPOSITIONS_H

#include <QObject>
#include <QString>

class QScrollBar;
class QTimer;
class ReadingState;
class TextDisplay;

// Brings each file back to where it was being read. The text at the top of
// the view is recorded when another text replaces it and a few seconds after
// the view stops moving (at the latest a few more while it keeps moving, as
// with automatic scrolling), and written to the store's file then; a file
// that is opened again, by any road, returns there.
class ReadingPositions : public QObject
{
    Q_OBJECT

public:
    explicit ReadingPositions(QObject *parent = nullptr);

    void setTextDisplay(TextDisplay *display);
    void setScrollBar(QScrollBar *bar);
    void setReadingState(ReadingState *state);

    // Puts the position of the file on screen into the store, without
    // writing the file.
    void record();

private:
    void leave(const QString &fileName);
    void open(const QString &fileName);
    void restorePosition(const QString &fileName);
    void viewMoved();
    void saveMoves();
    void save();

    TextDisplay *m_textDisplay = nullptr; // not owned
    ReadingState *m_state = nullptr;      // not owned
    QTimer *m_quietTimer;                 // child: runs out once the view rests
    QTimer *m_longestWait;                // child: runs out while the view keeps moving
    QString m_fileName;                   // the file on screen; empty before the first
    bool m_unsaved = false;               // the store holds positions its file does not
    int m_recorded = -1;                  // of m_fileName, by this window; -1 since it opened
};

#endif // READINGPOSITIONS_H
