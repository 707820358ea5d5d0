#include "TaxGroupsRecord.h"

#include "Decimal.h"
#include "JsonFields.h"
#include "TaxLetters.h"
#include "ToolText.h"

#include <QJsonArray>
#include <QLocale>
#include <QRegularExpression>

namespace {
constexpr int kCountPos = 22; // offsets from frame position 4
constexpr uint8_t kMarker = 0xCC;
} // namespace

TaxGroupsRecord TaxGroupsRecord::decode(const uint8_t *data)
{
    TaxGroupsRecord r;
    for (int i = 0; i < kGroups; ++i)
        r.rates[size_t(i)] = uint16_t(data[2 * i] | (data[2 * i + 1] << 8));
    r.day = data[19];
    r.month = data[20];
    r.yearSince1900 = data[21];
    r.changeCount = data[kCountPos];
    r.hour = data[23];
    r.minute = data[24];
    return r;
}

QByteArray TaxGroupsRecord::encode() const
{
    QByteArray out(kWriteSize, '\0');
    for (int i = 0; i < kGroups; ++i) {
        out[2 * i] = char(rates[size_t(i)] & 0xFF);
        out[2 * i + 1] = char(rates[size_t(i)] >> 8);
    }
    out[18] = char(kMarker);
    out[19] = char(kGroups);
    for (int i = 0; i < kGroups; ++i)
        out[20 + i] = char(TaxLetters::letterByte(i));
    return out;
}

int TaxGroupsRecord::remainingChanges() const
{
    return changeCount == kNeverChanged ? kAllowedChanges : kAllowedChanges - changeCount;
}

QDate TaxGroupsRecord::changeDate() const
{
    return changeCount == kNeverChanged ? QDate() : QDate(1900 + yearSince1900, month, day);
}

QTime TaxGroupsRecord::changeTime() const
{
    return changeCount == kNeverChanged ? QTime() : QTime(hour, minute, 0);
}

QJsonObject TaxGroupsRecord::toJson() const
{
    QJsonArray groups;
    for (int i = 0; i < kGroups; ++i) {
        const QJsonValue rate = defined(i) ? QJsonValue(Decimal::fromHundredths(rates[size_t(i)], QLocale::c()))
                                           : QJsonValue(QJsonValue::Null);
        groups.append(QJsonObject{{"letter", TaxLetters::letter(i)}, {"rate", rate}});
    }
    const QDate date = changeDate();
    const QTime time = changeTime();
    const QJsonValue last = date.isValid() && time.isValid()
                                ? QJsonValue(QDateTime(date, time).toString(QStringLiteral("yyyy-MM-ddTHH:mm")))
                                : QJsonValue(QJsonValue::Null);
    return QJsonObject{{"groups", groups}, {"remainingChanges", remainingChanges()}, {"lastChange", last}};
}

bool TaxGroupsRecord::fromJson(const QJsonValue &json, TaxGroupsRecord &record, QString &error)
{
    JsonFields top(json, QStringLiteral("taxgroups"));
    const QJsonArray groups = top.array(QStringLiteral("groups"), kGroups);
    if (top.ok() && groups.size() != kGroups)
        top.fail(QStringLiteral("groups"), ToolText::catalogueExactItems(kGroups));
    if (!top.ok()) {
        error = top.error();
        return false;
    }
    // Up to two digits before and two after the point: what the device holds, nothing rounded away.
    static const QRegularExpression rateText(QStringLiteral("^[0-9]{1,2}(\\.[0-9]{1,2})?$"));
    for (int i = 0; i < kGroups; ++i) {
        JsonFields g(groups.at(i), QStringLiteral("taxgroups.groups[%1]").arg(i));
        if (g.string(QStringLiteral("letter")) != TaxLetters::letter(i) && g.ok())
            g.fail(QStringLiteral("letter"), ToolText::taxGroupLetterExpected(TaxLetters::letter(i)));
        const QJsonValue rate = groups.at(i).toObject().value(QStringLiteral("rate"));
        if (g.ok() && rate.isNull()) {
            record.rates[size_t(i)] = kUndefinedRate;
        } else if (g.ok()) {
            const QString text = g.string(QStringLiteral("rate"));
            const std::optional<int64_t> hundredths =
                rateText.match(text).hasMatch() ? Decimal::toHundredths(text, QLocale::c()) : std::nullopt;
            if (g.ok() && !hundredths)
                g.fail(QStringLiteral("rate"), ToolText::taxRateExpected());
            else if (hundredths)
                record.rates[size_t(i)] = uint16_t(*hundredths);
        }
        if (!g.ok()) {
            error = g.error();
            return false;
        }
    }
    return true;
}
