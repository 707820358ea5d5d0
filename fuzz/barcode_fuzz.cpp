// Fuzz target: barcode scanner bytes into the line assembler.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (FuzzBarcodeInput(data, size) != 0)
        __builtin_trap(); // a rule that must hold after the input was broken
    return 0;
}
