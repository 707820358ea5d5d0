#include "TransportControls.h"

TransportControls::TransportControls(SectionHost &host, QWidget *window) : Section(host)
{
    (void)window;
}
