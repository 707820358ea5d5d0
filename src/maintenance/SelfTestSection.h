#pragma once
// Section of the main window for the four device self-tests.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QWidget;

class SelfTestSection : public Section {
    Q_OBJECT
public:
    SelfTestSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    QGroupBox *GroupBox4 = nullptr;
};
