// Fuzz target: barcode scanner bytes into the line assembler.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FuzzBarcodeInput(data, size);
}
