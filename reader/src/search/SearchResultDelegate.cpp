#include "SearchResultDelegate.h"

#include "SearchResultModel.h"

#include <QApplication>
#include <QPainter>

namespace
{

constexpr int Margin = 3;

// Draws text from x on, cut off at right; returns where the next part begins.
int drawPart(QPainter *painter, const QFont &font, int x, int y, int right, const QString &text,
             Qt::TextElideMode elide = Qt::ElideRight)
{
    painter->setFont(font);
    const QFontMetrics metrics(font);
    const QString shown = metrics.elidedText(text, elide, qMax(0, right - x));
    painter->drawText(x, y + metrics.ascent(), shown);
    return x + metrics.horizontalAdvance(shown);
}

} // namespace

SearchResultDelegate::SearchResultDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void SearchResultDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                 const QModelIndex &index) const
{
    QStyleOptionViewItem background(option);
    initStyleOption(&background, index);
    background.text.clear();
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, option.widget);

    painter->save();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorRole text = selected ? QPalette::HighlightedText : QPalette::Text;
    const QRect area = option.rect.adjusted(Margin, Margin, -Margin, -Margin);
    const QFontMetrics metrics(option.font);

    painter->setPen(option.palette.color(QPalette::Disabled, text));
    drawPart(painter, option.font, area.left(), area.top(), area.right(),
             index.data(SearchResultModel::ChapterRole).toString());

    QFont bold(option.font);
    bold.setBold(true);
    const int y = area.top() + metrics.height();
    painter->setPen(option.palette.color(QPalette::Active, text));
    // The words before give way first, from their start, so that a narrow
    // panel still shows the match with some of what follows it.
    const QString match = index.data(SearchResultModel::MatchRole).toString();
    const QString before = index.data(SearchResultModel::BeforeRole).toString();
    const int roomBefore =
        qMax(area.width() / 4, area.width() - QFontMetrics(bold).horizontalAdvance(match) -
                                   metrics.horizontalAdvance(QString(5, QChar(0x5B57))));
    int x = drawPart(painter, option.font, area.left(), y,
                     area.left() + qMin(roomBefore, metrics.horizontalAdvance(before)), before,
                     Qt::ElideLeft);
    x = drawPart(painter, bold, x, y, area.right(), match);
    drawPart(painter, option.font, x, y, area.right(),
             index.data(SearchResultModel::AfterRole).toString());
    painter->restore();
}

QSize SearchResultDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics metrics(option.font);
    return QSize(metrics.horizontalAdvance(QChar(0x5B57)) * 8, 2 * metrics.height() + 2 * Margin);
}
