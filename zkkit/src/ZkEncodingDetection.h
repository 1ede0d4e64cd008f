#ifndef ZKENCODINGDETECTION_H
#define ZKENCODINGDETECTION_H

#include <QByteArray>
#include <QLocale>
#include <QVector>

// What ZkTextDecoder's detection works on: stretches of a file's bytes and
// what uchardet and the shares of UTF-16 units say of them.
namespace zk
{
namespace detection
{

// Detection looks at this many bytes from the start and as many from the
// middle: enough for uchardet's statistics and for the share of Chinese
// characters, and a few milliseconds whatever the size of the file.
constexpr int SampleBytes = 64 * 1024;

// A stretch of the bytes. A cut side may split a character; an uncut one is
// the start or end of the file, or a line break.
struct Sample {
    QByteArray bytes; // may refer to the caller's data, which outlives it
    bool cutStart;
    bool cutEnd;
};
using Samples = QVector<Sample>;

// The stretches of a file to look at: data whole when it is short, else its
// start and its middle (or the given middle stretch of a longer file).
Samples samplesOf(const QByteArray &data, const QByteArray &middle);
// Byte-order mark, UTF-16, UTF-8, then uchardet and the locale.
int detect(const Samples &raw, const QLocale &locale);
// Where bytes are not UTF-8: GB18030 or Big5, as uchardet reads the samples,
// else as the locale suggests.
int detectChinese(const Samples &samples, const QLocale &locale);
// From the line of the first byte beyond ASCII in data on, at most
// SampleBytes, ending at a line break where it is cut; more: the bytes go on
// beyond data.
Sample firstNonAscii(const QByteArray &data, bool more = false);
// Valid UTF-8; a character split by a cut side counts as valid.
bool isUtf8(const Sample &sample);
// The Chinese code page a locale's own files were written in: Big5 in
// Taiwan and Hong Kong, GB18030 elsewhere.
int chineseCodePage(const QLocale &locale);

} // namespace detection
} // namespace zk

#endif // ZKENCODINGDETECTION_H
