#pragma once
// Section of the main window for the device's address, subnet mask, gateway and TCP port.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class NetworkSection : public Section {
    Q_OBJECT
public:
    NetworkSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GroupBox1 = nullptr;
};
