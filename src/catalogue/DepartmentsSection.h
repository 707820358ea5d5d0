#pragma once
// Section of the main window for the ten department names and the restaurant mode.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class DepartmentsSection : public Section {
    Q_OBJECT
public:
    DepartmentsSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *gbStands = nullptr;
};
