#include "ParametersSection.h"

#include "MakeWidget.h"

#include "DeviceLink.h"
#include "IntegerField.h"
#include "LinkView.h"
#include "UiText.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {
constexpr uint8_t kReadParameter = 0xF7;
constexpr uint8_t kWriteParameter = 0xF9;

} // namespace

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

    link().onReply(kReadParameter, [this] { onParameterReply(); });
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
    link().setTx(4, uint8_t(*number));
    sendRead(kReadParameter, 5);
    btnPWrite->setEnabled(true);
}

void ParametersSection::onParameterReply()
{
    DeviceLink &l = link();
    view().setProgress(16);
    edtPNr->setText(QString::number(l.rx(4)));
    edtPV->setText(QString::number(l.rx(5) + 256 * l.rx(6)));
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
    DeviceLink &l = link();
    l.setTx(4, uint8_t(*number));
    l.setTx(5, uint8_t(*value & 0xFF));
    l.setTx(6, uint8_t(*value >> 8));
    l.SendFrame(kWriteParameter, 7);
}
