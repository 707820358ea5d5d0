#pragma once
// Section of the main window for numbered device parameters.

#include "Section.h"

#include <QRect>

#include <cstdint>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class ParametersSection : public Section {
    Q_OBJECT
public:
    ParametersSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    void btnPReadClick();
    void btnPWriteClick();

    QGroupBox *GroupBox2 = nullptr;
    QLineEdit *edtPNr = nullptr;
    QLineEdit *edtPV = nullptr;
    QLabel *edtPNrLabel = nullptr;
    QLabel *edtPVLabel = nullptr;
    QPushButton *btnPRead = nullptr;
    QPushButton *btnPWrite = nullptr;

private:
    // Reply 0xF7: the number and value into their boxes.
    void showParameter(uint8_t number, uint16_t value);
};
