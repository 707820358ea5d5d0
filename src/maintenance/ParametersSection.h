#pragma once
// Section of the main window for numbered device parameters.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class ParametersSection : public Section {
    Q_OBJECT
public:
    ParametersSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GroupBox2 = nullptr;
};
