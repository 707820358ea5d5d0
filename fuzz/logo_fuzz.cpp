// Fuzz target: any bytes as a picture file for the logo box.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (FuzzLogoFileInput(data, size) != 0)
        __builtin_trap(); // a rule that must hold after the input was broken
    return 0;
}
