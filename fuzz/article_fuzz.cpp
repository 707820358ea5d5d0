// Fuzz target: article file bytes through the line parser.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (FuzzArticleFileInput(data, size) != 0)
        __builtin_trap(); // a rule that must hold after the input was broken
    return 0;
}
