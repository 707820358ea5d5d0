#pragma once
// Section of the main window for the device clock and the last fiscal date-time.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class DateTimeSection : public Section {
    Q_OBJECT
public:
    DateTimeSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GBTimeDate = nullptr;
};
