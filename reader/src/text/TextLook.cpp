#include "TextLook.h"

#include "ComfortSettings.h"
#include "ReadingLayout.h"
#include "ZkUtility.h"

#include <QPixmap>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

void TextLook::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    m_color = initialColor();
}

QFont TextLook::initialFont() const
{
    return m_textWidget->textCursor().charFormat().font();
}

QColor TextLook::initialColor() const
{
    return m_textWidget->textCursor().charFormat().foreground().color();
}

// The window colour, not the base colour an unpainted view shows.
QColor TextLook::initialBackColor() const
{
    return m_textWidget->viewport()->palette().brush(QPalette::Window).color();
}

// The view's own font becomes the document's default font whenever it
// changes, and left alone it follows the interface font. Giving the view the
// text font with every property fixed keeps the two the same.
void TextLook::setFont(const QFont &font)
{
    QFont fixed(font);
    fixed.resolve(QFont::AllPropertiesResolved);
    m_textWidget->setFont(fixed);
    QTextDocument *document = m_textWidget->document();
    if (document->defaultFont() != font)
        document->setDefaultFont(font);
    m_charFormat.setFont(font);
}

void TextLook::setColor(const QColor &color)
{
    m_color = color;
    m_charFormat.setForeground(QBrush(color, Qt::SolidPattern));
}

// Re-formatting characters makes the layout redo all of the text they are
// in, at once: a long text gets the colour from the palette instead, and
// the layout catches up in the background.
void TextLook::apply(bool longText)
{
    QPalette palette = m_textWidget->palette();
    palette.setColor(QPalette::Text, m_color);
    if (palette != m_textWidget->palette())
        m_textWidget->setPalette(palette);
    if (longText)
        return;
    QTextCursor cursor(m_textWidget->document());
    cursor.select(QTextCursor::Document);
    cursor.setCharFormat(m_charFormat);
}

void TextLook::setBackColor(const QColor &color)
{
    QPixmap pixmap(64, 64);
    pixmap.fill(color);
    zk::drawImage(m_textWidget->viewport(), pixmap, QSize(64, 64));
}

bool TextLook::setComfort(ReadingLayout *layout, const ComfortSettings &comfort)
{
    if (layout == nullptr || layout->comfort() == comfort)
        return false;
    layout->setComfort(comfort);
    return true;
}
