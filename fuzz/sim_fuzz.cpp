// Fuzz target: request bytes into the simulated device.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FuzzSimInput(data, size);
}
