#include "SimFiscal.h"

#include "Cp1251.h"

namespace {
constexpr uint8_t kSwitchOff = 0x33;
constexpr uint8_t kFiscalisedState = 0xCC;
constexpr uint8_t kNotFiscalisedState = 0x33;

QByteArray fixedText(const QByteArray &text, int width)
{
    QByteArray out = text.left(width);
    out.append(QByteArray(width - out.size(), '\0'));
    return out;
}

QByteArray textUntilZero(const QByteArray &bytes)
{
    const qsizetype zero = bytes.indexOf('\0');
    return zero < 0 ? bytes : bytes.left(zero);
}

QString isoOrEmpty(const QDateTime &dt)
{
    return dt.isValid() ? dt.toString(Qt::ISODate) : QString();
}

QDateTime wallFromIso(const QString &s)
{
    if (s.isEmpty())
        return {};
    QDateTime dt = QDateTime::fromString(s, Qt::ISODate);
    if (dt.isValid())
        dt = QDateTime(dt.date(), dt.time(), Qt::UTC);
    return dt;
}
} // namespace

SimFiscal::SimFiscal() : taxpayer_(kTaxpayerSize, '\0'), receiptLines_(kReceiptLinesSize, '\0'), logo_(kLogoSize, '\0')
{
    // Every line switched off until a write says otherwise.
    for (int i = 128; i < 132; ++i)
        receiptLines_[i] = char(kSwitchOff);
    for (int i = 200; i < 204; ++i)
        receiptLines_[i] = char(kSwitchOff);
}

QByteArray SimFiscal::fitted(const QByteArray &bytes, int size)
{
    QByteArray out = bytes.left(size);
    out.append(QByteArray(size - out.size(), '\0'));
    return out;
}

QDateTime SimFiscal::hostWallClock()
{
    const QDateTime now = QDateTime::currentDateTime();
    return QDateTime(now.date(), QTime(now.time().hour(), now.time().minute(), now.time().second()), Qt::UTC);
}

QDateTime SimFiscal::clock() const
{
    return hostWallClock().addSecs(clockOffset_);
}

void SimFiscal::setClock(const QDateTime &wallClock)
{
    clockOffset_ = hostWallClock().secsTo(QDateTime(wallClock.date(), wallClock.time(), Qt::UTC));
}

void SimFiscal::setFiscalised(const QByteArray &taxNumber, const QDateTime &at)
{
    fiscalised_ = true;
    taxNumber_ = taxNumber.left(14);
    fiscalisedAt_ = at;
    if (!lastFiscalRecord_.isValid() || lastFiscalRecord_ < at)
        lastFiscalRecord_ = at;
}

QByteArray SimFiscal::fiscalDataReply() const
{
    QByteArray d;
    d += fixedText(Cp1251::encode(cashSerial_), 19) + '\0';
    d += fixedText(Cp1251::encode(fmSerial_), 19) + '\0';
    QByteArray date(16, '\0');
    if (fiscalised_ && fiscalisedAt_.isValid())
        date = fiscalisedAt_.toString(QStringLiteral("dd.MM.yyyy HH:mm")).toLatin1();
    d += fixedText(date, 16) + '\0';
    d += taxNumber_.isEmpty() ? QByteArray(18, char(0xFF)) : fixedText(taxNumber_, 18);
    d += '\0';
    d += char(fiscalised_ ? kFiscalisedState : kNotFiscalisedState);
    return d;
}

QByteArray SimFiscal::clockReply() const
{
    const QDateTime c = clock();
    QByteArray d(12, '\0');
    d[0] = char(c.time().second());
    d[1] = char(c.time().minute());
    d[2] = char(c.time().hour());
    d[3] = char(c.date().dayOfWeek());
    d[4] = char(c.date().day());
    d[5] = char(c.date().month());
    d[6] = char(c.date().year() - 1900);
    if (lastFiscalRecord_.isValid()) {
        d[7] = char(lastFiscalRecord_.date().day());
        d[8] = char(lastFiscalRecord_.date().month());
        d[9] = char(lastFiscalRecord_.date().year() - 1900);
        d[10] = char(lastFiscalRecord_.time().hour());
        d[11] = char(lastFiscalRecord_.time().minute());
    }
    return d;
}

QByteArray SimFiscal::fiscalise(const SimRequest &request)
{
    if (request.data.size() != 54)
        return SimulatedDevice::errorReply(kErrWrongParameter);
    if (fiscalised_)
        return SimulatedDevice::errorReply(kErrAlreadyFiscalised);
    // The serial numbers in the request are the device's own, sent back; the device keeps its own.
    const QByteArray tax = textUntilZero(request.data.mid(40, 14));
    if (tax.isEmpty())
        return SimulatedDevice::errorReply(kErrNoTaxNumber);
    setFiscalised(tax, clock());
    return SimulatedDevice::ack();
}

QByteArray SimFiscal::setClockFromRequest(const SimRequest &request)
{
    if (request.data.size() != 7)
        return SimulatedDevice::errorReply(kErrWrongParameter);
    const QTime t(request.byte(2), request.byte(1), request.byte(0));
    const QDate d(1900 + request.byte(6), request.byte(5), request.byte(4));
    if (!t.isValid() || !d.isValid())
        return SimulatedDevice::errorReply(kErrWrongTime);
    const QDateTime wanted(d, t, Qt::UTC);
    if (lastFiscalRecord_.isValid() && wanted < lastFiscalRecord_)
        return SimulatedDevice::errorReply(kErrDateBeforeFiscal);
    setClock(wanted);
    return SimulatedDevice::ack();
}

bool SimFiscal::handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply)
{
    (void)device;
    const uint8_t code = request.code;
    const int n = int(request.data.size());
    switch (code) {
    case 0x20:
        reply = SimulatedDevice::shortReply(0x20, fiscalDataReply());
        return true;
    case 0x25:
        reply = fiscalise(request);
        return true;
    case 0x30:
        reply = SimulatedDevice::shortReply(0x30, taxpayer_);
        return true;
    case 0x35:
        if (n != kTaxpayerSize) {
            reply = SimulatedDevice::errorReply(kErrWrongParameter);
        } else {
            taxpayer_ = request.data;
            reply = SimulatedDevice::ack();
        }
        return true;
    case 0x40:
        reply = SimulatedDevice::shortReply(0x40, receiptLines_);
        return true;
    case 0x45:
        if (n != kReceiptLinesSize) {
            reply = SimulatedDevice::errorReply(kErrWrongParameter);
        } else {
            receiptLines_ = request.data;
            reply = SimulatedDevice::ack();
        }
        return true;
    case 0x60:
        reply = SimulatedDevice::shortReply(0x60, clockReply());
        return true;
    case 0x65:
        reply = setClockFromRequest(request);
        return true;
    case 0x55:
        reply = SimulatedDevice::shortReply(0x55, QByteArray(1, char(logoFlag_)));
        return true;
    case 0x50:
        // The flag ends the write chain; the answer is a plain acknowledgement, not another 0x50.
        if (n != 1) {
            reply = SimulatedDevice::errorReply(kErrWrongParameter);
        } else {
            logoFlag_ = request.byte(0);
            logoBlocksWritten_ = 0;
            reply = SimulatedDevice::ack();
        }
        return true;
    default:
        break;
    }
    const int block = code & 0x0F;
    if ((code & 0xF0) == 0xE0) {
        reply = SimulatedDevice::shortReply(code, logo_.mid(block * kLogoBlockSize, kLogoBlockSize));
        return true;
    }
    if ((code & 0xF0) == 0xD0) {
        if (n != kLogoBlockSize) {
            reply = SimulatedDevice::errorReply(kErrWrongParameter);
            return true;
        }
        logo_.replace(block * kLogoBlockSize, kLogoBlockSize, request.data);
        ++logoBlocksWritten_;
        // Ask for the next block; after the last one, ask for the printing flag.
        reply = block < 15 ? SimulatedDevice::shortReply(uint8_t(0xD0 + block + 1)) : SimulatedDevice::shortReply(0x50);
        return true;
    }
    return false;
}

QJsonObject SimFiscal::save() const
{
    QJsonObject o;
    o["cashRegisterSerial"] = cashSerial_;
    o["fiscalMemorySerial"] = fmSerial_;
    o["fiscalised"] = fiscalised_;
    o["taxNumber"] = QString::fromLatin1(taxNumber_.toHex());
    o["fiscalisedAt"] = isoOrEmpty(fiscalisedAt_);
    o["clockOffsetSeconds"] = double(clockOffset_);
    o["lastFiscalRecord"] = isoOrEmpty(lastFiscalRecord_);
    o["taxpayer"] = QString::fromLatin1(taxpayer_.toHex());
    o["receiptLines"] = QString::fromLatin1(receiptLines_.toHex());
    o["logo"] = QString::fromLatin1(logo_.toHex());
    o["logoFlag"] = int(logoFlag_);
    return o;
}

void SimFiscal::load(const QJsonObject &s)
{
    auto hex = [&s](const char *key) { return QByteArray::fromHex(s[key].toString().toLatin1()); };
    if (s.contains("cashRegisterSerial"))
        cashSerial_ = s["cashRegisterSerial"].toString();
    if (s.contains("fiscalMemorySerial"))
        fmSerial_ = s["fiscalMemorySerial"].toString();
    if (s.contains("fiscalised"))
        fiscalised_ = s["fiscalised"].toBool();
    if (s.contains("taxNumber"))
        taxNumber_ = hex("taxNumber").left(14);
    if (s.contains("fiscalisedAt"))
        fiscalisedAt_ = wallFromIso(s["fiscalisedAt"].toString());
    if (s.contains("clockOffsetSeconds"))
        clockOffset_ = s["clockOffsetSeconds"].toInteger(); // 0 for a number no integer holds
    if (s.contains("lastFiscalRecord"))
        lastFiscalRecord_ = wallFromIso(s["lastFiscalRecord"].toString());
    if (s.contains("taxpayer"))
        taxpayer_ = fitted(hex("taxpayer"), kTaxpayerSize);
    if (s.contains("receiptLines"))
        receiptLines_ = fitted(hex("receiptLines"), kReceiptLinesSize);
    if (s.contains("logo"))
        logo_ = fitted(hex("logo"), kLogoSize);
    if (s.contains("logoFlag"))
        logoFlag_ = uint8_t(s["logoFlag"].toInt());
}
