#ifndef READINGLAYOUT_H
#define READINGLAYOUT_H

#include "BlockHeights.h"
#include "ComfortSettings.h"

#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QFont>
#include <QTextBlock>
#include <QVector>

#include <vector>

// Lays a plain text out for the reading view the way the toolkit's own
// document layout does it, line for line and pixel for pixel, with what long
// novels need on top:
// - positions are kept as doubles: the toolkit's layout counts in 26.6
//   fixed point and its page arithmetic overflows at 8 388 607 pixels,
//   where it either loops for ever or stops drawing lines (a 40 MB novel is
//   10 to 80 million pixels tall);
// - a block that is not laid out yet has a height estimated from its length
//   and the lines laid out so far, so the whole text has a height at once
//   and any block can be laid out first: the one a cursor goes to, the ones
//   on screen; in a text of up to a few million characters the rest follows
//   in slices of a few milliseconds per pass of the event loop, replacing
//   the estimates;
// - block tops are sums kept in a Fenwick tree, so finding the block at a
//   height or the top of a block takes logarithmic time anywhere in the text;
// - a change in the text lays out again only the blocks it touches;
// - the reader's comfort settings: line and paragraph spacing, side margins
//   and a maximum width for a text column centred in the view.
//
// Nothing here holds on to a QTextBlock between calls: the toolkit asks for
// rectangles in the middle of its own edits, before this layout has heard of
// them, and a block kept from before may be gone. Blocks are found by number
// on every call, and while the document's block or character count differs
// from what the last change reported, queries lay out the block asked about
// and change nothing here.
//
// Its source is over 400 lines: the toolkit's layout interface (drawing,
// hit tests, bounding rectangles, document changes) and the estimates all
// work on one set of heights and laid-out flags, which split over several
// classes would have to be shared between them.
class ReadingLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT

public:
    explicit ReadingLayout(QTextDocument *document);

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override { return 1; }
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

    bool laidOutToTheEnd() const;
    // Whether the text is short enough to be laid out to its end at all.
    bool laysOutInBackground() const;
    int blockNumberAt(qreal y) const;
    qreal blockTop(int blockNumber) const;

    // Lays the whole text out again, as a change of the view's width does.
    void setComfort(const ComfortSettings &comfort);
    const ComfortSettings &comfort() const { return m_comfort; }
    // Width of the text column, in which lines are broken.
    qreal lineWidth() const;
    // A hidden text draws nothing; its layout goes on as ever.
    void setTextHidden(bool hidden);
    // For a document on its way out: no background work starts any more.
    void stop();

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;
    void timerEvent(QTimerEvent *event) override;

private:
    // What the lines of a text depend on besides the text and the comfort.
    struct LayoutInputs {
        bool valid = false;
        qreal pageWidth = -1;
        qreal margin = 0;
        QFont font;
        int wrapMode = 0;
        int alignment = 0;
        qreal tabStop = 0;
        static LayoutInputs of(const QTextDocument *document);
        bool operator==(const LayoutInputs &other) const;
    };
    // What the lines laid out so far say about the lines still to come.
    struct Metrics {
        qreal linePitch = 0;      // height of one line
        qreal characterWidth = 0; // average advance of one character
    };

    bool canLayOut() const;
    bool inStep() const;
    qreal margin() const;
    qreal columnLeft() const;
    qreal linePitch(qreal naturalHeight) const;
    qreal layOutLines(const QTextBlock &block) const;
    qreal ensureLaidOut(const QTextBlock &block, int number) const;
    int charactersPerLine() const;
    qreal estimatedHeight(int length, int perLine) const;
    Metrics fallbackMetrics() const;
    void useSample();
    void replaceText(int from, int charsAdded);
    void replaceBlocks(int first, int oldLast, int newLast, bool atOnce);
    void layOutInBackground(int milliseconds);
    void continueLater(int milliseconds) const;
    void reportChanges();
    void drawBlock(QPainter *painter, const PaintContext &context, const QTextBlock &block,
                   qreal top) const;
    QVector<QTextLayout::FormatRange> selectionsIn(const QTextBlock &block,
                                                   const PaintContext &context) const;

    // Mutable because asking where a block is lays it out, as with the
    // toolkit's layout.
    mutable BlockHeights m_heights;
    mutable std::vector<bool> m_laidOut;
    mutable int m_laidOutCount = 0;
    mutable int m_firstNotLaidOut = 0;
    // Top of the highest block whose height changed since the view last
    // heard of it, or -1.
    mutable qreal m_changedFrom = -1;
    int m_characterCount = 0; // as of the last change reported
    LayoutInputs m_laidOutFor;
    Metrics m_metrics;
    ComfortSettings m_comfort;
    // The width of the fewest characters a line of a narrow column holds.
    qreal m_narrowestColumn = 0;
    // Lines laid out since the last change of the whole text, for m_metrics.
    mutable qreal m_sampleLines = 0;
    mutable qreal m_sampleHeight = 0;
    mutable qreal m_sampleCharacters = 0;
    mutable qreal m_sampleWidth = 0;
    QSizeF m_reportedSize;
    mutable QBasicTimer m_timer;
    bool m_textHidden = false;
    bool m_stopped = false;
};

#endif // READINGLAYOUT_H
