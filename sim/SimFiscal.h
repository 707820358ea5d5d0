#pragma once
// Simulated device's commands and state for fiscal identity, taxpayer data, clock, receipt lines and logo.

#include "SimulatedDevice.h"

#include <QDateTime>

class SimFiscal : public SimModule {
public:
    static constexpr int kTaxpayerSize = 160;
    static constexpr int kReceiptLinesSize = 204;
    static constexpr int kLogoSize = 4096;
    static constexpr int kLogoBlockSize = 256;
    // Error codes of the 0xF5 reply used here.
    static constexpr uint8_t kErrAlreadyFiscalised = 14;
    static constexpr uint8_t kErrNoTaxNumber = 15;
    static constexpr uint8_t kErrWrongParameter = 16;
    static constexpr uint8_t kErrWrongTime = 18;
    static constexpr uint8_t kErrDateBeforeFiscal = 30;

    SimFiscal();

    QString name() const override { return QStringLiteral("fiscal"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
    QJsonObject save() const override;
    void load(const QJsonObject &state) override;

    // Fiscal identity.
    QString cashRegisterSerial() const { return cashSerial_; }
    void setCashRegisterSerial(const QString &s) { cashSerial_ = s; }
    QString fiscalMemorySerial() const { return fmSerial_; }
    void setFiscalMemorySerial(const QString &s) { fmSerial_ = s; }
    bool fiscalised() const { return fiscalised_; }
    // Windows-1251 bytes of the tax number (at most 14), empty when none was written.
    QByteArray taxNumber() const { return taxNumber_; }
    QDateTime fiscalisedAt() const { return fiscalisedAt_; }
    // Puts the device into the fiscalised state as if a write had been accepted at `at`.
    void setFiscalised(const QByteArray &taxNumber, const QDateTime &at);

    // The clock: host time plus an offset; all values are wall-clock times (kept as UTC, no zone).
    QDateTime clock() const;
    void setClock(const QDateTime &wallClock);
    qint64 clockOffsetSeconds() const { return clockOffset_; }
    // Moves the clock by `seconds` (the one-hour shift commands use this).
    void shiftClock(qint64 seconds) { clockOffset_ += seconds; }
    // Date-time of the last fiscal record; invalid when there is none. A clock setting earlier than it is refused.
    QDateTime lastFiscalRecord() const { return lastFiscalRecord_; }
    void setLastFiscalRecord(const QDateTime &wallClock) { lastFiscalRecord_ = wallClock; }

    // Raw records as they travel (taxpayer 160 bytes, receipt and display lines 204 bytes).
    QByteArray taxpayer() const { return taxpayer_; }
    void setTaxpayer(const QByteArray &bytes) { taxpayer_ = fitted(bytes, kTaxpayerSize); }
    QByteArray receiptLines() const { return receiptLines_; }
    void setReceiptLines(const QByteArray &bytes) { receiptLines_ = fitted(bytes, kReceiptLinesSize); }

    // The logo bitmap (16 blocks of 256 bytes) and its printing flag byte.
    QByteArray logo() const { return logo_; }
    void setLogo(const QByteArray &bytes) { logo_ = fitted(bytes, kLogoSize); }
    uint8_t logoFlag() const { return logoFlag_; }
    void setLogoFlag(uint8_t flag) { logoFlag_ = flag; }
    // Blocks written since start (or since the last flag write), for checks on the write chain.
    int logoBlocksWritten() const { return logoBlocksWritten_; }

    // Wall-clock now of the host (local date and time, carried as UTC).
    static QDateTime hostWallClock();

private:
    static QByteArray fitted(const QByteArray &bytes, int size);
    QByteArray fiscalDataReply() const;
    QByteArray clockReply() const;
    QByteArray fiscalise(const SimRequest &request);
    QByteArray setClockFromRequest(const SimRequest &request);

    QString cashSerial_ = QStringLiteral("QV00012345");
    QString fmSerial_ = QStringLiteral("FM0000067890");
    bool fiscalised_ = false;
    QByteArray taxNumber_;
    QDateTime fiscalisedAt_;
    qint64 clockOffset_ = 0;
    QDateTime lastFiscalRecord_;
    QByteArray taxpayer_;
    QByteArray receiptLines_;
    QByteArray logo_;
    uint8_t logoFlag_ = 0x33;
    int logoBlocksWritten_ = 0;
};
