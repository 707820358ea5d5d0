#pragma once
// Section of the main window for moving the device clock one hour forward or back.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

class ClockShiftSection : public Section {
    Q_OBJECT
public:
    ClockShiftSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    void BtnSatClick();

    QGroupBox *GroupBox3 = nullptr;
    QRadioButton *rbnapred = nullptr;
    QRadioButton *rbnazad = nullptr;
    QLabel *lbl_rbnapred = nullptr;
    QLabel *lbl_rbnazad = nullptr;
    QPushButton *BtnSat = nullptr;
};
