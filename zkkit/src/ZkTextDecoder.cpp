#include "ZkTextDecoder.h"

#include "ZkEncodingDetection.h"
#include "ZkUtility.h"

#include <QTextCodec>
#include <QtEndian>

#include <algorithm>

namespace detection = zk::detection;

namespace
{

// Most Linux desktops run a UTF-8 locale, where "the local code page" would
// turn every GBK novel into garbage; the locale's Chinese code page is the
// one those files were written in.
QTextCodec *localCodePage()
{
    QTextCodec *codec = QTextCodec::codecForLocale();
    if (codec != nullptr && codec->mibEnum() != 106)
        return codec;
    return detection::chineseCodePage(QLocale()) == ZkTextDecoder::Big5
               ? QTextCodec::codecForName("Big5")
               : QTextCodec::codecForName("GB18030");
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

QString decodeBytes(const QByteArray &data, int codec, bool fileStart)
{
    switch (codec) {
    case ZkTextDecoder::LocalCodePage:
        return localCodePage()->toUnicode(data);
    case ZkTextDecoder::Utf8:
    case 2: {
        const int mark = fileStart && data.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        // With its length given: fromUtf8(QByteArray) stops at a zero byte.
        return QString::fromUtf8(data.constData() + mark, data.size() - mark);
    }
    case ZkTextDecoder::Utf16LittleEndian:
        return decodeUtf16(data, false, fileStart);
    case ZkTextDecoder::Utf16BigEndian:
        return decodeUtf16(data, true, fileStart);
    case ZkTextDecoder::Big5:
        return QTextCodec::codecForName("Big5")->toUnicode(data);
    default:
        return QTextCodec::codecForName("GB18030")->toUnicode(data);
    }
}

// A zero byte is text like any other.
QString visibleNulls(QString text)
{
    return text.replace(QChar(0), QChar(QChar::ReplacementCharacter));
}

// Invalid sequences come out as replacement characters; only a text that
// has some needs the stricter check that counts them.
bool decodesAsUtf8(const QByteArray &data, QString *text)
{
    *text = QString::fromUtf8(data.constData(), data.size());
    if (text->contains(QChar::ReplacementCharacter) && !ZkTextDecoder::isUtf8(data))
        return false;
    *text = visibleNulls(*text);
    return true;
}

// The converters of some code pages (GB18030 among them) count no invalid
// bytes; a text that encodes back to the same bytes had none.
bool decodesCleanly(const QByteArray &data, int codec)
{
    if (codec == ZkTextDecoder::Utf8 || codec == 2)
        return ZkTextDecoder::isUtf8(data);
    if (codec == ZkTextDecoder::Utf16LittleEndian || codec == ZkTextDecoder::Utf16BigEndian)
        return true;
    QTextCodec *page =
        codec == ZkTextDecoder::LocalCodePage
            ? localCodePage()
            : QTextCodec::codecForName(codec == ZkTextDecoder::Big5 ? "Big5" : "GB18030");
    return page->fromUnicode(page->toUnicode(data)) == data;
}

} // namespace

int ZkTextDecoder::sampleBytes()
{
    return detection::SampleBytes;
}

qint64 ZkTextDecoder::middleSampleOffset(qint64 size)
{
    return (size / 2 - detection::SampleBytes / 2) & ~qint64(1);
}

int ZkTextDecoder::detect(const QByteArray &data, const QByteArray &middle, const QLocale &locale)
{
    return detection::detect(detection::samplesOf(data, middle), locale);
}

QString ZkTextDecoder::decodeText(const QByteArray &data, int *codec, const QLocale &locale)
{
    ZkTextDecoder decoder = forFile(data, QByteArray(), locale);
    QString text;
    if (!decoder.decodeNext(data, &text))
        text = decode(data, decoder.codec());
    *codec = decoder.codec();
    return text;
}

QString ZkTextDecoder::decodeHtml(const QByteArray &data)
{
    if (QTextCodec *declared = QTextCodec::codecForHtml(data, nullptr))
        return visibleNulls(declared->toUnicode(data));
    int codec = LocalCodePage;
    const QString text = decodeText(data, &codec);
    return decodesCleanly(data, codec) ? text : visibleNulls(QString::fromLatin1(data));
}

QString ZkTextDecoder::decode(const QByteArray &data, int codec, bool fileStart)
{
    return visibleNulls(decodeBytes(data, codec, fileStart));
}

bool ZkTextDecoder::isUtf8(const QByteArray &data)
{
    return detection::isUtf8({data, false, false});
}

namespace
{

// Form feeds and DOS's end-of-file mark turn up in old texts.
bool isControl(uint unit)
{
    return (unit < 0x20 && unit != '\t' && unit != '\n' && unit != '\r' && unit != '\f' &&
            unit != 0x1a) ||
           unit == 0x7f;
}

// Of the bytes of a text, fewer than one in this many.
const int ControlShare = 20;
const int LooksBytes = 4096;

} // namespace

bool ZkTextDecoder::looksLikeText(const QByteArray &start, int codec)
{
    const QByteArray sample = start.left(LooksBytes);
    int controls = 0;
    int units = 0;
    if (codec == Utf16LittleEndian || codec == Utf16BigEndian) {
        const bool big = codec == Utf16BigEndian;
        for (int i = 0; i + 1 < sample.size(); i += 2, ++units) {
            const uint first = uchar(sample.at(i)), second = uchar(sample.at(i + 1));
            controls += isControl(big ? first << 8 | second : second << 8 | first);
        }
    } else {
        for (const char byte : sample)
            controls += isControl(uchar(byte));
        units = sample.size();
    }
    return controls * ControlShare < qMax(1, units);
}

int ZkTextDecoder::lineEnd(const QByteArray &data, int codec)
{
    if (codec == Utf16LittleEndian || codec == Utf16BigEndian) {
        const char *unit = codec == Utf16LittleEndian ? "\n\0" : "\0\n";
        for (int i = (data.size() & ~1) - 2; i >= 0; i -= 2) {
            if (data.at(i) == unit[0] && data.at(i + 1) == unit[1])
                return i + 2;
        }
        return 0;
    }
    return data.lastIndexOf('\n') + 1;
}

QByteArray ZkTextDecoder::localCodePageName()
{
    return localCodePage()->name();
}

int ZkTextDecoder::codecNamed(const QByteArray &name)
{
    const QByteArray upper = name.toUpper();
    if (upper == "UTF-8" || upper == "UTF8")
        return Utf8;
    if (upper == "GB18030" || upper == "GBK" || upper == "GB2312" || upper == "CP936")
        return Gb18030;
    if (upper == "BIG5" || upper == "BIG5-HKSCS" || upper == "CP950")
        return Big5;
    if (upper == "UTF-16LE")
        return Utf16LittleEndian;
    if (upper == "UTF-16BE")
        return Utf16BigEndian;
    return -1;
}

ZkTextDecoder ZkTextDecoder::forFile(const QByteArray &start, const QByteArray &middle,
                                     const QLocale &locale)
{
    ZkTextDecoder decoder(detect(start, middle, locale), locale);
    decoder.m_proving = decoder.m_codec == Utf8 && zk::textFileCodec(start) != Utf8;
    return decoder;
}

ZkTextDecoder::ZkTextDecoder(int codec, const QLocale &locale) : m_codec(codec), m_locale(locale) {}

bool ZkTextDecoder::decodeNext(const QByteArray &bytes, QString *text)
{
    const bool fileStart = m_atStart;
    m_atStart = false;
    if (!m_proving) {
        *text = decode(bytes, m_codec, fileStart);
        return true;
    }
    keepSample(bytes);
    if (decodesAsUtf8(bytes, text))
        return true;
    m_proving = false;
    m_codec = detection::detectChinese({detection::firstNonAscii(m_sample, !m_sampling)}, m_locale);
    m_sample.clear();
    return false;
}

// Text that proves not to be UTF-8 is detected again from where its bytes
// first leave ASCII, which may lie in a stretch decoded long before: that
// much is kept on the way, at most a sample's worth.
void ZkTextDecoder::keepSample(const QByteArray &bytes)
{
    if (m_sample.isEmpty()) {
        const int found =
            int(std::find_if(bytes.cbegin(), bytes.cend(), [](char c) { return c & 0x80; }) -
                bytes.cbegin());
        if (found == bytes.size())
            return;
        const int lineStart = bytes.lastIndexOf('\n', found) + 1;
        m_sample = bytes.mid(lineStart, detection::SampleBytes);
        m_sampling = m_sample.size() < detection::SampleBytes;
    } else if (m_sampling) {
        m_sample += bytes.left(detection::SampleBytes - m_sample.size());
        m_sampling = m_sample.size() < detection::SampleBytes;
    }
}
