#include "PageTurn.h"

#include <cmath>

// A line is whole on screen when its top is at or below the view's top and
// its bottom at or above the view's bottom; tops round down and bottoms up
// for that reason.
int PageTurn::forward(const QVector<Line> &lines, int viewTop, int viewHeight)
{
    const qreal viewBottom = viewTop + viewHeight;
    for (const Line &line : lines) {
        if (line.bottom <= viewBottom)
            continue;
        // The first line not whole on screen: cut by the bottom, or below it.
        const int top = int(std::floor(line.top));
        return top > viewTop ? top : viewTop + viewHeight;
    }
    return viewTop + viewHeight;
}

int PageTurn::back(const QVector<Line> &lines, int viewTop, int viewHeight)
{
    for (int i = lines.size() - 1; i >= 0; --i) {
        const Line &line = lines.at(i);
        if (line.top >= viewTop)
            continue;
        // The last line not whole on screen: cut by the top, or above it.
        const int top = int(std::ceil(line.bottom)) - viewHeight;
        return top < viewTop ? top : viewTop - viewHeight;
    }
    return viewTop - viewHeight;
}
