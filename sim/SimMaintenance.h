#pragma once
// Simulated device's commands and state for network settings, parameters, clock shift and the fiscal memory.

#include "SimulatedDevice.h"

#include <QByteArray>

#include <array>
#include <cstdint>

class SimMaintenance : public SimModule {
public:
    static constexpr int kSettings = 3; // address, subnet mask, gateway
    static constexpr int kParameters = 256;
    static constexpr int kFmBlockSize = 128;
    static constexpr int kFmBlocks = 1024;
    static constexpr int kFmSize = kFmBlockSize * kFmBlocks;

    SimMaintenance();

    QString name() const override { return QStringLiteral("maintenance"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
    QJsonObject save() const override;
    void load(const QJsonObject &state) override;

    // Setting 0..2 as the four bytes A1..A4 in the order they travel.
    std::array<uint8_t, 4> setting(int selector) const;
    void setSetting(int selector, const std::array<uint8_t, 4> &bytes);
    uint16_t tcpPort() const { return tcpPort_; }
    void setTcpPort(uint16_t port) { tcpPort_ = port; }
    uint16_t parameter(int number) const;
    void setParameter(int number, uint16_t value);
    // Hours the clock was moved by the shift commands (forward positive).
    int clockShiftHours() const { return clockShift_; }
    const QByteArray &fiscalMemory() const { return fiscalMemory_; }
    // Replaces the fiscal memory; the content is cut or padded with 0xFF to its size.
    void setFiscalMemory(const QByteArray &content);
    // The content a new device starts with: the same bytes every time.
    static QByteArray defaultFiscalMemory();

private:
    QByteArray readSetting(const SimRequest &request) const;
    QByteArray readBlock(const SimRequest &request) const;

    std::array<std::array<uint8_t, 4>, kSettings> settings_{};
    uint16_t tcpPort_ = 1024;
    std::array<uint16_t, kParameters> parameters_{};
    int clockShift_ = 0;
    QByteArray fiscalMemory_;
};
