#pragma once
// Section of the main window for the ten department names and the restaurant mode.

#include "DepartmentsRecord.h"
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
    static constexpr int kDepartments = DepartmentsRecord::kDepartments;
    static constexpr int kNameLength = DepartmentsRecord::kNameLength;

    DepartmentsSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    // Read request 0xA0.
    void btnSTReadClick();
    // Write request 0xA5 (refused when a name has fewer than two characters).
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
    // Reply 0xA0: the names into their edits, the mode into its check box, the write enabled.
    void showRecord(const DepartmentsRecord &record);
};
