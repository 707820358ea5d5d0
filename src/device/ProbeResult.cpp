#include "ProbeResult.h"

#include "ToolText.h"

#include <QStringList>

QString ProbeResult::summary() const
{
    switch (outcome) {
    case Outcome::NotOpened:
        return ToolText::probeNotOpened(error);
    case Outcome::Garbage:
        return ToolText::probeGarbage(discardedBytes);
    case Outcome::Silent:
        return ToolText::probeSilent(waitedMs);
    case Outcome::Found:
        break;
    }
    QStringList parts{ToolText::probeFound()};
    if (serviceMode == ServiceMode::On)
        parts << ToolText::probeInServiceMode();
    else if (serviceMode == ServiceMode::Off)
        parts << ToolText::probeNotInServiceMode();
    if (!refusal.isEmpty())
        parts << ToolText::probeRefused(refusal);
    if (!model.isEmpty())
        parts << (ourModel ? ToolText::probeModel(model) : ToolText::probeOtherModel(model));
    if (!serialNumber.isEmpty())
        parts << ToolText::probeSerialNumber(serialNumber);
    return parts.join(QStringLiteral(", "));
}
