#include "TextDisplay.h"

#include "ReadingLayout.h"
#include "TextDecoder.h"
#include "TextEncoding.h"
#include "ZkUtility.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

#include <cassert>

namespace
{

// Re-formatting characters makes the layout redo all of the text they are
// in, at once. Up to this many characters that stays within a few dozen
// milliseconds, so such texts carry the font and colour in their own
// character formats. Longer texts keep plain formats and show the document's
// default font and the view's text colour, which a change reaches without
// touching a single character; the layout then catches up in the background.
const int CharacterFormatLimit = 200000;

} // namespace

TextDisplay::TextDisplay(QObject *parent) : QObject(parent) {}

void TextDisplay::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    edit->setReadOnly(true);
    QTextDocument *document = edit->document();
    // Nothing is ever undone in a read-only view; undo steps would only hold
    // memory for every re-formatting of the text.
    document->setUndoRedoEnabled(false);
    // Owned by the document, which deletes the layout it replaces.
    document->setDocumentLayout(new ReadingLayout(document));
    const QTextCharFormat format = edit->textCursor().charFormat();
    m_textFont = format.font();
    m_textColor = format.foreground().color();
    m_backColor = edit->viewport()->palette().brush(QPalette::Window).color();

    QScrollBar *bar = edit->verticalScrollBar();
    connect(bar, &QScrollBar::valueChanged, this, &TextDisplay::viewMoved);
    connect(bar, &QScrollBar::rangeChanged, this, &TextDisplay::followLayout);
    // The view has adjusted its range by the time this arrives.
    connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &TextDisplay::followLayout);
}

void TextDisplay::setParentWidget(QWidget *widget)
{
    m_parentWidget = widget;
}

bool TextDisplay::openFile(const QString &fileName, bool autoDetect, int codec)
{
    assert(m_textWidget != NULL);
    if (!QFile::exists(fileName)) {
        QMessageBox::information(m_parentWidget, QCoreApplication::translate("QObject", "提示"),
                                 QCoreApplication::translate("QObject", "文件不存在：") + fileName,
                                 QMessageBox::Ok);
        return false;
    }
    // A file that cannot be read (a folder, no permission, a read error)
    // leaves the text on screen as it was, rather than an empty page under
    // its name.
    QByteArray bytes;
    QString error;
    if (!readWhole(fileName, &bytes, &error)) {
        QMessageBox::information(m_parentWidget, QCoreApplication::translate("QObject", "提示"),
                                 QCoreApplication::translate("QObject", "无法读取文件：") +
                                     fileName + QLatin1Char('\n') + error,
                                 QMessageBox::Ok);
        return false;
    }
    if (!m_fileName.isEmpty())
        emit leaving(m_fileName);
    m_fileName = fileName;

    if (autoDetect)
        showDecodedText(TextEncoding::decode(bytes, &codec));
    else
        showText(bytes, codec);
    setCodec(codec);
    m_textWidget->document()->setMetaInformation(QTextDocument::DocumentTitle,
                                                 QFileInfo(fileName).baseName());
    setFontAndColor(m_textFont, m_textColor);
    emit opened(fileName);
    return true;
}

bool TextDisplay::readWhole(const QString &fileName, QByteArray *bytes, QString *error)
{
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        *bytes = file.readAll();
    *error = file.errorString();
    return file.isOpen() && file.error() == QFileDevice::NoError;
}

// The line at the top edge counts even when only its lower part shows: it
// is where the reader's eye is.
int TextDisplay::topPosition() const
{
    assert(m_textWidget != NULL);
    return m_textWidget->cursorForPosition(QPoint(0, 0)).position();
}

void TextDisplay::showPosition(int position, qreal fraction)
{
    assert(m_textWidget != NULL);
    QTextDocument *document = m_textWidget->document();
    QTextCursor cursor(document);
    cursor.setPosition(qBound(0, position, document->characterCount() - 1));
    m_textWidget->setTextCursor(cursor);
    scrollToPosition(cursor.position(), fraction);
}

// Line spacing, paragraph spacing and the text column change the layout
// only; the anchor keeps the text at the top of the view where it is.
void TextDisplay::setComfort(const ComfortSettings &comfort)
{
    assert(m_textWidget != NULL);
    ReadingLayout *layout = readingLayout();
    if (layout == nullptr || layout->comfort() == comfort)
        return;
    layout->setComfort(comfort);
    followLayout();
}

// The view only; the cursor stays where it is. Held as the anchor, so the
// line stays put while the layout replaces estimated heights above it and
// the scroll bar's range catches up.
void TextDisplay::scrollToPosition(int position, qreal fraction)
{
    holdAnchor(position, -fraction * m_textWidget->viewport()->height());
    followLayout();
}

void TextDisplay::showText(const QByteArray &data, int codec)
{
    showDecodedText(TextDecoder::decode(data, codec));
}

void TextDisplay::setCodec(int codec)
{
    if (codec == m_codec)
        return;
    m_codec = codec;
    emit codecChanged(codec);
}

void TextDisplay::showDecodedText(const QString &text)
{
    // A new text is read from its start, the margin above its first line
    // included.
    holdAnchor(0, -m_textWidget->document()->documentMargin());
    // The reading layout does the first pages at once and the rest a slice
    // per pass of the event loop.
    m_textWidget->document()->setPlainText(text);
    // Replacing the text leaves the view's cursor behind it, at the very end,
    // where a forward search finds nothing and a new bookmark points past
    // everything the reader sees. A new text is read from its start.
    m_textWidget->setTextCursor(QTextCursor(m_textWidget->document()));
    emit textLoaded(text);
}

void TextDisplay::setTextFont(QFont font)
{
    setFontAndColor(font, m_textColor);
}

void TextDisplay::setTextColor(QColor color)
{
    setFontAndColor(m_textFont, color);
}

void TextDisplay::setBackColor(QColor color)
{
    assert(m_textWidget != NULL);
    if (color == m_backColor)
        return;
    m_backColor = color;
    QPixmap pixmap(64, 64);
    pixmap.fill(color);
    zk::drawImage(m_textWidget->viewport(), pixmap, QSize(64, 64));
}

void TextDisplay::setFontAndColor(const QFont &font, const QColor &color)
{
    assert(m_textWidget != NULL);
    dropSelection();

    QTextCharFormat format = m_charFormat;
    if (font != m_textFont) {
        m_textFont = font;
        useTextFont(font);
        format.setFont(font);
    }
    if (color != m_textColor) {
        m_textColor = color;
        format.setForeground(QBrush(color, Qt::SolidPattern));
    }
    applyCharFormat(format);
    // A colour alone changes no layout, so nothing else brings the view back
    // if dropping the selection moved it.
    followLayout();
}

void TextDisplay::applyCharFormat(const QTextCharFormat &format)
{
    m_charFormat = format;
    QPalette palette = m_textWidget->palette();
    palette.setColor(QPalette::Text, m_textColor);
    if (palette != m_textWidget->palette())
        m_textWidget->setPalette(palette);

    QTextDocument *document = m_textWidget->document();
    if (document->characterCount() > CharacterFormatLimit)
        return;
    QTextCursor cursor(document);
    cursor.select(QTextCursor::Document);
    cursor.setCharFormat(format);
}

// Done before the text is re-formatted: while the current layout stands,
// showing the cursor costs nothing, whereas afterwards it would force the
// layout down to the cursor in one go. The view's cursor is left alone when
// there is no selection to drop, as showing it would do the same. Showing
// the cursor may scroll to it; the anchor stays with the text being read.
void TextDisplay::dropSelection()
{
    QTextCursor cursor = m_textWidget->textCursor();
    if (!cursor.hasSelection())
        return;
    cursor.clearSelection();
    m_movingView = true;
    m_textWidget->setTextCursor(cursor);
    m_movingView = false;
}

// The view's own font becomes the document's default font whenever it
// changes, and left alone it follows the interface font. Giving the view the
// text font with every property fixed keeps the two the same.
void TextDisplay::useTextFont(const QFont &font)
{
    QFont fixed(font);
    fixed.resolve(QFont::AllPropertiesResolved);
    m_textWidget->setFont(fixed);
    QTextDocument *document = m_textWidget->document();
    if (document->defaultFont() != font)
        document->setDefaultFont(font);
}

void TextDisplay::viewMoved()
{
    // Moves of this component's own keep the anchor they follow.
    if (!m_movingView)
        takeAnchor();
}

// Remembers the text at the top of the view, or that the view shows the end:
// the line there, by the position of its first character, and how far the
// view's top lies below that line's top.
void TextDisplay::takeAnchor()
{
    const QScrollBar *bar = m_textWidget->verticalScrollBar();
    const int value = bar->value();
    // Finding the character lays out only the block it is in, so the text
    // shown at value stays the same.
    const int position = qMax(
        0, m_textWidget->document()->documentLayout()->hitTest(QPointF(0, value), Qt::FuzzyHit));
    holdAnchor(position, value - lineTop(position));
    m_anchorAtEnd = value > 0 && value >= bar->maximum();
}

void TextDisplay::holdAnchor(int position, qreal offset)
{
    m_anchorPosition = position;
    m_anchorOffset = offset;
    m_anchorAtEnd = false;
}

// The top of the line that holds position, as the layout stands now; lays
// out its block, and a screen above it, if they are not yet.
qreal TextDisplay::lineTop(int position, qreal *height) const
{
    const QTextBlock block = m_textWidget->document()->findBlock(position);
    const QRectF rect = m_textWidget->document()->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.isValid()
                               ? block.layout()->lineForTextPosition(position - block.position())
                               : QTextLine();
    if (height != nullptr)
        *height = line.isValid() ? line.height() : rect.height();
    return rect.top() + (line.isValid() ? line.y() : 0);
}

// Whatever changes the layout (a font, a colour, a new width, or estimated
// heights replaced in the background) the view follows the text it shows:
// the anchor's line stays where it was, and a view at the end stays there.
void TextDisplay::followLayout()
{
    if (m_anchorPosition < 0)
        return takeAnchor();
    const QScrollBar *bar = m_textWidget->verticalScrollBar();
    if (m_anchorAtEnd)
        return moveView(bar->maximum());
    qreal height = 0;
    const qreal top = lineTop(m_anchorPosition, &height);
    // Within its line the top stays within it, however the line shrank.
    const qreal offset =
        m_anchorOffset < 0 ? m_anchorOffset : qMin(m_anchorOffset, qMax<qreal>(0, height - 1));
    moveView(qRound(top + offset));
}

// The scroll bar clamps the value; the anchor stays as it was, for when the
// range has grown far enough.
void TextDisplay::moveView(int value)
{
    QScrollBar *bar = m_textWidget->verticalScrollBar();
    value = qBound(bar->minimum(), value, bar->maximum());
    if (bar->value() == value)
        return;
    m_movingView = true;
    bar->setValue(value);
    m_movingView = false;
}

ReadingLayout *TextDisplay::readingLayout() const
{
    return qobject_cast<ReadingLayout *>(m_textWidget->document()->documentLayout());
}
