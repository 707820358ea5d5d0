#pragma once
// Simulated device's commands and state for the 60000 article slots and the 64 cashiers.

#include "SimulatedDevice.h"

class SimArticles : public SimModule {
public:
    QString name() const override { return QStringLiteral("articles"); }
    bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) override;
};
