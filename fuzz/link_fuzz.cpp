// Fuzz target: reply bytes into the device link of a fully built main window.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (FuzzLinkInput(data, size) != 0)
        __builtin_trap(); // a rule that must hold after the input was broken
    return 0;
}
