#pragma once
// Section of the main window for fiscal data: serial numbers, tax number, date of fiscalisation.

#include "Section.h"

#include <QRect>

struct FiscalDataRecord;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimeEdit;
class QWidget;

class FiscalDataSection : public Section {
    Q_OBJECT
public:
    FiscalDataSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    // Read request 0x20.
    void btnReadClick();
    // The one-time write 0x25 behind the confirmation question.
    void btnWriteClick();

    QGroupBox *gbFiscData = nullptr;
    QLineEdit *edtEKAFP_Ser_No = nullptr;
    QLineEdit *edtFP_Ser_No = nullptr;
    QGroupBox *GB1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QDateEdit *dtpDate = nullptr;
    QTimeEdit *dtpTime = nullptr;
    QLineEdit *edtDZL_DanNo = nullptr;
    QPushButton *btnRead = nullptr;
    QPushButton *btnWrite = nullptr;

private:
    // Reply 0x20: the identity into the edits; the pickers and the write as the state says.
    void showRecord(const FiscalDataRecord &record);
    void setPickersToNow();
};
