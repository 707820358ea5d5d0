#pragma once
// Section of the main window for opening and closing the serial port and the TCP connection to the device.

#include "Section.h"

class QWidget;

class TransportControls : public Section {
    Q_OBJECT
public:
    TransportControls(SectionHost &host, QWidget *window);
};
