#include "ArticleRecord.h"

#include "Cp1251.h"
#include "Decimal.h"
#include "FieldEncodings.h"
#include "TaxLetters.h"

#include <cstring>

namespace {
void putLe16(uint8_t *p, uint32_t v)
{
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void putLe32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

// Windows-1251 bytes of a text. Plain ASCII, the usual case, needs no code-page conversion.
QByteArray nameBytes(const QString &text)
{
    const qsizetype n = std::min<qsizetype>(text.size(), ArticleRecord::kNameMaxChars);
    QByteArray out(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= 0x80)
            return Cp1251::encode(text.left(n));
        out[i] = char(c);
    }
    return out;
}
} // namespace

void ArticleRecord::encode(uint8_t *out) const
{
    std::memset(out, 0, kSize);
    putLe16(out + kNumberOffset, number);
    std::memcpy(out + kNameOffset, name.constData(), size_t(std::min<qsizetype>(name.size(), kNameMaxChars)));
    out[kDepartmentOffset] = department;
    putLe32(out + kPriceOffset, price);
    out[kReservedOffset] = 0x00;
    out[kTaxOffset] = taxIndex;
    std::memcpy(out + kBarcodeOffset, barcode.data(), barcode.size());
    out[kLastOffset] = 0xFF;
}

QByteArray ArticleRecord::encode() const
{
    QByteArray out(kSize, '\0');
    encode(reinterpret_cast<uint8_t *>(out.data()));
    return out;
}

ArticleRecord ArticleRecord::decode(const uint8_t *bytes)
{
    ArticleRecord r;
    r.number = uint16_t(bytes[kNumberOffset] | (bytes[kNumberOffset + 1] << 8));
    int n = 0;
    while (n < kNameField && bytes[kNameOffset + n] != 0)
        ++n;
    r.name = QByteArray(reinterpret_cast<const char *>(bytes + kNameOffset), n);
    r.department = bytes[kDepartmentOffset];
    r.price = uint32_t(bytes[kPriceOffset]) | (uint32_t(bytes[kPriceOffset + 1]) << 8) |
              (uint32_t(bytes[kPriceOffset + 2]) << 16) | (uint32_t(bytes[kPriceOffset + 3]) << 24);
    r.taxIndex = bytes[kTaxOffset];
    std::memcpy(r.barcode.data(), bytes + kBarcodeOffset, r.barcode.size());
    return r;
}

bool ArticleRecord::departmentFromText(const QString &text, uint8_t &out)
{
    bool ok = false;
    const qlonglong d = text.trimmed().toLongLong(&ok, 10);
    if (!ok || d < INT32_MIN || d > INT32_MAX)
        return false;
    out = uint8_t(uint32_t(int32_t(d) - 1));
    return true;
}

bool ArticleRecord::fromCells(int number, const QString &name, const QString &barcode, const QString &department,
                              const QString &price, const QString &tax, const QLocale &locale, ArticleRecord &out)
{
    out.number = uint16_t(number);
    out.name = nameBytes(name).left(kNameMaxChars); // a longer name would run into the department
    const std::optional<int64_t> hundredths = Decimal::toHundredths(price, locale);
    out.price = hundredths ? uint32_t(uint64_t(*hundredths)) : 0;
    const int index = TaxLetters::TaxLetterIndex(tax.left(1));
    out.taxIndex = uint8_t(index < 0 ? 0 : index);
    out.barcode = PackDigitsBcd(barcode);
    return departmentFromText(department, out.department);
}

QString ArticleRecord::nameText() const
{
    QByteArray shown;
    shown.reserve(name.size());
    bool plain = true;
    for (char c : name) {
        const auto b = uint8_t(c);
        if (b < 0x20)
            continue;
        plain = plain && b < 0x80;
        shown.append(c);
    }
    return plain ? QString::fromLatin1(shown) : Cp1251::decode(shown);
}

QString ArticleRecord::barcodeText() const
{
    return UnpackBcdDigits(barcode.data());
}

QString ArticleRecord::departmentText() const
{
    return QString::number(int(department) + 1);
}

QString ArticleRecord::priceText(const QLocale &locale) const
{
    return Decimal::fromHundredths(price, locale);
}

QString ArticleRecord::taxText() const
{
    return TaxLetters::letter(taxIndex);
}
