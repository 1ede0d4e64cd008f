#include "SearchHighlighter.h"

#include "SearchResultModel.h"

#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

SearchHighlighter::SearchHighlighter(QTextEdit *view, SearchResultModel *model, QObject *parent)
    : QObject(parent), m_view(view), m_model(model)
{
    QScrollBar *bar = view->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &SearchHighlighter::update);
    connect(bar, &QScrollBar::rangeChanged, this, &SearchHighlighter::update);
    connect(model, &SearchResultModel::rowsInserted, this, &SearchHighlighter::update);
    connect(model, &SearchResultModel::modelReset, this, &SearchHighlighter::update);
}

void SearchHighlighter::setEnabled(bool enabled)
{
    m_enabled = enabled;
    update();
}

void SearchHighlighter::update()
{
    QList<QTextEdit::ExtraSelection> marks;
    if (m_enabled && m_model->rowCount() > 0) {
        const QRect screen = m_view->viewport()->rect();
        const int first = m_view->cursorForPosition(screen.topLeft()).block().position();
        const QTextCursor last = m_view->cursorForPosition(screen.bottomRight());
        const int end = last.block().position() + last.block().length();
        QTextCharFormat look;
        look.setBackground(QColor(255, 226, 110));
        look.setForeground(Qt::black);
        for (int row = m_model->firstRowFrom(first);
             row < m_model->rowCount() && m_model->hit(row).position < end; ++row) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = QTextCursor(m_view->document());
            mark.cursor.setPosition(m_model->hit(row).position);
            mark.cursor.setPosition(m_model->hit(row).position + m_model->hit(row).length,
                                    QTextCursor::KeepAnchor);
            mark.format = look;
            marks.append(mark);
        }
    }
    if (!marks.isEmpty() || !m_view->extraSelections().isEmpty())
        m_view->setExtraSelections(marks);
}
