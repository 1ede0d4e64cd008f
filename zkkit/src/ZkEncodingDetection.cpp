#include "ZkEncodingDetection.h"

#include "ZkTextDecoder.h"
#include "ZkUtility.h"

#include <QTextCodec>

#include <uchardet.h>

#include <algorithm>

namespace zk
{
namespace detection
{
namespace
{

QByteArray view(const QByteArray &data, int from, int size)
{
    return QByteArray::fromRawData(data.constData() + from, size);
}

// Samples cut at line breaks, which no character of UTF-8, GBK or Big5
// contains, so that uchardet sees whole characters only.
Samples alignedToLines(Samples samples)
{
    for (Sample &sample : samples) {
        const int first = sample.cutStart ? sample.bytes.indexOf('\n') : -1;
        const int last = sample.cutEnd ? sample.bytes.lastIndexOf('\n') : -1;
        const int begin = first + 1;
        const int end = last >= begin ? last + 1 : sample.bytes.size();
        sample.cutStart = sample.cutStart && first < 0;
        sample.cutEnd = sample.cutEnd && last < begin;
        sample.bytes = QByteArray::fromRawData(sample.bytes.constData() + begin, end - begin);
    }
    return samples;
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

void scoreUtf16(const Sample &sample, bool bigEndian, Utf16Score *score)
{
    const auto *bytes = reinterpret_cast<const uchar *>(sample.bytes.constData());
    const int count = sample.bytes.size() / 2;
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
        if ((i == 0 && sample.cutStart && QChar::isLowSurrogate(unit)) ||
            (i + 1 == count && sample.cutEnd && QChar::isHighSurrogate(unit)))
            continue;
        ++score->units;
        const Unit kind = classify(unit);
        score->plausible += kind != Unit::Implausible;
        score->telling += kind == Unit::Telling;
    }
}

// UTF-16 when nearly every unit belongs in a Chinese or Latin text and one
// in ten at least is telling; 0 otherwise.
int detectUtf16(const Samples &samples)
{
    Utf16Score little;
    Utf16Score big;
    for (const Sample &sample : samples) {
        scoreUtf16(sample, false, &little);
        scoreUtf16(sample, true, &big);
    }
    const auto fits = [](const Utf16Score &score) {
        return score.units > 0 && score.plausible * 100 >= score.units * 95 &&
               score.telling * 10 >= score.units;
    };
    if (fits(little) && (!fits(big) || little.telling >= big.telling))
        return ZkTextDecoder::Utf16LittleEndian;
    if (fits(big))
        return ZkTextDecoder::Utf16BigEndian;
    return 0;
}

// uchardet's name for the encoding, upper case; empty when it cannot tell.
QByteArray uchardetAnswer(const Samples &samples)
{
    uchardet_t detector = uchardet_new();
    if (detector == nullptr)
        return QByteArray();
    for (const Sample &sample : samples)
        uchardet_handle_data(detector, sample.bytes.constData(), size_t(sample.bytes.size()));
    uchardet_data_end(detector);
    const QByteArray answer = QByteArray(uchardet_get_charset(detector)).toUpper();
    uchardet_delete(detector);
    return answer;
}

} // namespace

Samples samplesOf(const QByteArray &data, const QByteArray &middle)
{
    if (!middle.isEmpty())
        return {{view(data, 0, qMin(data.size(), SampleBytes)), false, true}, {middle, true, true}};
    if (data.size() <= 2 * SampleBytes)
        return {{data, false, false}};
    // both at even offsets, so that UTF-16 units stay whole
    const int from = int(ZkTextDecoder::middleSampleOffset(data.size()));
    return {{view(data, 0, SampleBytes), false, true}, {view(data, from, SampleBytes), true, true}};
}

int detect(const Samples &raw, const QLocale &locale)
{
    const int marked = zk::textFileCodec(raw.first().bytes);
    if (marked != 0)
        return marked;
    const int utf16 = detectUtf16(raw);
    if (utf16 != 0)
        return utf16;
    const Samples lines = alignedToLines(raw);
    if (std::all_of(lines.cbegin(), lines.cend(), isUtf8))
        return ZkTextDecoder::Utf8;
    return detectChinese(lines, locale);
}

// On short, mostly-ASCII samples uchardet confidently names single-byte
// code pages (ISO-8859-16, IBM852); only its Chinese answers are taken.
int detectChinese(const Samples &samples, const QLocale &locale)
{
    const QByteArray answer = uchardetAnswer(samples);
    if (answer.startsWith("GB")) // GB18030, GB2312, GBK
        return ZkTextDecoder::Gb18030;
    if (answer.startsWith("BIG5"))
        return ZkTextDecoder::Big5;
    return chineseCodePage(locale);
}

// Where a file that is plain ASCII at its start and in its middle shows its
// encoding.
Sample firstNonAscii(const QByteArray &data, bool more)
{
    const char *found = std::find_if(data.cbegin(), data.cend(), [](char c) { return c & 0x80; });
    const int from = found == data.cend() ? 0 : data.lastIndexOf('\n', found - data.cbegin()) + 1;
    const int size = qMin(SampleBytes, data.size() - from);
    const bool cut = more || from + size < data.size();
    return alignedToLines({{view(data, from, size), false, cut}}).first();
}

bool isUtf8(const Sample &sample)
{
    const char *bytes = sample.bytes.constData();
    int size = sample.bytes.size();
    for (int skipped = 0; sample.cutStart && skipped < 3 && size > 0; ++skipped) {
        if ((uchar(*bytes) & 0xC0) != 0x80)
            break;
        ++bytes;
        --size;
    }
    QTextCodec::ConverterState state;
    QTextCodec::codecForMib(106)->toUnicode(bytes, size, &state);
    return state.invalidChars == 0 && (state.remainingChars == 0 || sample.cutEnd);
}

int chineseCodePage(const QLocale &locale)
{
    return locale.script() == QLocale::TraditionalChineseScript ? ZkTextDecoder::Big5
                                                                : ZkTextDecoder::Gb18030;
}

} // namespace detection
} // namespace zk
