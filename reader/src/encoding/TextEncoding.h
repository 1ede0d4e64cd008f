#ifndef TEXTENCODING_H
#define TEXTENCODING_H

#include <QString>

// What the window calls each encoding. The encodings themselves, and how
// they are told apart, are ZkTextDecoder's; its codec numbers name them.
class TextEncoding
{
public:
    // The encoding of codec, in the window's language.
    static QString name(int codec);
};

#endif // TEXTENCODING_H
