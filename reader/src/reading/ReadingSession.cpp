#include "ReadingSession.h"

#include "ComfortPanel.h"
#include "ProgramConstants.h"
#include "ReadingPositions.h"
#include "ReadingState.h"
#include "TextDisplay.h"

#include <QMainWindow>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>

ReadingSession::ReadingSession(QMainWindow *window, TextDisplay *display, QTextEdit *text,
                               QWidget *panelPlace)
    : QObject(window), m_window(window), m_textDisplay(display), m_state(new ReadingState(this)),
      m_positions(new ReadingPositions(this)), m_comfortPanel(new ComfortPanel(panelPlace)),
      m_panels(nullptr)
{
    m_positions->setReadingState(m_state);
    m_positions->setTextDisplay(display);
    m_positions->setScrollBar(text->verticalScrollBar());

    m_panels = new QVBoxLayout(panelPlace);
    m_panels->setContentsMargins(0, 0, 0, 0);
    m_panels->addWidget(m_comfortPanel);
    m_panels->addStretch();
    connect(m_comfortPanel, &ComfortPanel::comfortChanged, this, &ReadingSession::comfortChange);
}

void ReadingSession::addPanel(QWidget *panel)
{
    m_panels->insertWidget(m_panels->count() - 1, panel);
}

void ReadingSession::restore()
{
    m_state->load(readingStateFilePath());
    m_comfortPanel->setComfort(m_state->comfort);
    m_textDisplay->setComfort(m_state->comfort);
    // Data the window cannot use leaves it centred, as at a first start.
    m_window->restoreGeometry(m_state->windowGeometry);
    m_window->restoreState(m_state->windowState);
    // A reader closed in full screen comes back in its ordinary window.
    m_window->setWindowState(m_window->windowState() & ~Qt::WindowFullScreen);
}

void ReadingSession::save(const QByteArray &windowState)
{
    m_positions->record();
    m_state->windowGeometry = m_window->saveGeometry();
    m_state->windowState = windowState;
    m_state->save(readingStateFilePath());
}

void ReadingSession::comfortChange(const ComfortSettings &comfort)
{
    m_state->comfort = comfort;
    m_textDisplay->setComfort(comfort);
    m_state->save(readingStateFilePath());
}
