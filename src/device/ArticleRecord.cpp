#include "ArticleRecord.h"

#include "Cp1251.h"
#include "Decimal.h"
#include "FieldEncodings.h"
#include "JsonFields.h"
#include "TaxLetters.h"
#include "ToolText.h"

#include <algorithm>
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

ArticleRecord ArticleRecord::fresh(int number)
{
    ArticleRecord r;
    r.number = uint16_t(number);
    return r;
}

bool ArticleRecord::isFresh() const
{
    return department == 0 && price == 0 && taxIndex == 0 && nameText().isEmpty() && barcodeText().isEmpty();
}

QString ArticleRecord::priceToJson(uint32_t hundredths)
{
    return QStringLiteral("%1.%2").arg(hundredths / 100).arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

std::optional<uint32_t> ArticleRecord::priceFromJson(const QString &text)
{
    constexpr int kWholeDigits = 7; // 9999999.99 at most
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    const qsizetype whole = point < 0 ? text.size() : point;
    const qsizetype decimals = point < 0 ? 0 : text.size() - point - 1;
    if (whole < 1 || whole > kWholeDigits || (point >= 0 && (decimals < 1 || decimals > 2)))
        return std::nullopt;
    uint32_t units = 0;
    uint32_t cents = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i == point)
            continue;
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (i < whole)
            units = units * 10 + uint32_t(c - u'0');
        else
            cents = cents * 10 + uint32_t(c - u'0');
    }
    if (decimals == 1)
        cents *= 10;
    return units * 100 + cents;
}

QJsonObject ArticleRecord::toJson() const
{
    return QJsonObject{
        {QStringLiteral("number"), int(number)},       {QStringLiteral("name"), nameText()},
        {QStringLiteral("barcode"), barcodeText()},    {QStringLiteral("department"), int(department) + 1},
        {QStringLiteral("price"), priceToJson(price)}, {QStringLiteral("taxGroup"), taxText()}};
}

bool ArticleRecord::fromJson(const QJsonValue &json, const QString &where, ArticleRecord &out, QString &error)
{
    static const QStringList keys = {QStringLiteral("number"),     QStringLiteral("name"),  QStringLiteral("barcode"),
                                     QStringLiteral("department"), QStringLiteral("price"), QStringLiteral("taxGroup")};
    JsonFields f(json, where);
    const int number = int(f.integer(QStringLiteral("number"), 1, 60000));
    // A misspelt key would otherwise quietly leave its field fresh.
    for (const QString &key : json.toObject().keys())
        if (!keys.contains(key))
            f.fail(key, ToolText::JsonUnknownField());
    const QString name = f.optionalString(QStringLiteral("name"), QString(), kNameMaxChars);
    if (std::any_of(name.begin(), name.end(), [](QChar c) { return c.unicode() < 0x20; }))
        f.fail(QStringLiteral("name"), ToolText::JsonControlCharacters());
    const QString barcode = f.optionalString(QStringLiteral("barcode"), QString());
    if (barcode.size() > kBarcodeDigits || std::any_of(barcode.begin(), barcode.end(), [](QChar c) {
            return c < QLatin1Char('0') || c > QLatin1Char('9');
        }))
        f.fail(QStringLiteral("barcode"), ToolText::JsonArticleBarcode(kBarcodeDigits));
    int department = 1;
    if (json.toObject().contains(QStringLiteral("department")))
        department = int(f.integer(QStringLiteral("department"), 1, 10));
    const QString price = f.optionalString(QStringLiteral("price"), QStringLiteral("0.00"));
    const std::optional<uint32_t> hundredths = priceFromJson(price);
    if (!hundredths)
        f.fail(QStringLiteral("price"), ToolText::JsonArticlePrice());
    const QString tax = f.optionalString(QStringLiteral("taxGroup"), TaxLetters::letter(0));
    const int taxIndex = TaxLetters::TaxLetterIndex(tax);
    if (taxIndex < 0)
        f.fail(QStringLiteral("taxGroup"),
               ToolText::JsonArticleTaxGroup(TaxLetters::letters().join(QStringLiteral(", "))));
    if (!f.ok()) {
        error = f.error();
        return false;
    }
    if (const QString bad = Cp1251::listUnencodable({name}); !bad.isEmpty()) {
        error = QStringLiteral("%1.name: %2").arg(where, ToolText::unencodableRefused(bad));
        return false;
    }
    out = fresh(number);
    out.name = Cp1251::encode(name);
    out.barcode = PackDigitsBcd(barcode);
    out.department = uint8_t(department - 1);
    out.price = *hundredths;
    out.taxIndex = uint8_t(taxIndex);
    return true;
}
