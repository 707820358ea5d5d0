// Fuzz target: any bytes as a picture file for the logo box.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FuzzLogoFileInput(data, size);
}
