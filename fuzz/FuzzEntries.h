#pragma once
// One-input entry points shared by the fuzz targets and the regression tests of their findings.

#include <cstddef>
#include <cstdint>

// Bytes from the device straight into the link of a main window with every reply handler
// registered. The first byte picks per-byte (TCP) or per-chunk (serial) delivery.
int FuzzLinkInput(const uint8_t *data, size_t size);
// Bytes into the simulated device's request parser.
int FuzzSimInput(const uint8_t *data, size_t size);
