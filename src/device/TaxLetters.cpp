#include "TaxLetters.h"

#include <array>

namespace {
// Unicode code points of the letters, index order; their Windows-1251 bytes beside them.
constexpr std::array<char16_t, TaxLetters::kCount> kLetters = {u'А', u'Г', u'Д', u'Ђ', u'Е', u'Ж', u'И', u'Ј', u'К'};
constexpr std::array<uint8_t, TaxLetters::kCount> kBytes = {0xC0, 0xC3, 0xC4, 0x80, 0xC5, 0xC6, 0xC8, 0xA3, 0xCA};
// Lower-case forms, same order.
constexpr std::array<char16_t, TaxLetters::kCount> kLower = {u'а', u'г', u'д', u'ђ', u'е', u'ж', u'и', u'ј', u'к'};
} // namespace

QString TaxLetters::letter(int index)
{
    if (index < 0 || index >= kCount)
        return {};
    return QString(QChar(kLetters[size_t(index)]));
}

QStringList TaxLetters::letters()
{
    QStringList out;
    for (int i = 0; i < kCount; ++i)
        out.append(letter(i));
    return out;
}

uint8_t TaxLetters::letterByte(int index)
{
    return index >= 0 && index < kCount ? kBytes[size_t(index)] : 0;
}

int TaxLetters::TaxLetterIndex(const QString &text)
{
    int found = -1;
    if (text.size() != 1)
        return found;
    for (int i = 0; i < kCount; ++i)
        if (text.at(0).unicode() == kLetters[size_t(i)])
            found = i;
    return found;
}

QString TaxLetters::normaliseCell(const QString &typed)
{
    if (typed.isEmpty())
        return {};
    const char16_t c = typed.at(0).unicode();
    if (c >= u'0' && c <= u'8')
        return letter(int(c - u'0'));
    for (int i = 0; i < kCount; ++i)
        if (c == kLetters[size_t(i)] || c == kLower[size_t(i)])
            return letter(i);
    return {};
}
