#include "ZkTextEditHelper.h"

#include "ZkSafeSave.h"
#include "ZkTextDecoder.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QFile>
#include <QFileInfo>
#include <QFontDialog>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTextDocumentWriter>
#include <QTextEdit>

#include <cassert>
#include <cmath>

ZkTextEditHelper::ZkTextEditHelper(QObject *parent)
    : QObject(parent), m_textEdit(nullptr), m_parentWidget(nullptr)
{
    createObject();
    initTextAction();
}

ZkTextEditHelper::~ZkTextEditHelper() = default;

void ZkTextEditHelper::setTextEditWidget(QTextEdit *edit)
{
    m_textEdit = edit;
    initEditAction(edit);
}

void ZkTextEditHelper::createObject()
{
    m_undoAction = new QAction(this);
    m_redoAction = new QAction(this);
    m_cutAction = new QAction(this);
    m_copyAction = new QAction(this);
    m_pasteAction = new QAction(this);
    m_spareEditAction = new QAction(this);
    m_boldAction = new QAction(this);
    m_italicAction = new QAction(this);
    m_underlineAction = new QAction(this);
    m_spareFormatAction = new QAction(this);
    m_alignLeftAction = new QAction(this);
    m_alignCenterAction = new QAction(this);
    m_alignRightAction = new QAction(this);
    m_alignJustifyAction = new QAction(this);
}

void ZkTextEditHelper::initTextAction()
{
    for (QAction *action : {m_boldAction, m_italicAction, m_underlineAction, m_alignLeftAction,
                            m_alignCenterAction, m_alignRightAction, m_alignJustifyAction})
        action->setCheckable(true);

    m_alignGroup = new QActionGroup(this);
    connect(m_alignGroup, &QActionGroup::triggered, this, &ZkTextEditHelper::textAlign);
    m_alignGroup->addAction(m_alignLeftAction);
    m_alignGroup->addAction(m_alignCenterAction);
    m_alignGroup->addAction(m_alignRightAction);
    m_alignGroup->addAction(m_alignJustifyAction);

    connect(m_boldAction, &QAction::triggered, this, &ZkTextEditHelper::fontBold);
    connect(m_italicAction, &QAction::triggered, this, &ZkTextEditHelper::fontItalic);
    connect(m_underlineAction, &QAction::triggered, this, &ZkTextEditHelper::fontUnderline);
}

void ZkTextEditHelper::initEditAction(QTextEdit *edit)
{
    connect(edit, &QTextEdit::currentCharFormatChanged, this,
            &ZkTextEditHelper::currentCharFormatChange);
    connect(edit, &QTextEdit::cursorPositionChanged, this, &ZkTextEditHelper::cursorPositionChange);

    fontChange(edit->font());
    textAlignChange(edit->alignment());

    QTextDocument *document = edit->document();
    connect(document, &QTextDocument::undoAvailable, m_undoAction, &QAction::setEnabled);
    connect(document, &QTextDocument::redoAvailable, m_redoAction, &QAction::setEnabled);
    m_undoAction->setEnabled(document->isUndoAvailable());
    m_redoAction->setEnabled(document->isRedoAvailable());

    connect(m_undoAction, &QAction::triggered, edit, &QTextEdit::undo);
    connect(m_redoAction, &QAction::triggered, edit, &QTextEdit::redo);
    connect(m_cutAction, &QAction::triggered, edit, &QTextEdit::cut);
    connect(m_copyAction, &QAction::triggered, edit, &QTextEdit::copy);
    connect(m_pasteAction, &QAction::triggered, edit, &QTextEdit::paste);

    m_cutAction->setEnabled(false);
    m_copyAction->setEnabled(false);
    connect(edit, &QTextEdit::copyAvailable, m_cutAction, &QAction::setEnabled);
    connect(edit, &QTextEdit::copyAvailable, m_copyAction, &QAction::setEnabled);

    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &ZkTextEditHelper::clipboardDataChange);
}

void ZkTextEditHelper::newFile(const QString &)
{
    editor()->clear();
    setCurrentFileName(QString());
}

bool ZkTextEditHelper::openFile(const QString &path)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = file.readAll();
    if (!readFromHtml(data)) {
        int codec = 0;
        editor()->setPlainText(ZkTextDecoder::decodeText(data, &codec));
    }
    setCurrentFileName(path);
    return true;
}

bool ZkTextEditHelper::readFromHtml(const QByteArray &data)
{
    // Without a declared charset the toolkit would take Latin-1, which turns
    // a UTF-8 or GB18030 page into garbage that a save then makes permanent.
    const QString text = ZkTextDecoder::decodeHtml(data);
    if (!Qt::mightBeRichText(text))
        return false;
    editor()->setHtml(text);
    return true;
}

bool ZkTextEditHelper::saveFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    // The writer is handed the suffix as its format, which is exactly how it
    // would pick the format for a file of that name; writing into memory
    // first lets a failed or interrupted write leave the old file intact.
    QBuffer buffer;
    QTextDocumentWriter writer(&buffer, QFileInfo(path).suffix().toLatin1());
    if (!writer.write(editor()->document()))
        return false;
    const QByteArray bytes = buffer.data();
    // A writable file in a folder the user may not create files in is still
    // rewritten in place, as a plain write would.
    const auto write = [&bytes](QIODevice *file) {
        return file->write(bytes) == bytes.size();
    };
    if (!zk::saveWhole(path, write, zk::InPlace::WhereNoNewFileFits))
        return false;
    editor()->document()->setModified(false);
    return true;
}

void ZkTextEditHelper::printFile(const QString &title)
{
    QPrinter printer(QPrinter::HighResolution);
    auto *dialog = new QPrintDialog(&printer, m_parentWidget);
    if (editor()->textCursor().hasSelection())
        dialog->addEnabledOption(QAbstractPrintDialog::PrintSelection);
    dialog->setWindowTitle(title);
    if (dialog->exec() == QDialog::Accepted)
        editor()->print(&printer);
    delete dialog;
}

void ZkTextEditHelper::exportPdf(QString path)
{
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QLatin1String(".pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    editor()->document()->print(&printer);
}

void ZkTextEditHelper::setCurrentFileName(const QString &name)
{
    m_fileName = name;
    editor()->document()->setModified(false);
}

void ZkTextEditHelper::mergeCurrentCharFormat(const QTextCharFormat &format)
{
    QTextCursor cursor = editor()->textCursor();
    if (!cursor.hasSelection())
        cursor.select(QTextCursor::WordUnderCursor);
    cursor.mergeCharFormat(format);
    m_textEdit->mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::fontChange(const QFont &font)
{
    m_boldAction->setChecked(font.weight() > QFont::Normal);
    m_italicAction->setChecked(font.style() != QFont::StyleNormal);
    m_underlineAction->setChecked(font.underline());
}

void ZkTextEditHelper::textAlignChange(Qt::Alignment alignment)
{
    if (alignment & Qt::AlignLeft)
        m_alignLeftAction->setChecked(true);
    else if (alignment & Qt::AlignHCenter)
        m_alignCenterAction->setChecked(true);
    else if (alignment & Qt::AlignRight)
        m_alignRightAction->setChecked(true);
    else if (alignment & Qt::AlignJustify)
        m_alignJustifyAction->setChecked(true);
}

void ZkTextEditHelper::setCurrentFont(const QFont &font)
{
    QTextCharFormat format;
    format.setFont(font);
    mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::setCurrentFontFamily(const QString &family)
{
    QTextCharFormat format;
    format.setFontFamily(family);
    mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::setCurrentFontSize(const QString &size)
{
    const qreal points = size.toDouble();
    if (!(points > 0) || !std::isfinite(points))
        return;
    QTextCharFormat format;
    format.setFontPointSize(points);
    mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::setCurrentFontColor(const QColor &color)
{
    QTextCharFormat format;
    format.setForeground(QBrush(color));
    mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::printPreview()
{
    QPrinter printer(QPrinter::HighResolution);
    auto *preview = new QPrintPreviewDialog(&printer, m_parentWidget);
    preview->setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    connect(preview, &QPrintPreviewDialog::paintRequested, this,
            &ZkTextEditHelper::printPreviewSlot);
    preview->exec();
    delete preview;
}

void ZkTextEditHelper::fontBold()
{
    // Normal, not 0: in Qt 5 a weight of 0 is the thinnest face a family has.
    QTextCharFormat format;
    format.setFontWeight(m_boldAction->isChecked() ? QFont::Bold : QFont::Normal);
    mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::fontItalic()
{
    QTextCharFormat format;
    format.setFontItalic(m_italicAction->isChecked());
    mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::fontUnderline()
{
    QTextCharFormat format;
    format.setFontUnderline(m_underlineAction->isChecked());
    mergeCurrentCharFormat(format);
}

void ZkTextEditHelper::currentCharFormatChange(const QTextCharFormat &format)
{
    fontChange(format.font());
}

void ZkTextEditHelper::cursorPositionChange()
{
    textAlignChange(editor()->alignment());
}

void ZkTextEditHelper::clipboardDataChange()
{
    if (const QMimeData *data = QApplication::clipboard()->mimeData())
        m_pasteAction->setEnabled(data->hasText());
}

void ZkTextEditHelper::textAlign(QAction *action)
{
    if (action == m_alignLeftAction)
        editor()->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    else if (action == m_alignCenterAction)
        editor()->setAlignment(Qt::AlignHCenter);
    else if (action == m_alignRightAction)
        editor()->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
    else if (action == m_alignJustifyAction)
        editor()->setAlignment(Qt::AlignJustify);
}

void ZkTextEditHelper::printPreviewSlot(QPrinter *printer)
{
    editor()->print(printer);
}

void ZkTextEditHelper::openFontDialog()
{
    bool accepted = false;
    const QFont font =
        QFontDialog::getFont(&accepted, editor()->currentCharFormat().font(), m_parentWidget);
    if (accepted)
        setCurrentFont(font);
}

void ZkTextEditHelper::openFontColorDialog()
{
    const QColor color = QColorDialog::getColor(editor()->textColor(), m_parentWidget);
    if (color.isValid())
        setCurrentFontColor(color);
}

QTextEdit *ZkTextEditHelper::editor() const
{
    assert(m_textEdit != NULL);
    return m_textEdit;
}
