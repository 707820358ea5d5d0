// Fuzz target: article file bytes through the line parser and the file load.
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    return FuzzArticleFileInput(data, size);
}
