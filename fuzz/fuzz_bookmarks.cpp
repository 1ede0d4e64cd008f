// Bookmark.xml, whatever it holds, loads and saves to a stable file.

#include "BookmarkConfig.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    fuzz::roundTrip<BookmarkConfig>(data, size, [] { BookmarkConfig::bookmarks.clear(); });
    return 0;
}
