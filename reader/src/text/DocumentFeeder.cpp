#include "DocumentFeeder.h"

#include "TextTuning.h"

#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <limits>

using namespace TextTuning;

DocumentFeeder::DocumentFeeder(QObject *parent) : QObject(parent)
{
    m_appendTimer.setSingleShot(true);
    m_appendTimer.setInterval(0);
    connect(&m_appendTimer, &QTimer::timeout, this, &DocumentFeeder::appendPieces);
}

void DocumentFeeder::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
}

// Room for the whole text, so that it grows without copies.
void DocumentFeeder::begin(const QString &start, qint64 expectedLength)
{
    clear();
    m_feeding = true;
    m_text = start;
    m_text.reserve(
        int(qBound<qint64>(start.size(), expectedLength, std::numeric_limits<int>::max() / 2)));
}

void DocumentFeeder::clear()
{
    m_appendTimer.stop();
    m_pieces.clear();
    m_pieceEnds.clear();
    m_pieceOffset = 0;
    m_text.clear();
    m_feeding = false;
    m_readToTheEnd = false;
}

void DocumentFeeder::takePiece(const QString &text, qint64 bytesRead)
{
    m_pieces.append(text);
    m_pieceEnds.append(bytesRead);
    if (!m_appendTimer.isActive())
        m_appendTimer.start();
}

void DocumentFeeder::finish()
{
    m_readToTheEnd = true;
    if (m_pieces.isEmpty())
        completeText();
}

// A slice at a time, while the pass lasts.
void DocumentFeeder::appendPieces()
{
    QElapsedTimer clock;
    clock.start();
    QTextCursor cursor(m_textWidget->document());
    // One change of the document per pass. Inside an edit block a cursor
    // also leaves its block alone: outside one, each move and insert would
    // lay out the last block and a screen of text above it.
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    while (!m_pieces.isEmpty() && clock.elapsed() < AppendMilliseconds) {
        const QString &piece = m_pieces.first();
        const int length = sliceLength(piece, m_pieceOffset);
        cursor.insertText(m_pieceOffset == 0 && length == piece.size()
                              ? piece
                              : piece.mid(m_pieceOffset, length));
        m_pieceOffset += length;
        if (m_pieceOffset < piece.size())
            continue;
        m_text += piece;
        const QString taken = piece;
        const qint64 bytesRead = m_pieceEnds.first();
        m_pieces.removeFirst();
        m_pieceEnds.removeFirst();
        m_pieceOffset = 0;
        emit pieceTaken(taken, bytesRead);
    }
    cursor.endEditBlock();
    emit appended();
    if (!m_pieces.isEmpty())
        m_appendTimer.start();
    else if (m_readToTheEnd)
        completeText();
}

// Up to a line break: a slice never splits a character or a CR LF pair,
// and a block is laid out again only when its line is whole. A line longer
// than a slice goes in whole, as the loader hands it over.
int DocumentFeeder::sliceLength(const QString &piece, int from) const
{
    if (piece.size() - from <= SliceCharacters)
        return piece.size() - from;
    int lineEnd = piece.lastIndexOf(QLatin1Char('\n'), from + SliceCharacters - 1);
    if (lineEnd < from)
        lineEnd = piece.indexOf(QLatin1Char('\n'), from + SliceCharacters);
    return lineEnd < 0 ? piece.size() - from : lineEnd + 1 - from;
}

void DocumentFeeder::completeText()
{
    const QString text = m_text;
    clear();
    emit complete(text);
}
