#pragma once
// The integer check of the maintenance boxes: optional leading blanks, optional sign, decimal digits, nothing after.

#include <QString>

#include <optional>

// The value of `text` when it is a decimal integer within [min, max]; nothing otherwise (also for an
// empty or blank text, trailing characters, or a number too large to hold).
std::optional<int> CheckedInteger(const QString &text, int min, int max);
