#ifndef DOCUMENTFEEDER_H
#define DOCUMENTFEEDER_H

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

class QTextEdit;

// Puts the pieces of a text that arrive from the loader at the end of the
// view's document, a slice at a time and for a bounded time per pass of the
// event loop, so that the window answers while a novel comes in. The text
// is kept whole as it arrives, before it is in the document: what waits for
// the document costs no second copy, and the whole text is there for those
// who want it as soon as the loader is done, well before the document has
// all of it.
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
    // The loader is done: the text is read (allRead()), and once the
    // waiting pieces are in, the document has it all (complete()).
    void finish();

signals:
    // The whole text as it will be in the document, which may still be
    // taking it. Implicitly shared, like complete()'s.
    void allRead(const QString &text);
    // A piece, reaching bytesRead into the file, is in the document.
    void pieceTaken(const QString &piece, qint64 bytesRead);
    // Text went into the document in this pass.
    void appended();
    // The whole text, as the view got it. Implicitly shared: a receiver that
    // keeps it keeps the text alive.
    void complete(const QString &text);

private:
    void appendPieces();
    int sliceLength(int end) const;
    void completeText();

    QTextEdit *m_textWidget = nullptr; // the reading view, not owned
    bool m_feeding = false;            // the text's end is still to come
    bool m_readToTheEnd = false;       // the loader is done; pieces may still wait
    struct PieceEnd {
        int end;          // in m_text
        qint64 bytesRead; // how far into the file the piece reaches
    };
    QVector<PieceEnd> m_waiting; // pieces not wholly in the document yet
    int m_inDocument = 0;        // characters of m_text in the document
    int m_pieceStart = 0;        // where the first waiting piece starts
    QString m_text;              // the text read so far
    QTimer m_appendTimer;
};

#endif // DOCUMENTFEEDER_H
