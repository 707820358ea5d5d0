#include "ReceiptLinesRecord.h"

#include "FieldEncodings.h"

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
