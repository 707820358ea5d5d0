#pragma once
// One-input entry points shared by the fuzz targets and the regression tests of their findings.

#include <cstddef>
#include <cstdint>

// Bytes from the device straight into the link of a main window with every reply handler
// registered. The first byte picks per-byte (TCP) or per-chunk (serial) delivery.
int FuzzLinkInput(const uint8_t *data, size_t size);
// Bytes into the simulated device's request parser.
int FuzzSimInput(const uint8_t *data, size_t size);
// Bytes as an article file: every line through the line parser with both separators (first byte
// 0: also the real load of the whole file into the article grid, which takes a good part of a
// second as it fills all 60000 rows).
int FuzzArticleFileInput(const uint8_t *data, size_t size);
// Bytes as a picture file loaded into the logo box.
int FuzzLogoFileInput(const uint8_t *data, size_t size);
// Bytes from a barcode scanner in chunks (each chunk's first byte gives its length) into the
// line assembler, checked against a plain model of it.
int FuzzBarcodeInput(const uint8_t *data, size_t size);
