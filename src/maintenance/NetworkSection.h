#pragma once
// Section of the main window for the device's address, subnet mask, gateway and TCP port.

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
    static constexpr uint8_t kPortSelector = 3;
    // The setting the checked radio button chooses: 0 address, 1 mask, 2 gateway, 3 TCP port.
    uint8_t selector() const;
    void onSettingReply();
};
