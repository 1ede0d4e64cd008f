#ifndef ZKTEXTDECODER_H
#define ZKTEXTDECODER_H

#include "zkkit_export.h"

#include <QByteArray>
#include <QLocale>
#include <QString>

// Every decision of how the bytes of a text file become text: which
// encoding they were written in, whether text taken for UTF-8 really is,
// which code page stands for the locale, and the decoding itself, which
// keeps every byte (a zero byte comes out as U+FFFD, one for one, so that
// nothing after it is lost and every later position stays the text's).
//
// A whole text is decoded by decodeText(). A long file is decoded in
// stretches by one decoder object made by forFile() or for a chosen codec:
// each stretch starts where the one before ended, and all but the last end
// at a line break (lineEnd()). Pure functions of the bytes and the locale;
// an object may be used on any thread, one thread at a time.
class ZKKIT_EXPORT ZkTextDecoder
{
public:
    // The codec numbers. 0 to 4 are those of zk::textFileCodec; 2 decodes
    // as UTF-8 too, and any number not listed as GB18030. Nothing stores
    // them, so new ones may be added.
    enum Codec {
        // "ANSI": the locale's 8-bit code page; where that is UTF-8, the
        // locale's Chinese code page (Big5 for traditional Chinese, else
        // GB18030)
        LocalCodePage = 0,
        Utf8 = 1,
        Utf16LittleEndian = 3,
        Utf16BigEndian = 4,
        Gb18030 = 5,
        Big5 = 6,
    };

    // Detection looks at the start of a file and a stretch of its middle,
    // each this long, which takes a few milliseconds whatever the size.
    static int sampleBytes();
    // Where the middle stretch of a file of size bytes starts.
    static qint64 middleSampleOffset(qint64 size);

    // The codec the bytes were most likely written in: the byte-order mark,
    // then UTF-16 without a mark, valid UTF-8, what uchardet says of the GB
    // and Big5 families, and last the locale's Chinese code page. middle,
    // when given, is the stretch of a long file at middleSampleOffset() and
    // data its first bytes; else data is the whole text.
    static int detect(const QByteArray &data, const QByteArray &middle = QByteArray(),
                      const QLocale &locale = QLocale());
    // Detects and decodes a whole text; codec gets the number it was
    // decoded with.
    static QString decodeText(const QByteArray &data, int *codec,
                              const QLocale &locale = QLocale());
    // An HTML page: in the encoding its byte-order mark or its charset
    // declaration names, else as decodeText() would, and where that leaves
    // bytes without a character, as Latin-1, which is what a browser takes
    // for a page without a charset.
    static QString decodeHtml(const QByteArray &data);
    // Decodes as codec. fileStart: data begins with the file, so that a
    // byte-order mark there is not text; a later stretch is decoded as it
    // stands.
    static QString decode(const QByteArray &data, int codec, bool fileStart = true);
    // Every byte sequence is valid UTF-8 (strict: no overlong forms, no
    // surrogates, nothing cut off at the end).
    static bool isUtf8(const QByteArray &data);
    // The length of data up to and including its last line break in codec,
    // 0 if it has none. Cut there, a text decodes as it would whole: no
    // character of these encodings holds the byte of a line break, and a CR
    // LF pair stays together.
    static int lineEnd(const QByteArray &data, int codec);
    // Whether the first bytes of a file, read as codec, are text at all: a
    // picture or a program is mostly control characters and zero bytes, a
    // text has next to none (a stray zero byte in a novel still reads).
    static bool looksLikeText(const QByteArray &start, int codec);
    // The name of the code page that codec 0 stands for.
    static QByteArray localCodePageName();
    // The codec number of an encoding name as files declare it (UTF-8, GBK,
    // GB2312, GB18030, Big5, UTF-16LE, UTF-16BE), or -1.
    static int codecNamed(const QByteArray &name);

    // A decoder for a file whose bytes decide: start is its first bytes and
    // middle the stretch at middleSampleOffset() (empty when start is the
    // whole file). A file detected as UTF-8 without a mark must prove it to
    // its end.
    static ZkTextDecoder forFile(const QByteArray &start, const QByteArray &middle = QByteArray(),
                                 const QLocale &locale = QLocale());
    // A decoder for a codec chosen by the user: it decodes as told.
    explicit ZkTextDecoder(int codec, const QLocale &locale = QLocale());

    // Decodes the next stretch of the file. False when text taken for UTF-8
    // proves not to be; codec() then names the code page that its first
    // stretch beyond ASCII reads as, for reading the whole file again.
    bool decodeNext(const QByteArray &bytes, QString *text);
    int codec() const { return m_codec; }

private:
    void keepSample(const QByteArray &bytes);

    int m_codec;
    QLocale m_locale;
    bool m_proving = false;  // UTF-8 that has to prove itself
    bool m_atStart = true;   // the next stretch begins with the file
    bool m_sampling = false; // m_sample has begun and is not yet full
    QByteArray m_sample;     // from the line of the first byte beyond ASCII on
};

#endif // ZKTEXTDECODER_H
