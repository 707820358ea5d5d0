#include "ReceiptLinesRecord.h"

#include "FieldEncodings.h"
#include "JsonFields.h"
#include "ToolText.h"

namespace {
// The JSON groups of two lines each: receipt lines 1..4, then display lines 1..4.
struct Group {
    const char *key;
    bool receipt;
    int first;
};
constexpr Group kGroups[] = {
    {"header", true, 0}, {"footer", true, 2}, {"displayWorking", false, 0}, {"displayClosed", false, 2}};
constexpr int kLinesPerGroup = 2;
} // namespace

ReceiptLinesRecord ReceiptLinesRecord::decode(const uint8_t *data)
{
    ReceiptLinesRecord r;
    for (int i = 0; i < 4; ++i) {
        r.receipt[size_t(i)] = ReadTextField(data + receiptOffset(i), kReceiptReadWidth);
        r.receiptOn[size_t(i)] = SwitchIsOn(data[receiptSwitchOffset(i)]);
        r.display[size_t(i)] = ReadTextField(data + displayOffset(i), kDisplayWidth);
        r.displayOn[size_t(i)] = SwitchIsOn(data[displaySwitchOffset(i)]);
    }
    return r;
}

QByteArray ReceiptLinesRecord::encode() const
{
    QByteArray out(kSize, '\0');
    for (int i = 0; i < 4; ++i) {
        const QByteArray r = TextFieldBytes(receipt[size_t(i)], kReceiptWidth);
        out.replace(receiptOffset(i), r.size(), r);
        out[receiptSwitchOffset(i)] = char(SwitchByte(receiptOn[size_t(i)]));
        // Only the first 17 characters of a display line are sent (one byte per character).
        const QByteArray d = TextFieldBytes(display[size_t(i)], kDisplayWidth);
        out.replace(displayOffset(i), d.size(), d);
        out[displaySwitchOffset(i)] = char(SwitchByte(displayOn[size_t(i)]));
    }
    return out;
}

QJsonObject ReceiptLinesRecord::toJson() const
{
    QJsonObject o;
    for (const Group &g : kGroups) {
        QJsonArray lines;
        for (int i = g.first; i < g.first + kLinesPerGroup; ++i) {
            const size_t n = size_t(i);
            lines.append(QJsonObject{{QLatin1String("text"), g.receipt ? receipt[n] : display[n]},
                                     {QLatin1String("on"), g.receipt ? receiptOn[n] : displayOn[n]}});
        }
        o.insert(QLatin1String(g.key), lines);
    }
    return o;
}

bool ReceiptLinesRecord::fromJson(const QJsonValue &json, ReceiptLinesRecord &record, QString &error,
                                  QStringList *texts)
{
    JsonFields f(json, QStringLiteral("lines"));
    ReceiptLinesRecord r;
    QStringList all;
    for (const Group &g : kGroups) {
        const QString key = QLatin1String(g.key);
        const QJsonArray lines = f.array(key);
        if (!f.ok())
            break;
        if (lines.size() != kLinesPerGroup) {
            f.fail(key, ToolText::JsonExactCount(kLinesPerGroup));
            break;
        }
        for (int j = 0; j < kLinesPerGroup; ++j) {
            JsonFields line(lines[j], QStringLiteral("lines.%1[%2]").arg(key).arg(j));
            const size_t n = size_t(g.first + j);
            const QString text = line.string(QStringLiteral("text"), g.receipt ? kReceiptReadWidth : kDisplayWidth);
            const bool on = line.boolean(QStringLiteral("on"));
            if (!line.ok()) {
                error = line.error();
                return false;
            }
            (g.receipt ? r.receipt[n] : r.display[n]) = text;
            (g.receipt ? r.receiptOn[n] : r.displayOn[n]) = on;
            all.append(text);
        }
    }
    error = f.error();
    if (!f.ok())
        return false;
    record = r;
    if (texts)
        *texts = all;
    return true;
}
