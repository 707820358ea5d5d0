#pragma once
// Simulated device's commands and state for tax groups and departments.

#include "SimulatedDevice.h"

class SimCatalogue : public SimModule {
public:
    QString name() const override { return QStringLiteral("catalogue"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
};
