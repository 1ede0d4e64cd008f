#ifndef TEXTENCODING_H
#define TEXTENCODING_H

#include <QByteArray>
#include <QLocale>
#include <QString>

// Tells which encoding the bytes of a text file were written in, and what
// each encoding is called on screen. Pure functions of the bytes and the
// locale: they touch no widget and may run on any thread.
class TextEncoding
{
public:
    // The codec numbers that TextDisplay::openFile takes. 0 to 4 are the
    // codes of zk::textFileCodec; 2 decodes as UTF-8 too, and any number not
    // listed here as GB18030. Nothing stores them, so new ones may be added.
    enum Codec {
        // "ANSI": the locale's 8-bit code page; where that is UTF-8, GB18030,
        // or Big5 for a traditional-Chinese locale
        LocalCodePage = 0,
        Utf8 = 1,
        Utf16LittleEndian = 3,
        Utf16BigEndian = 4,
        Gb18030 = 5,
        Big5 = 6,
    };

    // The codec the bytes were most likely written in: the byte-order mark,
    // then UTF-16 without a mark, valid UTF-8, what uchardet says of the GB
    // and Big5 families, and last the locale's Chinese code page. Looks at
    // the start and the middle of the bytes only, so it is quick on any size.
    static int detect(const QByteArray &data, const QLocale &locale = QLocale());
    // The same from the first bytes of a long file and a stretch of its
    // middle, as detect() samples them; for files too long to read at once.
    static int detect(const QByteArray &head, const QByteArray &middle,
                      const QLocale &locale = QLocale());
    // Where the bytes are not UTF-8 after all: the Chinese code page the
    // first stretch beyond ASCII reads as. data starts with the file.
    static int detectNotUtf8(const QByteArray &data, const QLocale &locale = QLocale());
    // Where detect() takes the middle sample of a file of size bytes.
    static qint64 middleSampleOffset(qint64 size);
    static int sampleBytes();
    // Detects and decodes; codec gets the number the text was decoded with.
    // A text that proves not to be UTF-8 beyond the parts looked at is
    // detected again without UTF-8.
    static QString decode(const QByteArray &data, int *codec, const QLocale &locale = QLocale());
    // The encoding as the window names it, in the window's language.
    static QString name(int codec);
};

#endif // TEXTENCODING_H
