#include "TextDecoder.h"

#include <QLocale>
#include <QTextCodec>
#include <QtEndian>

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
// were written in, and a superset of GBK. Taiwan and Hong Kong wrote theirs
// in Big5.
QTextCodec *localCodePage()
{
    QTextCodec *codec = QTextCodec::codecForLocale();
    if (codec != nullptr && codec->mibEnum() != 106)
        return codec;
    if (QLocale().script() == QLocale::TraditionalChineseScript)
        return QTextCodec::codecForName("Big5");
    return QTextCodec::codecForName("GB18030");
}

QString decodeUtf16(const QByteArray &data, bool bigEndianByDefault, bool fileStart)
{
    const int units = data.size() / 2;
    const auto *bytes = reinterpret_cast<const uchar *>(data.constData());
    bool bigEndian = bigEndianByDefault;
    int first = 0;
    if (units > 0 && fileStart) {
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

} // namespace

// A zero byte is text like any other: it shows as a replacement character,
// one for one, so that nothing after it is lost and every later position
// stays that of the decoded text.
QString TextDecoder::decode(const QByteArray &data, int codec, bool fileStart)
{
    return visibleNulls(decodeBytes(data, codec, fileStart));
}

QString TextDecoder::visibleNulls(QString text)
{
    return text.replace(QChar(0), QChar(QChar::ReplacementCharacter));
}

QString TextDecoder::decodeBytes(const QByteArray &data, int codec, bool fileStart)
{
    switch (codec) {
    case 0:
        return localCodePage()->toUnicode(data);
    case 1:
    case 2: {
        const bool marked = fileStart && data.startsWith("\xEF\xBB\xBF");
        return QString::fromUtf8(data.constData() + (marked ? 3 : 0),
                                 data.size() - (marked ? 3 : 0));
    }
    case 3:
        return decodeUtf16(data, false, fileStart);
    case 4:
        return decodeUtf16(data, true, fileStart);
    case 6:
        return QTextCodec::codecForName("Big5")->toUnicode(data);
    default:
        return QTextCodec::codecForName("GB18030")->toUnicode(data);
    }
}

bool TextDecoder::decodesAsUtf8(const QByteArray &data, QString *text)
{
    if (!startsAsUtf8(data))
        return false;
    // Invalid sequences come out as replacement characters; only a text that
    // has some needs the slower decoding that counts them.
    // With its length given: fromUtf8(QByteArray) stops at the first zero byte.
    *text = QString::fromUtf8(data.constData(), data.size());
    if (text->contains(QChar::ReplacementCharacter)) {
        QTextCodec::ConverterState state;
        *text = QTextCodec::codecForMib(106)->toUnicode(data.constData(), data.size(), &state);
        if (state.invalidChars != 0 || state.remainingChars != 0)
            return false;
    }
    *text = visibleNulls(*text);
    return true;
}

QByteArray TextDecoder::localCodePageName()
{
    return localCodePage()->name();
}
