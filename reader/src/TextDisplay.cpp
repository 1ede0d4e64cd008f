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
    if (!m_fileName.isEmpty())
        emit leaving(m_fileName);
    m_fileName = fileName;

    // A file that exists but cannot be read (a folder, no permission) shows
    // as an empty document under its name.
    QByteArray bytes;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    file.close();

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

void TextDisplay::setComfort(const ComfortSettings &comfort)
{
    assert(m_textWidget != NULL);
    ReadingLayout *layout = readingLayout();
    if (layout == nullptr || layout->comfort() == comfort)
        return;
    // At the very start the view keeps showing the document's margin.
    const bool atStart = m_textWidget->verticalScrollBar()->value() == 0;
    const int top = topPosition();
    layout->setComfort(comfort);
    if (!atStart)
        scrollToPosition(top, 0);
}

// The view only; the cursor stays where it is.
void TextDisplay::scrollToPosition(int position, qreal fraction)
{
    QTextDocument *document = m_textWidget->document();
    // Asking for the block's rectangle lays it out, and the screen above it.
    const QTextBlock block = document->findBlock(position);
    const QRectF rect = document->documentLayout()->blockBoundingRect(block);
    const QTextLine line = block.layout()->lineForTextPosition(position - block.position());
    const qreal lineTop = line.isValid() ? line.y() : 0;
    const qreal top = rect.top() + lineTop - fraction * m_textWidget->viewport()->height();
    // Held as an anchor, so the line stays put while the layout replaces
    // estimated heights above it and the scroll bar's range catches up.
    m_pendingScroll = -1;
    setAnchor(block.blockNumber(), top - rect.top());
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
    // A position waiting for the layout belonged to the previous text.
    m_pendingScroll = -1;
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
    const int scrollValue =
        m_pendingScroll >= 0 ? m_pendingScroll : m_textWidget->verticalScrollBar()->value();
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
    restoreScroll(scrollValue);
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
// there is no selection to drop, as showing it would do the same.
void TextDisplay::dropSelection()
{
    QTextCursor cursor = m_textWidget->textCursor();
    if (!cursor.hasSelection())
        return;
    cursor.clearSelection();
    m_textWidget->setTextCursor(cursor);
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

// After a font change the layout estimates the heights of the text it has not
// laid out again yet; the old value stays put until every block above it is
// laid out and it shows the text it will show for good.
void TextDisplay::restoreScroll(int value)
{
    m_pendingScroll = value;
    applyPendingScroll();
}

void TextDisplay::applyPendingScroll()
{
    QScrollBar *bar = m_textWidget->verticalScrollBar();
    moveView(qMin(m_pendingScroll, bar->maximum()));
    const ReadingLayout *layout = readingLayout();
    // A text that came out shorter than the old position ends where it ends.
    if (layout == nullptr || layout->settledAbove(m_pendingScroll) || layout->laidOutToTheEnd()) {
        m_pendingScroll = -1;
        takeAnchor();
    }
}

void TextDisplay::viewMoved(int value)
{
    if (m_movingView)
        return;
    // The view clamps to a shrinking range on its own; anything else that
    // moves it (the reader, a find, a bookmark) wins over a position that
    // is still waiting for the layout.
    if (m_pendingScroll >= 0 && value < m_textWidget->verticalScrollBar()->maximum())
        m_pendingScroll = -1;
    takeAnchor();
}

// Remembers the text at the top of the view, or that the view shows the end.
void TextDisplay::takeAnchor()
{
    const ReadingLayout *layout = readingLayout();
    const QScrollBar *bar = m_textWidget->verticalScrollBar();
    if (layout == nullptr) {
        m_anchorBlock = -1;
        return;
    }
    const int value = bar->value();
    m_anchorGeneration = layout->generation();
    m_anchorAtEnd = value > 0 && value >= bar->maximum();
    m_anchorBlock = layout->blockNumberAt(value);
    m_anchorOffset = value - layout->blockTop(m_anchorBlock);
}

void TextDisplay::setAnchor(int blockNumber, qreal offset)
{
    const ReadingLayout *layout = readingLayout();
    if (layout == nullptr) {
        m_anchorBlock = -1;
        return;
    }
    m_anchorGeneration = layout->generation();
    m_anchorAtEnd = false;
    m_anchorBlock = blockNumber;
    m_anchorOffset = offset;
}

// While the layout replaces estimated heights above the view, the view moves
// with the text it shows, so that nothing on screen moves.
void TextDisplay::followLayout()
{
    const ReadingLayout *layout = readingLayout();
    if (layout == nullptr)
        return;
    if (m_pendingScroll >= 0)
        return applyPendingScroll();
    // After a change of the text or its look block numbers mean nothing.
    if (m_anchorBlock < 0 || m_anchorGeneration != layout->generation())
        return takeAnchor();
    const QScrollBar *bar = m_textWidget->verticalScrollBar();
    moveView(m_anchorAtEnd ? bar->maximum()
                           : qRound(layout->blockTop(m_anchorBlock) + m_anchorOffset));
}

void TextDisplay::moveView(int value)
{
    QScrollBar *bar = m_textWidget->verticalScrollBar();
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
