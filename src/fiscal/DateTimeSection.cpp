#include "DateTimeSection.h"

#include "MakeWidget.h"

#include "ClockOps.h"
#include "DateTimeFormats.h"
#include "Device.h"
#include "DeviceLink.h"
#include "LastFiscalDateTime.h"
#include "LinkView.h"
#include "UiText.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

DateTimeSection::DateTimeSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GBTimeDate = new QGroupBox(parent);
    GBTimeDate->setObjectName("GBTimeDate");
    GBTimeDate->setGeometry(geometry);
    GBTimeDate->setTitle(UiText(83));

    Label19 = new QLabel(UiText(57), GBTimeDate);
    Label19->setObjectName("Label19");
    Label19->move(10, 26);
    dtpSetDate = new QDateEdit(GBTimeDate);
    dtpSetDate->setObjectName("dtpSetDate");
    dtpSetDate->setGeometry(70, 22, 150, 22);
    dtpSetDate->setDisplayFormat(DateTimeFormats::pickerDate());
    dtpSetDate->setCalendarPopup(true);
    Label23 = new QLabel(UiText(96), GBTimeDate);
    Label23->setObjectName("Label23");
    Label23->move(10, 56);
    dtpSetTime = new QTimeEdit(GBTimeDate);
    dtpSetTime->setObjectName("dtpSetTime");
    dtpSetTime->setGeometry(70, 52, 150, 22);
    dtpSetTime->setDisplayFormat(DateTimeFormats::longTime());

    btnReadDateTime = new QPushButton(UiText(Txt::Read), GBTimeDate);
    btnReadDateTime->setObjectName("btnReadDateTime");
    btnReadDateTime->setGeometry(268, 21, 118, 25);
    btnWriteDateTime = new QPushButton(UiText(Txt::Write), GBTimeDate);
    btnWriteDateTime->setObjectName("btnWriteDateTime");
    btnWriteDateTime->setGeometry(268, 51, 118, 25);

    lblFDT = new QLabel(QStringLiteral("Фискални датум и време"), GBTimeDate);
    lblFDT->setObjectName("lblFDT");
    lblFDT->setGeometry(10, 90, 376, 20);
    QFont f = lblFDT->font();
    f.setPointSize(9);
    f.setBold(true);
    lblFDT->setFont(f);
    setEnabledColour(lblFDT, {QPalette::WindowText}, Qt::red);

    connect(btnReadDateTime, &QPushButton::clicked, this, &DateTimeSection::btnReadDateTimeClick);
    connect(btnWriteDateTime, &QPushButton::clicked, this, &DateTimeSection::btnWriteDateTimeClick);
    connect(&device().clock(), &ClockOps::received, this, &DateTimeSection::showRecord);
    activate();
}

void DateTimeSection::activate()
{
    dtpSetDate->setDate(QDate::currentDate());
    dtpSetTime->setTime(DateTimeFormats::nowWholeSeconds());
}

QString DateTimeSection::fiscalCaption(const QDate &date, const QTime &time)
{
    return UiText(112) + DateTimeFormats::formatShortDate(date) + QStringLiteral(" - ") +
           DateTimeFormats::formatLongTime(time);
}

void DateTimeSection::btnReadDateTimeClick()
{
    if (refuseOutsideServiceMode())
        return;
    beginRead();
    device().clock().read();
}

void DateTimeSection::showRecord(const ClockRecord &r)
{
    view().setProgress(16);
    btnWriteDateTime->setEnabled(true);
    dtpSetDate->setDate(r.clockDate);
    dtpSetTime->setTime(r.clockTime);
    LastFiscalDateTime::of(host().window()).set(r.fiscalDate, r.fiscalTime);
    lblFDT->setText(fiscalCaption(r.fiscalDate, r.fiscalTime));
    view().setProgress(0);
    view().setStatusText(UiText(Txt::InServiceMode));
}

void DateTimeSection::btnWriteDateTimeClick()
{
    if (!link().serviceMode())
        return;
    const QDate date = dtpSetDate->date();
    const QTime time = dtpSetTime->time();
    if (!LastFiscalDateTime::of(host().window()).allows(date, time)) {
        showError(UiText(Txt::DataErrorCancelled));
        return;
    }
    beginWrite(16);
    device().clock().write(date, time);
    endWrite();
}
