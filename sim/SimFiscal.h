#pragma once
// Simulated device's commands and state for fiscal identity, taxpayer data, clock, receipt lines and logo.

#include "SimulatedDevice.h"

class SimFiscal : public SimModule {
public:
    QString name() const override { return QStringLiteral("fiscal"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
};
