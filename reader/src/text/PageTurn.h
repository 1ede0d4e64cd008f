#ifndef PAGETURN_H
#define PAGETURN_H

#include <QVector>

// Where a page turn takes the reading view so that no line is only ever
// seen cut: forward, the line the bottom edge cuts (where it cuts none, the
// first line below it) becomes the top line; back, the line the top edge
// cuts (or the last line above it) becomes the bottom line. Where that would
// not move the view at least a little (a line taller than the view), a whole
// view's height is turned instead. All in the document's pixels, the top of
// the view being the scroll bar's value.
class PageTurn
{
public:
    struct Line {
        qreal top;
        qreal bottom;
    };

    // lines: those from a view above to a view below the current one, in
    // order; the result is not bounded by the scroll range.
    static int forward(const QVector<Line> &lines, int viewTop, int viewHeight);
    static int back(const QVector<Line> &lines, int viewTop, int viewHeight);
};

Q_DECLARE_TYPEINFO(PageTurn::Line, Q_PRIMITIVE_TYPE);

#endif // PAGETURN_H
