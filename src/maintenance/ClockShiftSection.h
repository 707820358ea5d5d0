#pragma once
// Section of the main window for moving the device clock one hour forward or back.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class ClockShiftSection : public Section {
    Q_OBJECT
public:
    ClockShiftSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GroupBox3 = nullptr;
};
