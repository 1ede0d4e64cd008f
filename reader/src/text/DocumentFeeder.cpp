#include "DocumentFeeder.h"

#include "TextTuning.h"
#include "WorkerPool.h"

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
    m_inDocument = m_pieceStart = start.size();
    m_text.reserve(
        int(qBound<qint64>(start.size(), expectedLength, std::numeric_limits<int>::max() / 2)));
}

void DocumentFeeder::clear()
{
    m_appendTimer.stop();
    m_waiting.clear();
    m_inDocument = m_pieceStart = 0;
    WorkerPool::release(std::exchange(m_text, QString()));
    m_feeding = false;
    m_readToTheEnd = false;
}

void DocumentFeeder::takePiece(const QString &text, qint64 bytesRead)
{
    m_text += text;
    m_waiting.append({int(m_text.size()), bytesRead});
    if (!m_appendTimer.isActive())
        m_appendTimer.start();
}

void DocumentFeeder::finish()
{
    m_readToTheEnd = true;
    emit allRead(m_text);
    if (m_waiting.isEmpty())
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
    while (!m_waiting.isEmpty() && clock.elapsed() < AppendMilliseconds) {
        const PieceEnd piece = m_waiting.first();
        const int length = sliceLength(piece.end);
        cursor.insertText(m_text.mid(m_inDocument, length));
        m_inDocument += length;
        if (m_inDocument < piece.end)
            continue;
        const QString taken = m_text.mid(m_pieceStart, piece.end - m_pieceStart);
        m_pieceStart = piece.end;
        m_waiting.removeFirst();
        emit pieceTaken(taken, piece.bytesRead);
    }
    cursor.endEditBlock();
    emit appended();
    if (!m_waiting.isEmpty())
        m_appendTimer.start();
    else if (m_readToTheEnd)
        completeText();
}

// Up to a line break: a slice never splits a character or a CR LF pair,
// and a block is laid out again only when its line is whole. A line longer
// than a slice goes in whole, as the loader hands it over. The slice ends
// at end at the latest, the end of the piece being put in.
int DocumentFeeder::sliceLength(int end) const
{
    const int from = m_inDocument;
    if (end - from <= SliceCharacters)
        return end - from;
    int lineEnd = m_text.lastIndexOf(QLatin1Char('\n'), from + SliceCharacters - 1);
    if (lineEnd < from)
        lineEnd = m_text.indexOf(QLatin1Char('\n'), from + SliceCharacters);
    return lineEnd < 0 || lineEnd >= end ? end - from : lineEnd + 1 - from;
}

void DocumentFeeder::completeText()
{
    QString text = m_text;
    clear();
    emit complete(text);
    WorkerPool::release(std::move(text));
}
