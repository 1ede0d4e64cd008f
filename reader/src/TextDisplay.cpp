#include "TextDisplay.h"

#include "ZkUtility.h"

#include <QAbstractTextDocumentLayout>
#include <QBasicTimer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCodec>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTimerEvent>
#include <QtEndian>

#include <cassert>
#include <cmath>

namespace
{

// Checks the first bytes only; a character cut off by the end of that
// stretch counts as valid.
bool startsAsUtf8(const QByteArray &data)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data.constData());
    const unsigned char *const end = p + qMin(data.size(), 65536);
    const bool cut = data.size() > 65536;
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int extra;
        unsigned int minimum;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            minimum = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            minimum = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (end - p <= extra)
            return cut;
        unsigned int code = c & (0x3F >> extra);
        for (int i = 1; i <= extra; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i] & 0x3F);
        }
        // overlong forms, UTF-16 surrogates and values beyond Unicode
        if (code < minimum || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        p += extra + 1;
    }
    return true;
}

// Most Linux desktops run a UTF-8 locale, where "the local code page" would
// turn every GBK novel into garbage; GB18030 is the code page those files
// were written in, and a superset of GBK.
QTextCodec *localCodePage()
{
    QTextCodec *codec = QTextCodec::codecForLocale();
    if (codec == nullptr || codec->mibEnum() == 106)
        return QTextCodec::codecForName("GB18030");
    return codec;
}

QString decodeUtf16(const QByteArray &data, bool bigEndianByDefault)
{
    const int units = data.size() / 2;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    bool bigEndian = bigEndianByDefault;
    int first = 0;
    if (units > 0) {
        if (bytes[0] == 0xFF && bytes[1] == 0xFE) {
            bigEndian = false;
            first = 1;
        } else if (bytes[0] == 0xFE && bytes[1] == 0xFF) {
            bigEndian = true;
            first = 1;
        }
    }
    QString text(units - first, Qt::Uninitialized);
    auto *out = reinterpret_cast<ushort *>(text.data());
    if (bigEndian)
        qFromBigEndian<ushort>(bytes + 2 * first, units - first, out);
    else
        qFromLittleEndian<ushort>(bytes + 2 * first, units - first, out);
    return text;
}

QString decode(const QByteArray &data, int codec)
{
    switch (codec) {
    case 0:
        return localCodePage()->toUnicode(data);
    case 1:
    case 2: {
        const bool marked = data.startsWith("\xEF\xBB\xBF");
        return QString::fromUtf8(data.constData() + (marked ? 3 : 0),
                                 data.size() - (marked ? 3 : 0));
    }
    case 3:
        return decodeUtf16(data, false);
    case 4:
        return decodeUtf16(data, true);
    default:
        return QTextCodec::codecForName("GB18030")->toUnicode(data);
    }
}

// Decodes as UTF-8 if every byte sequence is valid UTF-8. Text in GBK is
// practically never valid UTF-8, and mostly fails in its first bytes.
bool decodesAsUtf8(const QByteArray &data, QString *text)
{
    if (!startsAsUtf8(data))
        return false;
    // Invalid sequences come out as replacement characters; only a text that
    // has some needs the slower decoding that counts them.
    *text = QString::fromUtf8(data);
    if (!text->contains(QChar::ReplacementCharacter))
        return true;
    QTextCodec::ConverterState state;
    *text = QTextCodec::codecForMib(106)->toUnicode(data.constData(), data.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

// Re-formatting characters makes the layout redo all of the text they are
// in, at once. Up to this many characters that stays within a few dozen
// milliseconds, so such texts carry the font and colour in their own
// character formats. Longer texts keep plain formats and show the document's
// default font and the view's text colour, which a change reaches without
// touching a single character; the layout then catches up in the background.
const int CharacterFormatLimit = 200000;

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

// Laid out at once when the text changes, so that the first pages are there
// when the change returns: a few pages even at 9 points, about 10 ms.
const int SynchronousCharacters = 30000;
// Longest stretch of background layout in one pass of the event loop.
const int SliceMilliseconds = 20;

void ReadingLayout::documentChanged(int from, int, int)
{
    const int first = document()->findBlock(from).blockNumber();
    if (first >= 0 && first < m_tops.size()) {
        // Lines left from before would be taken for a current layout.
        QTextBlock block = document()->findBlockByNumber(first);
        for (int i = first; i < m_tops.size() && block.isValid(); ++i, block = block.next())
            block.clearLayout();
        m_bottom = m_tops.at(first);
        m_tops.resize(first);
    }
    if (m_tops.isEmpty())
        m_bottom = document()->documentMargin();
    m_next = document()->findBlockByNumber(m_tops.size());
    if (canLayOut()) {
        const int until = m_next.position() + SynchronousCharacters;
        while (!laidOutToTheEnd() && m_next.position() < until)
            layOutNextBlock();
    }
    // A moment's delay lets the view paint the first pages before the
    // background work starts.
    continueLater(10);
    const QSizeF size = documentSize();
    if (size != m_reportedSize) {
        m_reportedSize = size;
        emit documentSizeChanged(size);
    }
    emit update();
}

void ReadingLayout::continueLater(int milliseconds)
{
    if (canLayOut() && !laidOutToTheEnd())
        m_timer.start(milliseconds, this);
    else
        m_timer.stop();
}

void ReadingLayout::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_timer.timerId())
        return QAbstractTextDocumentLayout::timerEvent(event);
    QElapsedTimer clock;
    clock.start();
    const qreal from = m_bottom;
    while (!laidOutToTheEnd() && canLayOut() && clock.elapsed() < SliceMilliseconds) {
        for (int i = 0; i < 32 && !laidOutToTheEnd(); ++i)
            layOutNextBlock();
    }
    continueLater(0);
    m_reportedSize = documentSize();
    emit documentSizeChanged(m_reportedSize);
    emit update(QRectF(0, from, 1e9, m_bottom - from));
}

// Line breaking and line heights exactly as QTextDocumentLayout does them
// for a plain paragraph, so the text looks the same.
void ReadingLayout::layOutNextBlock() const
{
    const QTextBlock block = m_next;
    m_next = block.next();
    QTextLayout *layout = block.layout();
    const qreal margin = document()->documentMargin();
    const qreal width = qMax<qreal>(0, document()->pageSize().width() - 2 * margin);

    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(block.textDirection());
    option.setAlignment(QStyle::visualAlignment(block.textDirection(), option.alignment()));
    layout->setTextOption(option);

    qreal y = 0;
    qreal bottom = 0;
    layout->beginLayout();
    for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        bottom = y + line.height();
        y += std::ceil(line.ascent() + line.descent() + line.leading());
    }
    layout->endLayout();
    layout->setPosition(QPointF(margin, m_bottom));
    m_tops.append(m_bottom);
    m_bottom += qMax(y, bottom);
}

void ReadingLayout::layOutThrough(int blockNumber) const
{
    while (canLayOut() && m_tops.size() <= blockNumber && !laidOutToTheEnd())
        layOutNextBlock();
}

void ReadingLayout::layOutDownTo(qreal y) const
{
    while (canLayOut() && m_bottom <= y && !laidOutToTheEnd())
        layOutNextBlock();
}

int ReadingLayout::blockAt(qreal y) const
{
    const auto after = std::upper_bound(m_tops.cbegin(), m_tops.cend(), y);
    return qMax(0, int(after - m_tops.cbegin()) - 1);
}

QSizeF ReadingLayout::documentSize() const
{
    if (!canLayOut())
        return QSizeF();
    return QSizeF(document()->pageSize().width(), m_bottom + document()->documentMargin());
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
    layOutThrough(number);
    if (number >= m_tops.size())
        return QRectF();
    const qreal bottom = number + 1 < m_tops.size() ? m_tops.at(number + 1) : m_bottom;
    return QRectF(document()->documentMargin(), m_tops.at(number),
                  document()->pageSize().width() - 2 * document()->documentMargin(),
                  bottom - m_tops.at(number));
}

int ReadingLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    if (!canLayOut())
        return -1;
    layOutDownTo(point.y());
    const bool fuzzy = accuracy == Qt::FuzzyHit;
    if (m_tops.isEmpty() || point.y() < m_tops.first())
        return fuzzy ? 0 : -1;
    if (point.y() >= m_bottom)
        return fuzzy ? document()->characterCount() - 1 : -1;

    const int number = blockAt(point.y());
    const QTextBlock block = document()->findBlockByNumber(number);
    const QTextLayout *layout = block.layout();
    const QPointF local = point - QPointF(document()->documentMargin(), m_tops.at(number));
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

// Each block is drawn with the painter moved to the block, so the positions
// the text engine sees stay small however deep the block lies.
void ReadingLayout::draw(QPainter *painter, const PaintContext &context)
{
    if (!canLayOut())
        return;
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(0, 0, 1e9, 1e9 + m_bottom);
    layOutDownTo(clip.bottom());
    QTextBlock block = document()->findBlockByNumber(blockAt(clip.top()));
    for (; block.isValid() && block.blockNumber() < m_tops.size(); block = block.next()) {
        const qreal top = m_tops.at(block.blockNumber());
        if (top > clip.bottom())
            break;
        const QPointF shift(0, -top);
        painter->save();
        painter->translate(0, top);
        painter->setPen(context.palette.color(QPalette::Text));
        block.layout()->draw(painter, shift, selectionsIn(block, context), clip.translated(shift));
        const int cursor = context.cursorPosition - block.position();
        if (cursor >= 0 && cursor < block.length())
            block.layout()->drawCursor(painter, shift, cursor);
        painter->restore();
    }
}

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
    connect(bar, &QScrollBar::rangeChanged, this, [this] { applyPendingScroll(false); });
    connect(bar, &QScrollBar::valueChanged, this, [this, bar](int value) {
        // The view clamps to a shrinking range on its own; anything else that
        // moves it (the reader, a find, a bookmark) wins over a position that
        // is still waiting for the layout.
        if (m_pendingScroll >= 0 && value < bar->maximum())
            m_pendingScroll = -1;
    });
    // The view has adjusted its range by the time this arrives.
    connect(document->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { applyPendingScroll(true); });
}

void TextDisplay::setParentWidget(QWidget *widget)
{
    m_parentWidget = widget;
}

void TextDisplay::openFile(const QString &fileName, bool autoDetect, int codec)
{
    assert(m_textWidget != NULL);
    if (!QFile::exists(fileName)) {
        QMessageBox::information(m_parentWidget, QCoreApplication::translate("QObject", "提示"),
                                 QCoreApplication::translate("QObject", "文件不存在：") + fileName,
                                 QMessageBox::Ok);
        return;
    }
    m_fileName = fileName;

    // A file that exists but cannot be read (a folder, no permission) shows
    // as an empty document under its name.
    QByteArray bytes;
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    file.close();

    QString utf8;
    if (autoDetect)
        codec = zk::textFileCodec(bytes);
    // Without a mark, text that is valid UTF-8 is almost certainly UTF-8; it
    // is decoded while it is checked.
    if (autoDetect && codec == 0 && decodesAsUtf8(bytes, &utf8))
        showDecodedText(utf8);
    else
        showText(bytes, codec);
    m_textWidget->document()->setMetaInformation(QTextDocument::DocumentTitle,
                                                 QFileInfo(fileName).baseName());
    setFontAndColor(m_textFont, m_textColor);
}

void TextDisplay::showText(const QByteArray &data, int codec)
{
    showDecodedText(decode(data, codec));
}

void TextDisplay::showDecodedText(const QString &text)
{
    // A position waiting for the layout belonged to the previous text.
    m_pendingScroll = -1;
    // The reading layout does the first pages at once and the rest a slice
    // per pass of the event loop.
    m_textWidget->document()->setPlainText(text);
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

// The layout starts again from the top after a font change and reaches a
// position deep in a long text only after a while; the value is set as
// soon as the range holds it rather than forcing the whole layout now.
void TextDisplay::restoreScroll(int value)
{
    m_pendingScroll = value;
    applyPendingScroll(false);
}

void TextDisplay::applyPendingScroll(bool layoutSettled)
{
    if (m_pendingScroll < 0)
        return;
    QScrollBar *bar = m_textWidget->verticalScrollBar();
    // A text that came out shorter than the old position ends where it ends.
    if (m_pendingScroll > bar->maximum() && !(layoutSettled && laidOutToTheEnd()))
        return;
    const int value = m_pendingScroll;
    m_pendingScroll = -1;
    bar->setValue(value);
}

bool TextDisplay::laidOutToTheEnd() const
{
    const auto *layout =
        dynamic_cast<const ReadingLayout *>(m_textWidget->document()->documentLayout());
    return layout == nullptr || layout->laidOutToTheEnd();
}
