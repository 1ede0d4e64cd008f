#ifndef TEXTDECODER_H
#define TEXTDECODER_H

#include <QByteArray>
#include <QString>

// Turns the bytes of a text file into text to show: every byte counts, and
// zero bytes come out as U+FFFD.
class TextDecoder
{
public:
    // codec: 0 local 8-bit code page, 1 or 2 UTF-8, 3 UTF-16 LE, 4 UTF-16 BE,
    // 6 Big5, anything else GB18030 (see TextEncoding::Codec).
    // fileStart: data begins with the file, so a byte-order mark there is
    // not text; a later stretch of a file is decoded as it stands.
    static QString decode(const QByteArray &data, int codec, bool fileStart = true);
    // Decodes as UTF-8 if every byte sequence is valid UTF-8. Text in GBK is
    // practically never valid UTF-8, and mostly fails in its first bytes.
    static bool decodesAsUtf8(const QByteArray &data, QString *text);
    // The name of the encoding that codec 0 stands for.
    static QByteArray localCodePageName();

private:
    static QString decodeBytes(const QByteArray &data, int codec, bool fileStart);
    static QString visibleNulls(QString text);
};

#endif // TEXTDECODER_H
