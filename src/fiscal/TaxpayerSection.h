#pragma once
// Section of the main window for taxpayer data: the five name, address and number lines.

#include "Section.h"

#include <QRect>

struct TaxpayerRecord;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QWidget;

class TaxpayerSection : public Section {
    Q_OBJECT
public:
    TaxpayerSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    // Read request 0x30.
    void btnCompanyReadClick();
    // Write request 0x35 (refused when the statistical number is empty).
    void btnCompanyWriteClick();

    QGroupBox *GBCompany = nullptr;
    // Top to bottom on screen; the frame order is a different one (TaxpayerRecord).
    QLineEdit *edtPr_Tel = nullptr;
    QLineEdit *edtPr_Name = nullptr;
    QLineEdit *edtDZL_Name = nullptr;
    QLineEdit *edtDZL_Addr = nullptr;
    QLineEdit *edtDZL_Bulstat = nullptr;
    QPushButton *btnCompanyRead = nullptr;
    QPushButton *btnCompanyWrite = nullptr;

private:
    // Reply 0x30: the five texts into their edits, the write enabled.
    void showRecord(const TaxpayerRecord &record);
    // The edit of each frame field, in frame order.
    QLineEdit *fieldEdit(int field) const;
};
