// Fuzz target: reply bytes into the device link of a fully built main window.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FuzzLinkInput(data, size);
}
