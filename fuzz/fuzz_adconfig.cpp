// The advertisement document, whatever a server sends, is read without
// harm and yields at most 32 entries.

#include "FuzzSupport.h"
#include "ZkAdHelper.h"

#include <QBuffer>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static ZkAdHelper helper;
    QBuffer buffer;
    buffer.setData(reinterpret_cast<const char *>(data), int(size));
    buffer.open(QIODevice::ReadOnly);
    helper.readConfig(&buffer);
    fuzz::require(helper.images().size() <= 32, "at most 32 entries");
    return 0;
}
