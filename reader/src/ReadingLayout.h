#ifndef READINGLAYOUT_H
#define READINGLAYOUT_H

#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QTextBlock>
#include <QTextLayout>
#include <QVector>

// Lays a plain text out for the reading view, block after block from the
// top, the way the toolkit's own document layout does it, line for line and
// pixel for pixel, with three differences that long novels need:
// - positions are kept as doubles: the toolkit's layout counts in 26.6
//   fixed point and its page arithmetic overflows at 8 388 607 pixels,
//   where it either loops for ever or stops drawing lines (a 40 MB novel is
//   10 to 80 million pixels tall);
// - the part that is not needed at once is laid out in slices of a few
//   milliseconds per pass of the event loop;
// - a change in the text lays out again only from the block it touches.
class ReadingLayout : public QAbstractTextDocumentLayout
{
public:
    explicit ReadingLayout(QTextDocument *document) : QAbstractTextDocumentLayout(document) {}

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

    bool laidOutToTheEnd() const { return m_tops.size() >= document()->blockCount(); }

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;
    void timerEvent(QTimerEvent *event) override;

private:
    bool canLayOut() const { return document()->pageSize().width() > 0; }
    void layOutNextBlock() const;
    void layOutThrough(int blockNumber) const;
    void layOutDownTo(qreal y) const;
    void continueLater(int milliseconds);
    int blockAt(qreal y) const;
    QVector<QTextLayout::FormatRange> selectionsIn(const QTextBlock &block,
                                                   const PaintContext &context) const;

    // Top of every block laid out so far: the blocks from the first one on,
    // without a gap. They are mutable because asking where a block is lays
    // the text out down to it, as with the toolkit's layout.
    mutable QVector<qreal> m_tops;
    mutable qreal m_bottom = 0; // bottom of the last block laid out
    mutable QTextBlock m_next;  // the block after them, once known
    mutable QSizeF m_reportedSize;
    QBasicTimer m_timer;
};

#endif // READINGLAYOUT_H
