#pragma once
// The nine tax-group letters in index order, the letter look-up and the tax-cell normalisation.

#include <QString>
#include <QStringList>

#include <cstdint>

class TaxLetters {
public:
    static constexpr int kCount = 9;

    // Letter of index 0..8 (А, Г, Д, Ђ, Е, Ж, И, Ј, К); an empty text for any other index.
    static QString letter(int index);
    // The nine letters in index order.
    static QStringList letters();
    // Windows-1251 byte of the letter of index 0..8; 0 for any other index.
    static uint8_t letterByte(int index);

    // Index 0..8 of the letter that equals the whole text; -1 when the text is no tax letter
    // (empty, two or more characters, or any other character).
    static int TaxLetterIndex(const QString &text);

    // What a tax-group cell of the article table becomes when its edited text is `typed`:
    // the first character only; a digit 0..8 gives the letter of that index; a lower-case
    // tax letter gives its capital; a tax letter stays; anything else gives an empty cell.
    static QString normaliseCell(const QString &typed);
};
