#pragma once
// Section of the main window for the device clock and the last fiscal date-time.

#include "Section.h"

#include <QDate>
#include <QRect>
#include <QTime>

struct ClockRecord;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimeEdit;
class QWidget;

class DateTimeSection : public Section {
    Q_OBJECT
public:
    DateTimeSection(SectionHost &host, QWidget *parent, const QRect &geometry);

    void activate() override;

    // Read request 0x60.
    void btnReadDateTimeClick();
    // Write request 0x65, only for a setting later than the last fiscal date-time.
    void btnWriteDateTimeClick();

    // "Фискални датум и време: " with the date in the short date and the time in the long time format.
    static QString fiscalCaption(const QDate &date, const QTime &time);

    QGroupBox *GBTimeDate = nullptr;
    QLabel *Label19 = nullptr;
    QLabel *Label23 = nullptr;
    QDateEdit *dtpSetDate = nullptr;
    QTimeEdit *dtpSetTime = nullptr;
    QPushButton *btnReadDateTime = nullptr;
    QPushButton *btnWriteDateTime = nullptr;
    QLabel *lblFDT = nullptr;

private:
    // Reply 0x60: the clock into the pickers, the last fiscal date-time into the bound and the caption.
    void showRecord(const ClockRecord &record);
};
