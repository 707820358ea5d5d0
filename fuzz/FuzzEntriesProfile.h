#pragma once
// One-input entry point of the profile reader, shared by its fuzz target and the regression test
// of its findings. Returns 0 when what must hold after the input holds, else the rule it broke.

#include <cstddef>
#include <cstdint>

// Bytes as a profile file. Rules: a refused file leaves the profile as it was and says why (1);
// an accepted one writes out and reads back to the same sets (2), and writing that again gives
// the same bytes (3).
int FuzzProfileInput(const uint8_t *data, size_t size);
