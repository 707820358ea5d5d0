#pragma once
// Simulated device's commands and state for network settings, parameters, clock shift and the fiscal memory.

#include "SimulatedDevice.h"

class SimMaintenance : public SimModule {
public:
    QString name() const override { return QStringLiteral("maintenance"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
};
