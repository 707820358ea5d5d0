#pragma once
// Section of the main window for the four device self-tests.

#include "Section.h"

#include <QRect>

class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

class SelfTestSection : public Section {
    Q_OBJECT
public:
    SelfTestSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    void BtnTestClick();

    QGroupBox *GroupBox4 = nullptr;
    QRadioButton *rbLCDtest = nullptr;
    QRadioButton *rbPRNtest = nullptr;
    QRadioButton *rbFMtest = nullptr;
    QRadioButton *rbPMtest = nullptr;
    QLabel *lbl_LCDtest = nullptr;
    QLabel *lbl_PRNtest = nullptr;
    QLabel *lbl_FMtest = nullptr;
    QLabel *lbl_PMtest = nullptr;
    QPushButton *BtnTest = nullptr;
};
