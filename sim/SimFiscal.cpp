#include "SimFiscal.h"

bool SimFiscal::handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply)
{
    (void)device;
    (void)request;
    (void)reply;
    return false;
}
