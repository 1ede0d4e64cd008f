// ReadingState.xml, whatever it holds, loads and saves to a stable file.

#include "FuzzSupport.h"
#include "ReadingState.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Everything it reads is held by the object itself.
    fuzz::roundTrip<ReadingState>(data, size, [] {});
    return 0;
}
