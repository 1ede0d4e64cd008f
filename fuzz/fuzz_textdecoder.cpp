// Any bytes, in any encoding the reader knows, become text that keeps every
// byte: no zero character ends it, and the lengths that follow from the
// encoding hold.

#include "FuzzSupport.h"
#include "ZkTextDecoder.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    for (int codec = 0; codec <= 7; ++codec) {
        const QString text = ZkTextDecoder::decode(bytes, codec);
        fuzz::require(!text.contains(QChar(0)), "no zero character in decoded text");
        if (codec == 3 || codec == 4) {
            // either mark is dropped, and decides the byte order
            const bool marked = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
            fuzz::require(text.size() == bytes.size() / 2 - (marked ? 1 : 0),
                          "one character per UTF-16 unit");
        }
    }
    if (ZkTextDecoder::isUtf8(bytes))
        fuzz::require(ZkTextDecoder::decode(bytes, ZkTextDecoder::Utf8, false).size() ==
                          QString::fromUtf8(bytes.constData(), bytes.size()).size(),
                      "valid UTF-8 decodes whole");
    int codec = -1;
    const QString detected = ZkTextDecoder::decodeText(bytes, &codec);
    fuzz::require(codec >= 0 && !detected.contains(QChar(0)), "no zero character in detected text");
    return 0;
}
