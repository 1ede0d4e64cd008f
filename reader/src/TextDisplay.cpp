#include "TextDisplay.h"

#include "ZkUtility.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QScrollBar>
#include <QTextCodec>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QtEndian>

#include <cassert>

namespace
{

bool isValidUtf8(const QByteArray &data)
{
    const auto *p = reinterpret_cast<const unsigned char *>(data.constData());
    const unsigned char *const end = p + data.size();
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
            return false;
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

} // namespace

TextDisplay::TextDisplay(QObject *parent) : QObject(parent) {}

void TextDisplay::setTextWidget(QTextEdit *edit)
{
    m_textWidget = edit;
    edit->setReadOnly(true);
    const QTextCharFormat format = edit->textCursor().charFormat();
    m_textFont = format.font();
    m_textColor = format.foreground().color();
    m_backColor = edit->viewport()->palette().brush(QPalette::Window).color();
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

    if (autoDetect) {
        codec = zk::textFileCodec(bytes);
        // Without a mark, text that is valid UTF-8 is almost certainly UTF-8:
        // GBK text is practically never valid UTF-8.
        if (codec == 0 && isValidUtf8(bytes))
            codec = 1;
    }
    showText(bytes, codec);
    m_textWidget->document()->setMetaInformation(QTextDocument::DocumentTitle,
                                                 QFileInfo(fileName).baseName());
    setFontAndColor(m_textFont, m_textColor);
}

void TextDisplay::showText(const QByteArray &data, int codec)
{
    m_textWidget->document()->setPlainText(decode(data, codec));
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
    QTextCharFormat format = m_charFormat;
    if (font != m_textFont) {
        m_textFont = font;
        m_textWidget->document()->setDefaultFont(font);
        format.setFont(font);
    }
    if (color != m_textColor) {
        m_textColor = color;
        format.setForeground(QBrush(color, Qt::SolidPattern));
    }
    applyCharFormat(format);
}

void TextDisplay::applyCharFormat(const QTextCharFormat &format)
{
    m_charFormat = format;
    QScrollBar *bar = m_textWidget->verticalScrollBar();
    const int scrollValue = bar->value();
    const int position = m_textWidget->textCursor().position();

    QTextDocument *document = m_textWidget->document();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.setCharFormat(format);
    cursor.clearSelection();
    cursor.setPosition(qBound(0, position, document->characterCount() - 1));
    cursor.endEditBlock();

    m_textWidget->setTextCursor(cursor);
    bar->setValue(scrollValue);
}
