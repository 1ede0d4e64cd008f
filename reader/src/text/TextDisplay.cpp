#include "TextDisplay.h"

#include "ReadingLayout.h"
#include "TextDecoder.h"
#include "TextEncoding.h"
#include "TextLoader.h"
#include "ZkUtility.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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
#include <QThread>

#include <algorithm>
#include <cassert>
#include <limits>

namespace
{

// Re-formatting characters makes the layout redo all of the text they are
// in, at once. Up to this many characters that stays within a few dozen
// milliseconds, so such texts carry the font and colour in their own
// character formats. Longer texts keep plain formats and show the document's
// default font and the view's text colour, which a change reaches without
// touching a single character; the layout then catches up in the background.
const int CharacterFormatLimit = 200000;

// A file up to this size is read and decoded whole before it shows, in a
// few dozen milliseconds; a longer one shows this much of its start first.
const qint64 WholeReadBytes = 1 << 20;
const int HeadBytes = 128 * 1024;
// Appending the rest takes at most this long per pass of the event loop,
// in slices of at most this many characters.
const int AppendMilliseconds = 16;
const int SliceCharacters = 128 * 1024;
// A position asked for while a text loads shows once this much text below
// it has arrived, a few screens even in a small font.
const int PendingLookAhead = 20000;

} // namespace

TextDisplay::TextDisplay(QObject *parent) : QObject(parent), m_loader(new TextLoader(this))
{
    m_appendTimer.setSingleShot(true);
    m_appendTimer.setInterval(0);
    connect(&m_appendTimer, &QTimer::timeout, this, &TextDisplay::appendPieces);
    connect(m_loader, &TextLoader::pieceRead, this, &TextDisplay::takePiece);
    connect(m_loader, &TextLoader::finished, this, [this] {
        m_readToTheEnd = true;
        if (m_pieces.isEmpty())
            finishLoading();
    });
    connect(m_loader, &TextLoader::failed, this, &TextDisplay::loadFailed);
    connect(m_loader, &TextLoader::notUtf8, this, &TextDisplay::readAgain);
}

TextDisplay::~TextDisplay()
{
    for (QThread *thread : m_disposers) {
        thread->wait();
        delete thread;
    }
}

void TextDisplay::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    edit->setReadOnly(true);
    QTextDocument *document = edit->document();
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
    QFile file(fileName);
    QByteArray head;
    QString error;
    if (!readStart(&file, &head, &error)) {
        QMessageBox::information(m_parentWidget, QCoreApplication::translate("QObject", "提示"),
                                 QCoreApplication::translate("QObject", "无法读取文件：") +
                                     fileName + QLatin1Char('\n') + error,
                                 QMessageBox::Ok);
        return false;
    }
    if (!m_fileName.isEmpty())
        emit leaving(m_fileName);
    m_fileName = fileName;
    m_pendingPosition = -1;
    showStart(&file, head, autoDetect, codec);
    setFontAndColor(m_textFont, m_textColor);
    emit opened(fileName);
    return true;
}

// The whole of a short file, the first stretch of a long one.
bool TextDisplay::readStart(QFile *file, QByteArray *head, QString *error)
{
    if (file->open(QIODevice::ReadOnly))
        *head = file->size() <= WholeReadBytes ? file->readAll() : file->read(HeadBytes);
    *error = file->errorString();
    return file->isOpen() && file->error() == QFileDevice::NoError;
}

// The text of m_fileName, in its own document, with the codec it was read
// with and its title.
void TextDisplay::showStart(QFile *file, const QByteArray &head, bool autoDetect, int codec)
{
    cancelLoading();
    if (file->size() > head.size())
        startLoading(file, head, autoDetect, &codec);
    else if (autoDetect)
        showDecodedText(TextEncoding::decode(head, &codec));
    else
        showText(head, codec);
    if (!m_loading && m_progress != 100)
        emit loadProgress(m_progress = 100);
    setCodec(codec);
    m_textWidget->document()->setMetaInformation(QTextDocument::DocumentTitle,
                                                 QFileInfo(m_fileName).baseName());
}

// Shows the head up to its last line break; the loader reads the rest. A
// head that looks like UTF-8 has to prove it to its end, as the whole file
// would.
void TextDisplay::startLoading(QFile *file, const QByteArray &head, bool autoDetect, int *codec)
{
    if (autoDetect) {
        file->seek(TextEncoding::middleSampleOffset(file->size()));
        *codec = TextEncoding::detect(head, file->read(TextEncoding::sampleBytes()));
    }
    bool checkUtf8 =
        autoDetect && *codec == TextEncoding::Utf8 && zk::textFileCodec(head) != TextEncoding::Utf8;
    const int cut = TextLoader::lineEnd(head, *codec);
    const QByteArray start = head.left(cut);
    QString text;
    if (checkUtf8 && !TextDecoder::decodesAsUtf8(start, &text)) {
        *codec = TextEncoding::detectNotUtf8(head);
        checkUtf8 = false;
    }
    if (!checkUtf8)
        text = TextDecoder::decode(start, *codec);

    m_loading = true;
    m_fileSize = file->size();
    m_progress = -1;
    showDecodedText(text);
    // Room for the whole text at the head's characters per byte, so that it
    // grows without copies.
    m_loadedText.reserve(int(qMin<qint64>(
        std::numeric_limits<int>::max() / 2,
        qMax<qint64>(text.size(), qint64(text.size()) * m_fileSize / qMax(1, cut) * 51 / 50))));
    setTextHidden(m_pendingPosition >= 0);
    m_loader->start(file->fileName(), cut, *codec, checkUtf8);
    emit loadProgress(int(cut * 100 / m_fileSize));
}

// The line at the top edge counts even when only its lower part shows: it
// is where the reader's eye is.
int TextDisplay::topPosition() const
{
    assert(m_textWidget != NULL);
    if (m_pendingPosition >= 0)
        return m_pendingPosition;
    return m_textWidget->cursorForPosition(QPoint(0, 0)).position();
}

void TextDisplay::showPosition(int position, qreal fraction)
{
    assert(m_textWidget != NULL);
    QTextDocument *document = m_textWidget->document();
    if (m_loading && position > document->characterCount() - 1 - PendingLookAhead) {
        m_pendingPosition = position;
        m_pendingFraction = fraction;
        setTextHidden(true);
        return;
    }
    if (m_pendingPosition >= 0) {
        m_pendingPosition = -1;
        setTextHidden(false);
    }
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
    replaceDocument(text);
    if (m_loading)
        m_loadedText = text;
    else
        emit textLoaded(text);
}

// The view gets a new document rather than the text of a new one: clearing
// a novel's document would free its blocks here, for a long moment.
void TextDisplay::replaceDocument(const QString &text)
{
    QTextDocument *old = m_textWidget->document();
    // Owned by the view, until it is replaced.
    auto *document = new QTextDocument(m_textWidget);
    // Nothing is ever undone in a read-only view; undo steps would only hold
    // memory for every re-formatting of the text.
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(old->defaultFont());
    document->setDefaultTextOption(old->defaultTextOption());
    document->setDocumentMargin(old->documentMargin());
    // Owned by the document.
    auto *layout = new ReadingLayout(document);
    if (const ReadingLayout *oldLayout = readingLayout())
        layout->setComfort(oldLayout->comfort());
    document->setDocumentLayout(layout);
    document->setPlainText(text);

    disconnect(old->documentLayout(), nullptr, this, nullptr);
    // The view deletes a document of its own making right here; it is
    // empty, as the view made it.
    const bool ours = old->parent() == m_textWidget;
    // The view's scroll value changes with the document; the anchor held
    // for the new text is what the view follows, not what these changes
    // leave at its top.
    m_movingView = true;
    m_textWidget->setDocument(document);
    // The view has adjusted its range by the time this arrives.
    connect(layout, &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &TextDisplay::followLayout);
    // A new text is read from its start.
    m_textWidget->setTextCursor(QTextCursor(document));
    m_movingView = false;
    followLayout();
    if (ours)
        dispose(old);
}

void TextDisplay::dispose(QTextDocument *document)
{
    if (auto *layout = qobject_cast<ReadingLayout *>(document->documentLayout()))
        layout->stop();
    document->setParent(nullptr);
    QThread *thread = QThread::create([document] { delete document; });
    document->moveToThread(thread);
    m_disposers.erase(std::remove_if(m_disposers.begin(), m_disposers.end(),
                                     [](QThread *done) {
                                         if (!done->isFinished())
                                             return false;
                                         delete done;
                                         return true;
                                     }),
                      m_disposers.end());
    m_disposers.push_back(thread);
    thread->start();
}

void TextDisplay::cancelLoading()
{
    m_loader->cancel();
    m_appendTimer.stop();
    m_pieces.clear();
    m_pieceEnds.clear();
    m_pieceOffset = 0;
    m_loadedText.clear();
    m_loading = false;
    m_readToTheEnd = false;
}

void TextDisplay::takePiece(const QString &text, qint64 bytesRead)
{
    m_pieces.append(text);
    m_pieceEnds.append(bytesRead);
    if (!m_appendTimer.isActive())
        m_appendTimer.start();
}

// A slice at a time, while the pass lasts. The view keeps its text where
// it is; a position waiting for its text is shown once it has come.
void TextDisplay::appendPieces()
{
    QElapsedTimer clock;
    clock.start();
    QTextCursor cursor(m_textWidget->document());
    // One change of the document per pass. Inside an edit block a cursor
    // also leaves its block alone: outside one, each move and insert would
    // lay out the last block and a screen of text above it.
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    while (!m_pieces.isEmpty() && clock.elapsed() < AppendMilliseconds) {
        const QString &piece = m_pieces.first();
        const int length = sliceLength(piece, m_pieceOffset);
        cursor.insertText(m_pieceOffset == 0 && length == piece.size()
                              ? piece
                              : piece.mid(m_pieceOffset, length));
        m_pieceOffset += length;
        if (m_pieceOffset < piece.size())
            continue;
        m_loadedText += piece;
        m_loader->pieceTaken(piece.size());
        // 100 is for the text that is whole.
        const int progress = qMin(99, int(m_pieceEnds.first() * 100 / qMax<qint64>(1, m_fileSize)));
        m_pieces.removeFirst();
        m_pieceEnds.removeFirst();
        m_pieceOffset = 0;
        if (progress != m_progress)
            emit loadProgress(m_progress = progress);
    }
    cursor.endEditBlock();
    followLayout();
    if (!m_pieces.isEmpty())
        m_appendTimer.start();
    else if (m_readToTheEnd)
        finishLoading();
    showPendingPosition();
}

// Up to a line break: a slice never splits a character or a CR LF pair,
// and a block is laid out again only when its line is whole. A line longer
// than a slice goes in whole, as the loader hands it over.
int TextDisplay::sliceLength(const QString &piece, int from) const
{
    if (piece.size() - from <= SliceCharacters)
        return piece.size() - from;
    int lineEnd = piece.lastIndexOf(QLatin1Char('\n'), from + SliceCharacters - 1);
    if (lineEnd < from)
        lineEnd = piece.indexOf(QLatin1Char('\n'), from + SliceCharacters);
    return lineEnd < 0 ? piece.size() - from : lineEnd + 1 - from;
}

void TextDisplay::finishLoading()
{
    m_loading = false;
    m_readToTheEnd = false;
    const QString text = m_loadedText;
    m_loadedText.clear();
    showPendingPosition();
    if (m_progress != 100)
        emit loadProgress(m_progress = 100);
    emit textLoaded(text);
}

// What arrived stays; the user learns that the rest did not.
void TextDisplay::loadFailed(const QString &error)
{
    m_loader->cancel();
    m_readToTheEnd = true;
    if (m_pieces.isEmpty())
        finishLoading();
    QMessageBox::information(m_parentWidget, QCoreApplication::translate("QObject", "提示"),
                             QCoreApplication::translate("QObject", "无法读取文件：") + m_fileName +
                                 QLatin1Char('\n') + error,
                             QMessageBox::Ok);
}

// The text proved not to be UTF-8 beyond its start: all of it is read again
// in the code page its first Chinese lines read as.
void TextDisplay::readAgain(int codec)
{
    QFile file(m_fileName);
    QByteArray head;
    QString error;
    if (!readStart(&file, &head, &error))
        return loadFailed(error);
    showStart(&file, head, false, codec);
}

void TextDisplay::showPendingPosition()
{
    if (m_pendingPosition < 0)
        return;
    const int available = m_textWidget->document()->characterCount() - 1 - PendingLookAhead;
    if (m_loading && m_pendingPosition > available)
        return;
    const int position = m_pendingPosition;
    showPosition(position, m_pendingFraction);
}

void TextDisplay::setTextHidden(bool hidden)
{
    if (ReadingLayout *layout = readingLayout())
        layout->setTextHidden(hidden);
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
    // A text still loading is a long one.
    if (m_loading || document->characterCount() > CharacterFormatLimit)
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
