#ifndef DOCUMENTFEEDER_H
#define DOCUMENTFEEDER_H

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>

class QTextEdit;

// Puts the pieces of a text that arrive from the loader at the end of the
// view's document, a slice at a time and for a bounded time per pass of the
// event loop, so that the window answers while a novel comes in. It keeps
// the whole text as it arrives, for those who want it once it is complete.
class DocumentFeeder : public QObject
{
    Q_OBJECT

public:
    explicit DocumentFeeder(QObject *parent = nullptr);

    void setTextWidget(QTextEdit *edit);

    // A text begins with start, which the document holds already; more
    // follows, about expectedLength characters in all.
    void begin(const QString &start, qint64 expectedLength);
    // The text and the pieces still waiting are dropped.
    void clear();
    bool isFeeding() const { return m_feeding; }

public slots:
    // text follows what came before; bytesRead is how far into the file it
    // reaches.
    void takePiece(const QString &text, qint64 bytesRead);
    // The loader is done: once the waiting pieces are in, the text is whole.
    void finish();

signals:
    // A piece, reaching bytesRead into the file, is in the document.
    void pieceTaken(const QString &piece, qint64 bytesRead);
    // Text went into the document in this pass.
    void appended();
    // The whole text, as the view got it. Implicitly shared: a receiver that
    // keeps it keeps the text alive.
    void complete(const QString &text);

private:
    void appendPieces();
    int sliceLength(const QString &piece, int from) const;
    void completeText();

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    bool m_feeding = false;            // the text's end is still to come
    bool m_readToTheEnd = false;       // the loader is done; pieces may still wait
    QStringList m_pieces;              // read, not yet in the document
    QVector<qint64> m_pieceEnds;       // how far into the file each piece reaches
    int m_pieceOffset = 0;             // characters of the first piece in the document
    QString m_text;                    // the text so far
    QTimer m_appendTimer;
};

#endif // DOCUMENTFEEDER_H
