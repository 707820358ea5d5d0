#include "SimCatalogue.h"

bool SimCatalogue::handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply)
{
    (void)device;
    (void)request;
    (void)reply;
    return false;
}
