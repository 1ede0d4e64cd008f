#include "TextEncoding.h"

#include "TextDecoder.h"
#include "ZkUtility.h"

#include <QCoreApplication>
#include <QTextCodec>
#include <QVector>

#include <uchardet.h>

#include <algorithm>

namespace
{

// Detection looks at this many bytes from the start and as many from the
// middle: enough for uchardet's statistics and for the share of Chinese
// characters, and a few milliseconds whatever the size of the file.
const int SampleBytes = 64 * 1024;

// A stretch of the bytes that detection looks at. A cut side may split a
// character; an uncut one is the start or end of the file, or a line break.
struct Piece {
    QByteArray bytes; // refers to the caller's data, which outlives it
    bool cutStart;
    bool cutEnd;
};

QByteArray view(const QByteArray &data, int from, int size)
{
    return QByteArray::fromRawData(data.constData() + from, size);
}

// The whole data when it is small, else its start and its middle, both at
// even offsets so that UTF-16 units stay whole.
QVector<Piece> rawPieces(const QByteArray &data)
{
    if (data.size() <= 2 * SampleBytes)
        return {{data, false, false}};
    const int middle = int(TextEncoding::middleSampleOffset(data.size()));
    return {{view(data, 0, SampleBytes), false, true},
            {view(data, middle, SampleBytes), true, true}};
}

// Pieces cut at line breaks, which no character of UTF-8, GBK or Big5
// contains, so that uchardet sees whole characters only.
QVector<Piece> alignedToLines(QVector<Piece> pieces)
{
    for (Piece &piece : pieces) {
        const int first = piece.cutStart ? piece.bytes.indexOf('\n') : -1;
        const int last = piece.cutEnd ? piece.bytes.lastIndexOf('\n') : -1;
        const int begin = first + 1;
        const int end = last >= begin ? last + 1 : piece.bytes.size();
        piece.cutStart = piece.cutStart && first < 0;
        piece.cutEnd = piece.cutEnd && last < begin;
        piece.bytes = QByteArray::fromRawData(piece.bytes.constData() + begin, end - begin);
    }
    return pieces;
}

QVector<Piece> textPieces(const QByteArray &data)
{
    return alignedToLines(rawPieces(data));
}

// From the line of the first byte beyond ASCII on: where a file that is
// plain ASCII at its start and in its middle shows its encoding.
QVector<Piece> firstNonAsciiPiece(const QByteArray &data)
{
    const char *found = std::find_if(data.cbegin(), data.cend(), [](char c) { return c & 0x80; });
    const int from = found == data.cend() ? 0 : data.lastIndexOf('\n', found - data.cbegin()) + 1;
    const int size = qMin(SampleBytes, data.size() - from);
    return alignedToLines({{view(data, from, size), false, from + size < data.size()}});
}

// A character split by a cut side counts as valid.
bool isUtf8(const Piece &piece)
{
    const char *bytes = piece.bytes.constData();
    int size = piece.bytes.size();
    for (int skipped = 0; piece.cutStart && skipped < 3 && size > 0; ++skipped) {
        if ((uchar(*bytes) & 0xC0) != 0x80)
            break;
        ++bytes;
        --size;
    }
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(bytes, size, &state);
    return state.invalidChars == 0 && (state.remainingChars == 0 || piece.cutEnd);
}

enum class Unit { Implausible, Plausible, Telling };

// How a UTF-16 code unit (not a surrogate) fits a Chinese or Latin text.
// Telling units are those that bytes of ASCII text, read two by two, never
// make: they need a zero byte, a byte of 0x80 or more or a control byte.
// Mostly-ASCII text with a few stray zero bytes is plausible through and
// through, but seldom telling.
Unit classify(ushort unit)
{
    const auto within = [unit](ushort first, ushort last) {
        return unit >= first && unit <= last;
    };
    if (unit == 0x09 || unit == 0x0A || unit == 0x0D || within(0x20, 0x7E) || within(0xA0, 0x24F))
        return Unit::Telling; // Latin
    if (within(0x3000, 0x301F) || within(0x2010, 0x201F) || within(0xFF00, 0xFFEF))
        return Unit::Telling; // CJK and full-width punctuation, dashes and quotes
    if (within(0x8000, 0x9FFF) || within(0xF900, 0xFAFF))
        return Unit::Telling; // ideographs
    if (within(0x370, 0x4FF) || within(0x2000, 0x2BFF) || within(0x3020, 0x31FF) ||
        within(0x3400, 0x4DBF) || within(0x4E00, 0x7FFF) || within(0xFE30, 0xFE4F))
        return Unit::Plausible; // Greek, Cyrillic, symbols, kana, bopomofo, ideographs
    return Unit::Implausible;
}

struct Utf16Score {
    int units = 0;
    int plausible = 0; // telling ones included
    int telling = 0;
};

void scoreUtf16(const Piece &piece, bool bigEndian, Utf16Score *score)
{
    const auto *bytes = reinterpret_cast<const uchar *>(piece.bytes.constData());
    const int count = piece.bytes.size() / 2;
    const auto unitAt = [bytes, bigEndian](int i) {
        return ushort(bigEndian ? bytes[2 * i] << 8 | bytes[2 * i + 1]
                                : bytes[2 * i + 1] << 8 | bytes[2 * i]);
    };
    for (int i = 0; i < count; ++i) {
        const ushort unit = unitAt(i);
        if (QChar::isHighSurrogate(unit) && i + 1 < count && QChar::isLowSurrogate(unitAt(i + 1))) {
            score->units += 2; // characters beyond the basic plane, mostly rare ideographs
            score->plausible += 2;
            score->telling += 2;
            ++i;
            continue;
        }
        // half of a pair that a cut separated
        if ((i == 0 && piece.cutStart && QChar::isLowSurrogate(unit)) ||
            (i + 1 == count && piece.cutEnd && QChar::isHighSurrogate(unit)))
            continue;
        ++score->units;
        const Unit kind = classify(unit);
        score->plausible += kind != Unit::Implausible;
        score->telling += kind == Unit::Telling;
    }
}

// UTF-16 when nearly every unit belongs in a Chinese or Latin text and one
// in ten at least is telling; 0 otherwise.
int detectUtf16(const QVector<Piece> &pieces)
{
    Utf16Score little;
    Utf16Score big;
    for (const Piece &piece : pieces) {
        scoreUtf16(piece, false, &little);
        scoreUtf16(piece, true, &big);
    }
    const auto fits = [](const Utf16Score &score) {
        return score.units > 0 && score.plausible * 100 >= score.units * 95 &&
               score.telling * 10 >= score.units;
    };
    if (fits(little) && (!fits(big) || little.telling >= big.telling))
        return TextEncoding::Utf16LittleEndian;
    if (fits(big))
        return TextEncoding::Utf16BigEndian;
    return 0;
}

// uchardet's name for the encoding, upper case; empty when it cannot tell.
QByteArray uchardetAnswer(const QVector<Piece> &pieces)
{
    uchardet_t detector = uchardet_new();
    if (detector == nullptr)
        return QByteArray();
    for (const Piece &piece : pieces)
        uchardet_handle_data(detector, piece.bytes.constData(), size_t(piece.bytes.size()));
    uchardet_data_end(detector);
    const QByteArray answer = QByteArray(uchardet_get_charset(detector)).toUpper();
    uchardet_delete(detector);
    return answer;
}

// On short, mostly-ASCII samples uchardet confidently names single-byte
// code pages (ISO-8859-16, IBM852); only its Chinese answers are taken.
int detectChinese(const QVector<Piece> &pieces, const QLocale &locale)
{
    const QByteArray answer = uchardetAnswer(pieces);
    if (answer.startsWith("GB")) // GB18030, GB2312, GBK
        return TextEncoding::Gb18030;
    if (answer.startsWith("BIG5"))
        return TextEncoding::Big5;
    return locale.script() == QLocale::TraditionalChineseScript ? TextEncoding::Big5
                                                                : TextEncoding::Gb18030;
}

int detectInPieces(const QVector<Piece> &raw, const QLocale &locale)
{
    const int marked = zk::textFileCodec(raw.first().bytes);
    if (marked != 0)
        return marked;
    const int utf16 = detectUtf16(raw);
    if (utf16 != 0)
        return utf16;
    const QVector<Piece> pieces = alignedToLines(raw);
    if (std::all_of(pieces.cbegin(), pieces.cend(), isUtf8))
        return TextEncoding::Utf8;
    return detectChinese(pieces, locale);
}

} // namespace

int TextEncoding::detect(const QByteArray &data, const QLocale &locale)
{
    return detectInPieces(rawPieces(data), locale);
}

int TextEncoding::detect(const QByteArray &head, const QByteArray &middle, const QLocale &locale)
{
    return detectInPieces({{head.left(SampleBytes), false, true}, {middle, true, true}}, locale);
}

int TextEncoding::detectNotUtf8(const QByteArray &data, const QLocale &locale)
{
    return detectChinese(firstNonAsciiPiece(data), locale);
}

qint64 TextEncoding::middleSampleOffset(qint64 size)
{
    return (size / 2 - SampleBytes / 2) & ~qint64(1);
}

int TextEncoding::sampleBytes()
{
    return SampleBytes;
}

QString TextEncoding::decode(const QByteArray &data, int *codec, const QLocale &locale)
{
    *codec = detect(data, locale);
    if (*codec == Utf8 && zk::textFileCodec(data) != Utf8) {
        QString text;
        if (TextDecoder::decodesAsUtf8(data, &text))
            return text;
        *codec = detectNotUtf8(data, locale);
    }
    return TextDecoder::decode(data, *codec);
}

QString TextEncoding::name(int codec)
{
    switch (codec) {
    case LocalCodePage:
        return QCoreApplication::translate("QObject", "ANSI（%1）")
            .arg(QString::fromLatin1(TextDecoder::localCodePageName()));
    case Utf8:
    case 2:
        return QStringLiteral("UTF-8");
    case Utf16LittleEndian:
        return QStringLiteral("UTF-16 LE");
    case Utf16BigEndian:
        return QStringLiteral("UTF-16 BE");
    case Big5:
        return QCoreApplication::translate("QObject", "繁体中文（Big5）");
    default:
        return QCoreApplication::translate("QObject", "简体中文（GB18030）");
    }
}
