#include "ReadingPositions.h"

#include "ProgramConstants.h"
#include "ReadingState.h"
#include "TextDisplay.h"

#include <QScrollBar>
#include <QTimer>

#include <cassert>

namespace
{

// How long the view rests before its position is written, and how long a
// view that never rests (automatic scrolling) waits at most; a crash loses no
// more reading than that.
const int QuietMilliseconds = 3000;
const int LongestWaitMilliseconds = 10000;

} // namespace

ReadingPositions::ReadingPositions(QObject *parent)
    : QObject(parent), m_quietTimer(new QTimer(this)), m_longestWait(new QTimer(this))
{
    m_quietTimer->setSingleShot(true);
    m_quietTimer->setInterval(QuietMilliseconds);
    m_longestWait->setSingleShot(true);
    m_longestWait->setInterval(LongestWaitMilliseconds);
    connect(m_quietTimer, &QTimer::timeout, this, &ReadingPositions::saveMoves);
    connect(m_longestWait, &QTimer::timeout, this, &ReadingPositions::saveMoves);
}

void ReadingPositions::setTextDisplay(TextDisplay *display)
{
    m_textDisplay = display;
    connect(display, &TextDisplay::leaving, this, &ReadingPositions::leave);
    connect(display, &TextDisplay::opened, this, &ReadingPositions::open);
}

void ReadingPositions::setScrollBar(QScrollBar *bar)
{
    connect(bar, &QScrollBar::valueChanged, this, &ReadingPositions::viewMoved);
}

void ReadingPositions::setReadingState(ReadingState *state)
{
    m_state = state;
}

// A view that has not moved since it was last recorded records nothing, so
// that a place another window read on to since, merged in on saving, is not
// taken back to where this one still stands.
void ReadingPositions::record()
{
    assert(m_state != NULL);
    if (m_fileName.isEmpty())
        return;
    const int position = m_textDisplay->topPosition();
    if (position == m_recorded)
        return;
    m_recorded = position;
    if (m_state->setPosition(m_fileName, position))
        m_unsaved = true;
}

// The view still shows the text that is leaving.
void ReadingPositions::leave(const QString &fileName)
{
    m_fileName = fileName;
    record();
}

void ReadingPositions::open(const QString &fileName)
{
    m_fileName = fileName;
    m_recorded = -1;
    restorePosition(fileName);
    record(); // now the most recent file
    if (m_unsaved)
        save();
}

// A file seen for the first time stays at its start, where it was opened.
// Whatever moves the view after this (a bookmark of the file, say) wins.
void ReadingPositions::restorePosition(const QString &fileName)
{
    const int position = m_state->position(fileName);
    if (position > 0)
        m_textDisplay->showPosition(position, 0);
}

// Each step only restarts the quiet wait; nothing is written per step.
void ReadingPositions::viewMoved()
{
    if (m_fileName.isEmpty())
        return;
    m_quietTimer->start();
    if (!m_longestWait->isActive())
        m_longestWait->start();
}

void ReadingPositions::saveMoves()
{
    record();
    if (m_unsaved)
        save();
}

void ReadingPositions::save()
{
    m_quietTimer->stop();
    m_longestWait->stop();
    m_state->save(readingStateFilePath());
    m_unsaved = false;
}
