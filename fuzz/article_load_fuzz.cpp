// Fuzz target: article file bytes loaded into the whole article grid (slow).
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (FuzzArticleLoadInput(data, size) != 0)
        __builtin_trap(); // a rule that must hold after the input was broken
    return 0;
}
