#include "ClockShiftSection.h"

#include "MakeWidget.h"

#include "ClockShiftOps.h"
#include "Device.h"
#include "RadioLabel.h"
#include "UiText.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

ClockShiftSection::ClockShiftSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox3 = new QGroupBox(parent);
    GroupBox3->setObjectName("GroupBox3");
    GroupBox3->setGeometry(geometry);
    GroupBox3->setTitle(QStringLiteral("+1/-1 сат"));
    QWidget *g = GroupBox3;

    rbnapred = makeWidget<QRadioButton>(g, "rbnapred", QRect(12, 24, 18, 18));
    lbl_rbnapred = new RadioLabel(rbnapred, g);
    lbl_rbnapred->setObjectName("lbl_rbnapred");
    lbl_rbnapred->setGeometry(34, 25, 200, 16);
    rbnazad = makeWidget<QRadioButton>(g, "rbnazad", QRect(12, 48, 18, 18));
    lbl_rbnazad = new RadioLabel(rbnazad, g);
    lbl_rbnazad->setObjectName("lbl_rbnazad");
    lbl_rbnazad->setGeometry(34, 49, 200, 16);

    BtnSat = makeWidget<QPushButton>(g, "BtnSat", QRect(12, 76, 130, 25));
    connect(BtnSat, &QPushButton::clicked, this, &ClockShiftSection::BtnSatClick);
}

void ClockShiftSection::activate()
{
    lbl_rbnapred->setText(QStringLiteral("1 сат унапред"));
    lbl_rbnazad->setText(QStringLiteral("1 сат уназад"));
    BtnSat->setText(UiText(Txt::Write));
}

void ClockShiftSection::BtnSatClick()
{
    if (refuseOutsideServiceMode())
        return;
    // Sent at once: no status text, no progress, no reply timer.
    if (rbnapred->isChecked())
        device().clockShift().shift(true);
    else if (rbnazad->isChecked())
        device().clockShift().shift(false);
    else
        showError(QStringLiteral("Није изабрана ни једна опција!"));
}
