#include "ReadingLayout.h"

#include "TextTuning.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimerEvent>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace TextTuning;

ReadingLayout::ReadingLayout(QTextDocument *document) : QAbstractTextDocumentLayout(document)
{
    // A document given another layout frees the lines of every block: what
    // was laid out before is gone, whatever the inputs.
    connect(document, &QTextDocument::documentLayoutChanged, this,
            [this] { m_laidOutFor = LayoutInputs(); });
}

ReadingLayout::LayoutInputs ReadingLayout::LayoutInputs::of(const QTextDocument *document)
{
    const QTextOption option = document->defaultTextOption();
    return {true,
            document->pageSize().width(),
            document->documentMargin(),
            document->defaultFont(),
            int(option.wrapMode()),
            int(option.alignment()),
            option.tabStopDistance()};
}

bool ReadingLayout::LayoutInputs::operator==(const LayoutInputs &other) const
{
    return valid && other.valid && pageWidth == other.pageWidth && margin == other.margin &&
           font == other.font && wrapMode == other.wrapMode && alignment == other.alignment &&
           tabStop == other.tabStop;
}

bool ReadingLayout::canLayOut() const
{
    return document()->pageSize().width() > 0;
}

// The document is where the last change left it; inside an edit that has
// not been reported yet it is not.
bool ReadingLayout::inStep() const
{
    return document()->blockCount() == m_heights.size() &&
           document()->characterCount() == m_characterCount;
}

qreal ReadingLayout::margin() const
{
    return document()->documentMargin();
}

// Side margins give way in a narrow view, down to the narrowest column.
qreal ReadingLayout::lineWidth() const
{
    const qreal inner = qMax<qreal>(0, document()->pageSize().width() - 2 * margin());
    const qreal side = qMin<qreal>(m_comfort.sideMargin,
                                   qMax<qreal>(0, inner - ComfortSettings::MinColumnWidth) / 2);
    const qreal width = inner - 2 * side;
    if (m_comfort.maxTextWidth <= 0)
        return width;
    // A narrow maximum gives way to the shortest line worth reading.
    return qMin<qreal>(width, qMax<qreal>(m_comfort.maxTextWidth, m_narrowestColumn));
}

// The column is centred on whole pixels, so glyphs stay as sharp as at the
// left edge.
qreal ReadingLayout::columnLeft() const
{
    const qreal inner = qMax<qreal>(0, document()->pageSize().width() - 2 * margin());
    return margin() + std::floor((inner - lineWidth()) / 2);
}

// Whole pixels, as the natural height is: every height stays exact.
qreal ReadingLayout::linePitch(qreal naturalHeight) const
{
    return std::ceil(naturalHeight * m_comfort.lineSpacing / 100.0);
}

void ReadingLayout::setComfort(const ComfortSettings &comfort)
{
    if (comfort == m_comfort)
        return;
    m_comfort = comfort;
    replaceText(0, document()->characterCount());
}

// The view asks for the whole text to be laid out again whenever it might
// have to be: when it is given the document, when a scroll bar comes or goes,
// when its font is set. Asked with the text, width and font as they were,
// the lines laid out stay.
void ReadingLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    const bool relayoutOnly =
        from == 0 && charsRemoved == 0 && charsAdded == document()->characterCount() && inStep();
    if (relayoutOnly && m_laidOutFor == LayoutInputs::of(document()))
        return;
    replaceText(from, charsAdded);
}

void ReadingLayout::replaceText(int from, int charsAdded)
{
    // Only block numbers are trusted: the blocks before the one holding
    // `from` and those after the one holding the end of the change are the
    // same as before, the latter shifted by the change in the block count.
    const QTextDocument *document = this->document();
    m_narrowestColumn = ComfortSettings::MinColumnCharacters *
                        QFontMetricsF(document->defaultFont()).horizontalAdvance(QChar(0x4E2D));
    const int oldCount = m_heights.size();
    const int newCount = document->blockCount();
    const int first = qMin(qMax(0, document->findBlock(from).blockNumber()), oldCount);
    const QTextBlock end = document->findBlock(from + charsAdded);
    const int endNumber = end.isValid() ? end.blockNumber() : newCount - 1;
    const int keptAfter = qMax(0, qMin(newCount - 1 - endNumber, oldCount - first - 1));
    // What a text read in pieces gets at its end, and a long stretch added
    // further down, is laid out when it is looked at: laying out each
    // piece's start at once would cost every piece that much.
    const bool atEnd = from >= m_characterCount - 1 && from > 0;
    const bool atOnce = from == 0 || (charsAdded <= SynchronousCharacters && !atEnd);
    replaceBlocks(first, oldCount - 1 - keptAfter, newCount - 1 - keptAfter, atOnce);

    m_characterCount = document->characterCount();
    m_laidOutFor = LayoutInputs::of(document);
    // A text growing below the page leaves the page as it was.
    m_changedFrom = qMin(m_changedFrom < 0 ? blockTop(first) : m_changedFrom, blockTop(first));
    // A moment's delay lets the view paint the first pages before the
    // background work starts.
    continueLater(10);
    reportChanges();
}

// Old blocks first..oldLast become new blocks first..newLast: the first
// stretch of them is laid out at once, the rest gets estimates.
void ReadingLayout::replaceBlocks(int first, int oldLast, int newLast, bool atOnce)
{
    const bool whole = first == 0 && newLast == document()->blockCount() - 1;
    if (whole)
        m_sampleLines = m_sampleHeight = m_sampleCharacters = m_sampleWidth = 0;
    for (int i = first; i <= oldLast; ++i)
        m_laidOutCount -= m_laidOut[i] ? 1 : 0;
    // Bracketed: oldLast is -1 for an empty layout, and begin() - 1 is out of
    // bounds even when 1 is added back.
    m_laidOut.erase(m_laidOut.begin() + first, m_laidOut.begin() + (oldLast + 1));
    m_laidOut.insert(m_laidOut.begin() + first, newLast - first + 1, false);

    std::vector<qreal> heights(size_t(newLast - first + 1), 0);
    QTextBlock block = document()->findBlockByNumber(first);
    const int until = block.position() + (atOnce ? SynchronousCharacters : 0);
    bool estimating = false;
    int perLine = 1;
    for (int i = first; i <= newLast && block.isValid(); ++i, block = block.next()) {
        if (!estimating && canLayOut() && block.position() < until) {
            heights[i - first] = layOutLines(block);
            m_laidOut[i] = true;
            ++m_laidOutCount;
            continue;
        }
        if (!estimating) {
            if (whole || m_metrics.linePitch <= 0)
                useSample();
            perLine = charactersPerLine();
            estimating = true;
        }
        // Lines left from before would be taken for a current layout.
        block.clearLayout();
        heights[i - first] = estimatedHeight(block.length(), perLine);
    }
    if (!estimating && (whole || m_metrics.linePitch <= 0))
        useSample();
    m_heights.splice(first, oldLast - first + 1, heights);
    m_firstNotLaidOut = qMin(m_firstNotLaidOut, first);
    while (m_firstNotLaidOut < m_heights.size() && m_laidOut[m_firstNotLaidOut])
        ++m_firstNotLaidOut;
}

// Line breaking and line heights exactly as QTextDocumentLayout does them
// for a plain paragraph, so the text looks the same.
qreal ReadingLayout::layOutLines(const QTextBlock &block) const
{
    QTextLayout *layout = block.layout();
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(block.textDirection());
    option.setAlignment(QStyle::visualAlignment(block.textDirection(), option.alignment()));
    layout->setTextOption(option);

    const qreal width = lineWidth();
    qreal y = 0;
    qreal bottom = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        // Added line spacing is shared above and below the glyphs.
        const qreal natural = std::ceil(line.ascent() + line.descent() + line.leading());
        const qreal pitch = linePitch(natural);
        const qreal above = std::floor((pitch - natural) / 2);
        line.setPosition(QPointF(0, y + above));
        bottom = y + above + line.height();
        y += pitch;
        m_sampleCharacters += line.textLength();
        m_sampleWidth += line.naturalTextWidth();
    }
    layout->endLayout();
    const qreal height = qMax(y, bottom);
    m_sampleLines += layout->lineCount();
    m_sampleHeight += height;
    return height + m_comfort.paragraphSpacing;
}

// The height of the block, laid out now if it is not yet.
qreal ReadingLayout::ensureLaidOut(const QTextBlock &block, int number) const
{
    if (!inStep() || number >= m_heights.size())
        return layOutLines(block);
    if (m_laidOut[number] && block.layout()->lineCount() > 0)
        return m_heights.at(number);
    const qreal height = layOutLines(block);
    if (!m_laidOut[number]) {
        m_laidOut[number] = true;
        ++m_laidOutCount;
    }
    while (m_firstNotLaidOut < m_heights.size() && m_laidOut[m_firstNotLaidOut])
        ++m_firstNotLaidOut;
    if (height != m_heights.at(number)) {
        const qreal top = blockTop(number);
        m_changedFrom = m_changedFrom < 0 ? top : qMin(m_changedFrom, top);
        m_heights.set(number, height);
    }
    // The view learns of the new heights in the next pass.
    if (!m_timer.isActive())
        continueLater(0);
    return height;
}

int ReadingLayout::charactersPerLine() const
{
    const qreal width = lineWidth();
    if (width <= 0 || m_metrics.characterWidth <= 0)
        return std::numeric_limits<int>::max();
    return qMax(1, int(width / m_metrics.characterWidth));
}

qreal ReadingLayout::estimatedHeight(int length, int perLine) const
{
    const int characters = length - 1; // without the paragraph separator
    const int lines = characters > 0 ? 1 + (characters - 1) / perLine : 1;
    return lines * m_metrics.linePitch + m_comfort.paragraphSpacing;
}

ReadingLayout::Metrics ReadingLayout::fallbackMetrics() const
{
    const QFontMetricsF metrics(document()->defaultFont());
    Metrics fallback;
    fallback.linePitch = linePitch(
        std::ceil(metrics.ascent() + metrics.descent() + qMax<qreal>(0, metrics.leading())));
    fallback.characterWidth = metrics.averageCharWidth();
    return fallback;
}

// Estimates go by the lines laid out since the text or its look last changed
// as a whole.
void ReadingLayout::useSample()
{
    m_metrics = fallbackMetrics();
    if (m_sampleLines > 0)
        m_metrics.linePitch = std::round(m_sampleHeight / m_sampleLines);
    if (m_sampleCharacters > 0 && m_sampleWidth > 0)
        m_metrics.characterWidth = m_sampleWidth / m_sampleCharacters;
}

void ReadingLayout::continueLater(int milliseconds) const
{
    if (!m_stopped && canLayOut() &&
        ((laysOutInBackground() && !laidOutToTheEnd()) || m_changedFrom >= 0))
        m_timer.start(milliseconds, const_cast<ReadingLayout *>(this));
}

void ReadingLayout::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QAbstractTextDocumentLayout::timerEvent(event);
    m_timer.stop();
    if (!inStep()) {
        continueLater(EditWaitMilliseconds);
        return;
    }
    if (laysOutInBackground())
        layOutInBackground(LayoutSliceMilliseconds);
    reportChanges();
    continueLater(0);
}

// From the first block not laid out downwards.
void ReadingLayout::layOutInBackground(int milliseconds)
{
    if (!canLayOut())
        return;
    QElapsedTimer clock;
    clock.start();
    int number = m_firstNotLaidOut;
    while (number < m_heights.size() && clock.elapsed() < milliseconds) {
        QTextBlock block = document()->findBlockByNumber(number);
        for (int i = 0; i < 32 && number < m_heights.size(); ++i, ++number, block = block.next()) {
            if (!m_laidOut[number])
                ensureLaidOut(block, number);
        }
    }
}

void ReadingLayout::reportChanges()
{
    m_reportedSize = documentSize();
    emit documentSizeChanged(m_reportedSize);
    // Everything below a changed height has moved.
    if (m_changedFrom >= 0)
        emit update(QRectF(0, m_changedFrom, 1e9, 1e12));
    m_changedFrom = -1;
}

bool ReadingLayout::laysOutInBackground() const
{
    return m_characterCount <= BackgroundCharacterLimit;
}

bool ReadingLayout::laidOutToTheEnd() const
{
    return inStep() && m_laidOutCount == m_heights.size();
}

int ReadingLayout::blockNumberAt(qreal y) const
{
    return m_heights.indexAt(y - margin());
}

qreal ReadingLayout::blockTop(int blockNumber) const
{
    return margin() + m_heights.sumBefore(blockNumber);
}

QSizeF ReadingLayout::documentSize() const
{
    if (!canLayOut())
        return QSizeF();
    return QSizeF(document()->pageSize().width(), m_heights.total() + 2 * margin());
}

QRectF ReadingLayout::frameBoundingRect(QTextFrame *frame) const
{
    if (frame != document()->rootFrame())
        return QRectF();
    return QRectF(QPointF(0, 0), documentSize());
}

QRectF ReadingLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (!block.isValid() || !canLayOut())
        return QRectF();
    const int number = block.blockNumber();
    const bool jump = inStep() && !m_laidOut[number];
    const qreal height = ensureLaidOut(block, number);
    if (jump) {
        qreal above = 0;
        QTextBlock previous = block.previous();
        for (int i = number - 1; previous.isValid() && above < ScreenAbove; --i) {
            above += ensureLaidOut(previous, i);
            previous = previous.previous();
        }
    }
    const qreal top = blockTop(number);
    block.layout()->setPosition(QPointF(columnLeft(), top));
    return QRectF(columnLeft(), top, lineWidth(), height);
}

int ReadingLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    if (!canLayOut())
        return -1;
    const bool fuzzy = accuracy == Qt::FuzzyHit;
    if (point.y() < margin())
        return fuzzy ? 0 : -1;
    // The block at y by the estimates may turn out shorter once laid out.
    int number = qMin(blockNumberAt(point.y()), document()->blockCount() - 1);
    QTextBlock block = document()->findBlockByNumber(number);
    qreal top = blockTop(number);
    qreal height = ensureLaidOut(block, number);
    while (point.y() >= top + height && block.next().isValid()) {
        top += height;
        block = block.next();
        height = ensureLaidOut(block, ++number);
    }
    if (point.y() >= top + height)
        return fuzzy ? document()->characterCount() - 1 : -1;

    const QTextLayout *layout = block.layout();
    const QPointF local = point - QPointF(columnLeft(), top);
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        if (local.y() >= line.y() + line.height() && i + 1 < layout->lineCount())
            continue;
        if (!fuzzy && (local.x() < line.x() || local.x() > line.x() + line.naturalTextWidth()))
            return -1;
        return block.position() + line.xToCursor(local.x());
    }
    return fuzzy ? block.position() : -1;
}

QVector<QTextLayout::FormatRange> ReadingLayout::selectionsIn(const QTextBlock &block,
                                                              const PaintContext &context) const
{
    QVector<QTextLayout::FormatRange> ranges;
    for (const Selection &selection : context.selections) {
        const int start = qMax(selection.cursor.selectionStart() - block.position(), 0);
        const int end = qMin(selection.cursor.selectionEnd() - block.position(), block.length());
        if (start < end) {
            QTextLayout::FormatRange range;
            range.start = start;
            range.length = end - start;
            range.format = selection.format;
            ranges.append(range);
        }
    }
    return ranges;
}

// The blocks in the clip are laid out as they are reached; that changes only
// the tops below them, so the first one stays where the view put it.
void ReadingLayout::setTextHidden(bool hidden)
{
    if (hidden == m_textHidden)
        return;
    m_textHidden = hidden;
    emit update();
}

void ReadingLayout::stop()
{
    m_stopped = true;
    m_timer.stop();
}

void ReadingLayout::draw(QPainter *painter, const PaintContext &context)
{
    if (!canLayOut() || m_textHidden)
        return;
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(0, 0, 1e9, 1e12);
    int number = qMin(blockNumberAt(clip.top()), document()->blockCount() - 1);
    qreal top = blockTop(number);
    for (QTextBlock block = document()->findBlockByNumber(number);
         block.isValid() && top <= clip.bottom(); block = block.next(), ++number) {
        const qreal height = ensureLaidOut(block, number);
        if (top + height >= clip.top())
            drawBlock(painter, context, block, top);
        top += height;
    }
}

// The painter is moved to the block, so the positions the text engine sees
// stay small however deep the block lies.
void ReadingLayout::drawBlock(QPainter *painter, const PaintContext &context,
                              const QTextBlock &block, qreal top) const
{
    QTextLayout *layout = block.layout();
    layout->setPosition(QPointF(columnLeft(), top));
    const QPointF shift(0, -top);
    painter->save();
    painter->translate(0, top);
    painter->setPen(context.palette.color(QPalette::Text));
    layout->draw(painter, shift, selectionsIn(block, context), context.clip.translated(shift));
    const int cursor = context.cursorPosition - block.position();
    if (cursor >= 0 && cursor < block.length())
        layout->drawCursor(painter, shift, cursor);
    painter->restore();
}
