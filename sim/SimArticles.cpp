#include "SimArticles.h"

bool SimArticles::handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply)
{
    (void)device;
    (void)request;
    (void)reply;
    return false;
}
