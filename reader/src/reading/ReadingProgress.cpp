#include "ReadingProgress.h"

#include "BookFacts.h"
#include "ChapterPanel.h"
#include "TextDisplay.h"

#include <QLabel>
#include <QScrollBar>
#include <QTextEdit>
#include <QTimer>

#include <cmath>

namespace
{
// Often enough to follow a drag, seldom enough to cost nothing while the
// automatic scroll moves the view each few milliseconds.
const int UpdateMilliseconds = 100;
} // namespace

ReadingProgress::ReadingProgress(QObject *parent, TextDisplay *display, ChapterPanel *chapters,
                                 QTextEdit *text)
    : QObject(parent), m_display(display), m_chapters(chapters), m_textWidget(text),
      m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    m_timer->setInterval(UpdateMilliseconds);
    connect(m_timer, &QTimer::timeout, this, &ReadingProgress::update);
    QScrollBar *bar = text->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &ReadingProgress::schedule);
    connect(bar, &QScrollBar::rangeChanged, this, &ReadingProgress::schedule);
    connect(display, &TextDisplay::loadProgress, this, [this](int percent) {
        m_loaded = percent;
        schedule();
    });
    connect(display, &TextDisplay::opened, this, &ReadingProgress::schedule);
    connect(chapters, &ChapterPanel::currentChapterChanged, this, &ReadingProgress::schedule);
}

void ReadingProgress::addLabel(QLabel *label)
{
    m_labels << label;
    label->setText(m_text);
}

// Floored, so that 100% means the end is on screen, not that it is near.
int ReadingProgress::permilleOf(int top, int shownLength, int loaded)
{
    if (shownLength <= 1)
        return 0;
    const double inView = qBound(0.0, double(top) / (shownLength - 1), 1.0);
    return int(std::floor(inView * qBound(0, loaded, 100) * 10));
}

void ReadingProgress::schedule()
{
    if (!m_timer->isActive())
        m_timer->start();
}

void ReadingProgress::update()
{
    QString text;
    if (!m_display->m_fileName.isEmpty()) {
        const QScrollBar *bar = m_textWidget->verticalScrollBar();
        // At the end of the range the last line is on screen: the book is
        // read to its end, though the top of the view is a page before it.
        m_permille = bar->maximum() > 0 && bar->value() == bar->maximum() && m_loaded >= 100
                         ? 1000
                         : permilleOf(m_display->topPosition(),
                                      m_textWidget->document()->characterCount(), m_loaded);
        text = BookFacts::describe(m_chapters->currentRow() + 1, m_chapters->chapterCount(),
                                   m_permille / 10);
    }
    if (text == m_text)
        return;
    m_text = text;
    for (QLabel *label : qAsConst(m_labels))
        label->setText(text);
    emit changed(text);
}
