#include "TextDisplay.h"

#include "DocumentFeeder.h"
#include "DocumentSwap.h"
#include "GlyphWarmUp.h"
#include "ParagraphTidier.h"
#include "ReadingAnchor.h"
#include "ReadingLayout.h"
#include "ScriptChoice.h"
#include "ScriptConverter.h"
#include "ShownText.h"
#include "TextLoader.h"
#include "TextTuning.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <cassert>

TextDisplay::TextDisplay(QObject *parent)
    : QObject(parent), m_loader(new TextLoader(this)), m_documents(new DocumentSwap(this)),
      m_feeder(new DocumentFeeder(this)), m_anchor(new ReadingAnchor(this)),
      m_glyphs(new GlyphWarmUp(this)), m_shown(new ShownText(this))
{
    connectParts();
}

// The loader's and the documents' threads are joined by the parts.
TextDisplay::~TextDisplay() = default;

void TextDisplay::connectParts()
{
    connect(m_loader, &TextLoader::pieceRead, this, &TextDisplay::takePiece);
    connect(m_loader, &TextLoader::rulesFailed, this, &TextDisplay::cleaningRulesFailed);
    connect(m_loader, &TextLoader::finished, m_feeder, &DocumentFeeder::finish);
    connect(m_loader, &TextLoader::failed, this, &TextDisplay::loadFailed);
    connect(m_loader, &TextLoader::restarted, this, &TextDisplay::startAgain);
    connect(m_documents, &DocumentSwap::layoutChanged, m_anchor, &ReadingAnchor::setLayout);
    connect(m_feeder, &DocumentFeeder::pieceTaken, this, &TextDisplay::pieceTaken);
    // A position waiting for its text is shown once it has come.
    connect(m_feeder, &DocumentFeeder::appended, this, [this] {
        m_anchor->follow();
        showHeldPosition();
    });
    connect(m_feeder, &DocumentFeeder::allRead, this, &TextDisplay::textRead);
    connect(m_feeder, &DocumentFeeder::complete, this, &TextDisplay::finishLoading);
    connect(this, &TextDisplay::textBegun, m_shown, &ShownText::begin);
    connect(this, &TextDisplay::textGrew, m_shown, &ShownText::append);
    connect(this, &TextDisplay::textLoaded, m_shown, &ShownText::finish);
}

void TextDisplay::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    edit->setReadOnly(true);
    m_documents->setTextWidget(edit);
    m_feeder->setTextWidget(edit);
    m_anchor->setTextWidget(edit);
    m_look.setTextWidget(edit);
    m_textFont = m_look.initialFont();
    m_textColor = m_look.initialColor();
    m_backColor = m_look.initialBackColor();
    m_glyphs->start(m_textFont);
}

void TextDisplay::setParentWidget(QWidget *widget)
{
    m_parentWidget = widget;
}

// A file that is missing or cannot be read (a folder, no permission, a read
// error) leaves the text on screen as it was, rather than an empty page
// under its name.
bool TextDisplay::openFile(const QString &fileName, bool autoDetect, int codec)
{
    assert(m_textWidget != NULL);
    const int asked = autoDetect ? TextLoader::AutoDetect : codec;
    OpenResult result = m_loader->open(fileName, asked, m_options);
    const bool notText = result.status == OpenResult::NotText;
    if (notText && askOpenAnyway(fileName))
        result = m_loader->open(fileName, asked, m_options, true);
    if (!result.opened()) {
        showOpenFailure(result);
        return false;
    }
    m_notText = notText;
    if (!m_fileName.isEmpty())
        emit leaving(m_fileName);
    m_glyphs->stop();
    m_fileName = fileName;
    m_anchor->dropHeldPosition();
    showStart(result);
    setFontAndColor(m_textFont, m_textColor);
    emit opened(fileName);
    return true;
}

void TextDisplay::prepareScripts(const QStringList &configurations)
{
    m_glyphs->addScripts(m_textFont, configurations);
}

bool TextDisplay::isLoading() const
{
    return m_feeder->isFeeding();
}

// The text of m_fileName, with the codec it was read with and its title; a
// long file's start, with the rest on its way.
void TextDisplay::showStart(const OpenResult &result)
{
    m_feeder->clear();
    const bool loading = !result.complete();
    m_fileSize = result.fileSize;
    m_map = result.map;
    m_script = result.scriptConfiguration.isEmpty()
                   ? nullptr
                   : ScriptConverter::forConfiguration(result.scriptConfiguration);
    m_ownScript.reset();
    m_ownScriptKnown = false;
    if (loading) {
        // about as many characters per byte as the start has
        const qint64 bytes = qMax<qint64>(1, result.bytesRead);
        m_feeder->begin(result.text, qint64(result.text.size()) * m_fileSize / bytes * 51 / 50);
    }
    showText(result.text, loading);
    if (loading) {
        setProgress(int(result.bytesRead * 100 / m_fileSize));
    } else {
        emit textRead(result.text);
        emit textLoaded(result.text);
        setProgress(100);
    }
    setCodec(result.codec);
    const QString title = QFileInfo(m_fileName).baseName();
    m_textWidget->document()->setMetaInformation(QTextDocument::DocumentTitle,
                                                 m_script ? m_script->convert(title) : title);
    if (!result.failedRules.isEmpty())
        emit cleaningRulesFailed(result.failedRules);
    if (!result.scriptError.isEmpty())
        emit scriptFailed(result.scriptError);
}

// A new text is read from its start. The view's scroll value changes with
// the document; the anchor held for the new text is what the view follows,
// not what these changes leave at its top.
void TextDisplay::showText(const QString &text, bool continues)
{
    m_anchor->holdStart();
    m_anchor->moveViewWhile([this, &text, continues] { m_documents->replace(text, continues); });
    m_anchor->follow();
    emit textBegun(text);
}

// The text proved not to be UTF-8 beyond its start: all of it comes again
// in the code page its first Chinese lines read as.
void TextDisplay::startAgain(int codec)
{
    m_map.clear();
    m_feeder->begin(QString(), m_fileSize);
    showText(QString(), true);
    setProgress(0);
    setCodec(codec);
}

// The map covers the text from its start, so it may take a piece's changes
// before the piece is in the document. The feeder keeps what it takes
// without a second copy, so the loader may go on at once.
void TextDisplay::takePiece(const QString &text, const PositionMap &map, qint64 bytesRead)
{
    m_map.append(map, 0, 0);
    m_feeder->takePiece(text, bytesRead);
    m_loader->pieceTaken(text.size());
}

void TextDisplay::pieceTaken(const QString &piece, qint64 bytesRead)
{
    emit textGrew(piece);
    // 100 is for the text that is whole.
    setProgress(qMin(99, int(bytesRead * 100 / qMax<qint64>(1, m_fileSize))));
}

void TextDisplay::finishLoading(const QString &text)
{
    showHeldPosition();
    setProgress(100);
    emit textLoaded(text);
}

// What arrived stays; the user learns that the rest did not.
void TextDisplay::loadFailed(const QString &error)
{
    m_loader->cancel();
    m_feeder->finish();
    OpenResult result;
    result.status = OpenResult::Unreadable;
    result.fileName = m_fileName;
    result.error = error;
    showOpenFailure(result);
}

bool TextDisplay::askOpenAnyway(const QString &fileName) const
{
    return QMessageBox::question(
               m_parentWidget, QCoreApplication::translate("QObject", "提示"),
               QCoreApplication::translate("QObject", "这似乎不是文本文件，仍要打开吗？") +
                   QLatin1Char('\n') + fileName,
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

// A file the user chose not to open after all needs no word.
void TextDisplay::showOpenFailure(const OpenResult &result)
{
    QString text;
    switch (result.status) {
    case OpenResult::NotText:
    case OpenResult::Opened:
        return;
    case OpenResult::Missing:
        text = QCoreApplication::translate("QObject", "文件不存在：") + result.fileName;
        break;
    case OpenResult::Empty:
        text = QCoreApplication::translate("QObject", "文件是空的：") + result.fileName;
        break;
    case OpenResult::Unreadable:
        text = QCoreApplication::translate("QObject", "无法读取文件：") + result.fileName +
               QLatin1Char('\n') + result.error;
        break;
    }
    QMessageBox::information(m_parentWidget, QCoreApplication::translate("QObject", "提示"), text,
                             QMessageBox::Ok);
}

void TextDisplay::setProgress(int percent)
{
    if (percent == m_progress)
        return;
    m_progress = percent;
    emit loadProgress(percent);
}

void TextDisplay::setCodec(int codec)
{
    if (codec == m_codec)
        return;
    m_codec = codec;
    emit codecChanged(codec);
}

int TextDisplay::arrivedFilePosition() const
{
    return m_map.toFile(m_textWidget->document()->characterCount() - 1);
}

QString TextDisplay::toShownScript(const QString &text) const
{
    if (m_script)
        return m_script->convert(text);
    if (!m_ownScriptKnown) {
        m_ownScriptKnown = true;
        QTextCursor start(m_textWidget->document());
        start.setPosition(
            qMin(ParagraphTidier::SampleCharacters, m_textWidget->document()->characterCount() - 1),
            QTextCursor::KeepAnchor);
        m_ownScript = ScriptConverter::forConfiguration(
            ScriptChoice::configurationInto(ScriptChoice::regionOf(start.selectedText())));
    }
    return m_ownScript ? m_ownScript->convert(text) : text;
}

// A position held for its text counts as shown.
int TextDisplay::topPosition() const
{
    const int held = m_anchor->heldPosition();
    return held >= 0 ? held : m_map.toFile(m_anchor->topPosition());
}

// A position asked for while a text loads is shown once a few screens of
// text below it have arrived.
void TextDisplay::showPosition(int position, qreal fraction)
{
    assert(m_textWidget != NULL);
    if (isLoading() && position > arrivedFilePosition() - TextTuning::PendingLookAhead)
        m_anchor->holdPosition(position, fraction);
    else
        m_anchor->showPosition(m_map.toShown(position), fraction);
}

void TextDisplay::showHeldPosition()
{
    const int held = m_anchor->heldPosition();
    if (held >= 0 && (!isLoading() || held <= arrivedFilePosition() - TextTuning::PendingLookAhead))
        m_anchor->showPosition(m_map.toShown(held), m_anchor->heldFraction());
}

// Line spacing, paragraph spacing and the text column change the layout
// only; the anchor keeps the text at the top of the view where it is.
void TextDisplay::setComfort(const ComfortSettings &comfort)
{
    assert(m_textWidget != NULL);
    if (TextLook::setComfort(m_documents->layout(), comfort))
        m_anchor->follow();
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
    m_look.setBackColor(color);
}

void TextDisplay::setFontAndColor(const QFont &font, const QColor &color)
{
    assert(m_textWidget != NULL);
    dropSelection();
    if (font != m_textFont) {
        m_textFont = font;
        m_look.setFont(font);
        if (m_fileName.isEmpty())
            m_glyphs->start(font);
    }
    if (color != m_textColor) {
        m_textColor = color;
        m_look.setColor(color);
    }
    // A text still loading is a long one.
    m_look.apply(isLoading() ||
                 m_textWidget->document()->characterCount() > TextTuning::CharacterFormatLimit);
    // A colour alone changes no layout, so nothing else brings the view back
    // if dropping the selection moved it.
    m_anchor->follow();
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
    m_anchor->moveViewWhile([this, &cursor] { m_textWidget->setTextCursor(cursor); });
}
