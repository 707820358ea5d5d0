#pragma once
// One-input entry points shared by the fuzz targets and the regression tests of their findings.
// Each returns 0 when what must hold after the input holds, and otherwise the number of the rule
// it broke (the fuzz targets stop on it).

#include <array>
#include <cstddef>
#include <cstdint>

// Bytes from the device into the link of a main window with every reply handler registered.
// The first byte picks per-byte (TCP) or per-chunk (serial) delivery, a chain to start first, a
// Cancel, and whether bytes arrive while a message is open. Rules: the receive count stays within
// the buffer (1); afterwards a fresh reply is recognised exactly once (2).
int FuzzLinkInput(const uint8_t *data, size_t size);
// What the last link input reached: messages shown, pieces of the input delivered while one was
// open, and the short requests the window sent, by code.
struct FuzzLinkReach {
    int dialogs = 0;
    int nestedDeliveries = 0;
    std::array<int, 256> requests{};
};
const FuzzLinkReach &FuzzLinkLastReach();
// Bytes into the simulated device's request parser, whole and split where the first byte says.
// Rules: both give the same replies (1); every reply is a recognisable frame (2); one answer per
// request (3).
int FuzzSimInput(const uint8_t *data, size_t size);
// Bytes after the first as an article file: every line through the line parser with both
// separators. Rules: every field is a piece of its line (1); plain fields survive a save and a
// load (2).
int FuzzArticleFileInput(const uint8_t *data, size_t size);
// Bytes after the first as an article file loaded into the window's grid of 60000 rows (slow).
// Rules: every row keeps its own article number (2); a load that was refused or declined leaves
// the table as it was (3).
int FuzzArticleLoadInput(const uint8_t *data, size_t size);
// Bytes as a picture file loaded into the logo box. Rules: a loaded logo is opaque (1); a refused
// file leaves the logo as it was (2).
int FuzzLogoFileInput(const uint8_t *data, size_t size);
// Bytes from a barcode scanner in chunks (each chunk's first byte gives its length) into the
// line assembler, checked against a plain model of it (1..3).
int FuzzBarcodeInput(const uint8_t *data, size_t size);
