#pragma once
// Section of the main window for the device's address, subnet mask, gateway and TCP port.

#include "NetworkOps.h"
#include "Section.h"

#include <QRect>

#include <cstdint>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

class NetworkSection : public Section {
    Q_OBJECT
public:
    NetworkSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    void btnIPReadClick();
    void btnIPWriteClick();

    QGroupBox *GroupBox1 = nullptr;
    // Address bytes A1..A4 belong to edtIP0..edtIP3; on screen they stand as edtIP3 edtIP2 edtIP1 edtIP0.
    QLineEdit *edtIP0 = nullptr;
    QLineEdit *edtIP1 = nullptr;
    QLineEdit *edtIP2 = nullptr;
    QLineEdit *edtIP3 = nullptr;
    QLineEdit *edtPort = nullptr;
    QRadioButton *rb0 = nullptr;
    QRadioButton *rb1 = nullptr;
    QRadioButton *rb2 = nullptr;
    QRadioButton *rb3 = nullptr;
    QPushButton *btnIPRead = nullptr;
    QPushButton *btnIPWrite = nullptr;

private:
    // The setting the checked radio button chooses: 0 address, 1 mask, 2 gateway, 3 TCP port.
    uint8_t selector() const;
    // Reply 0xF6: an address into the four boxes, or the port into its box.
    void showAddress(uint8_t selector, const NetworkOps::Address &bytes);
    void showPort(uint16_t port);
};
