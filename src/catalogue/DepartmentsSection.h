#pragma once
// Section of the main window for the ten department names and the restaurant mode.

#include "Section.h"

#include <QRect>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

class DepartmentsSection : public Section {
    Q_OBJECT
public:
    static constexpr int kDepartments = 10;
    static constexpr int kNameLength = 18;
    static constexpr int kField = 19;
    static constexpr uint8_t kReadCode = 0xA0;
    static constexpr uint8_t kWriteCode = 0xA5;

    DepartmentsSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    void btnSTReadClick();
    void btnSTWriteClick();

    QGroupBox *gbStands = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    // edtS1Name .. edtS10Name and their number labels " 1. " .. "10.".
    std::array<QLineEdit *, kDepartments> edtSName{};
    std::array<QLabel *, kDepartments> numberLabels{};
    QCheckBox *chbResMode = nullptr;
    QLabel *lblResMode = nullptr;
    QPushButton *btnSTRead = nullptr;
    QPushButton *btnSTWrite = nullptr;

private:
    void onReadReply();
};
