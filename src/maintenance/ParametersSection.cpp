#include "ParametersSection.h"

#include "MakeWidget.h"

#include "Device.h"
#include "IntegerField.h"
#include "LinkView.h"
#include "ParametersOps.h"
#include "UiText.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

ParametersSection::ParametersSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox2 = new QGroupBox(parent);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(geometry);
    GroupBox2->setTitle(QStringLiteral("Остали параметри"));
    QWidget *g = GroupBox2;

    edtPNrLabel = makeWidget<QLabel>(g, "edtPNrLabel", QRect(12, 22, 80, 14));
    edtPNr = makeWidget<QLineEdit>(g, "edtPNr", QRect(12, 38, 80, 21));
    edtPVLabel = makeWidget<QLabel>(g, "edtPVLabel", QRect(104, 22, 100, 14));
    edtPV = makeWidget<QLineEdit>(g, "edtPV", QRect(104, 38, 100, 21));
    edtPNrLabel->setBuddy(edtPNr);
    edtPVLabel->setBuddy(edtPV);

    btnPRead = makeWidget<QPushButton>(g, "btnPRead", QRect(12, 72, 130, 25));
    btnPWrite = makeWidget<QPushButton>(g, "btnPWrite", QRect(150, 72, 130, 25));
    connect(btnPRead, &QPushButton::clicked, this, &ParametersSection::btnPReadClick);
    connect(btnPWrite, &QPushButton::clicked, this, &ParametersSection::btnPWriteClick);

    connect(&device().parameters(), &ParametersOps::received, this, &ParametersSection::showParameter);
}

void ParametersSection::activate()
{
    edtPNrLabel->setText(QStringLiteral("Парам."));
    edtPVLabel->setText(QStringLiteral("Вредност"));
    btnPRead->setText(UiText(Txt::Read));
    btnPWrite->setText(UiText(Txt::Write));
}

void ParametersSection::btnPReadClick()
{
    if (refuseOutsideServiceMode())
        return;
    const auto number = CheckedInteger(edtPNr->text(), 0, 255);
    if (!number) {
        showError(UiText(Txt::DataErrorCancelled));
        return;
    }
    beginRead();
    device().parameters().read(uint8_t(*number));
    btnPWrite->setEnabled(true);
}

void ParametersSection::showParameter(uint8_t number, uint16_t value)
{
    view().setProgress(16);
    edtPNr->setText(QString::number(number));
    edtPV->setText(QString::number(value));
    view().setProgress(0);
}

void ParametersSection::btnPWriteClick()
{
    if (refuseOutsideServiceMode())
        return;
    // Both boxes are checked before the one message, so two bad boxes still give one dialog.
    const auto number = CheckedInteger(edtPNr->text(), 0, 255);
    const auto value = CheckedInteger(edtPV->text(), 0, 65535);
    if (!number || !value) {
        showError(UiText(Txt::DataErrorCancelled));
        return;
    }
    view().setStatusText(UiText(Txt::PleaseWait));
    device().parameters().write(uint8_t(*number), uint16_t(*value));
}
