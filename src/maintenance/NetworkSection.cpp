#include "NetworkSection.h"

#include "MakeWidget.h"

#include "Device.h"
#include "IntegerField.h"
#include "LinkView.h"
#include "UiText.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <optional>

NetworkSection::NetworkSection(SectionHost &host, QWidget *parent, const QRect &geometry) : Section(host, parent)
{
    GroupBox1 = new QGroupBox(parent);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(geometry);
    GroupBox1->setTitle(QStringLiteral("IP адреса"));
    QWidget *g = GroupBox1;

    // Left to right: the last address byte first, the first one (A1) in the rightmost box.
    edtIP3 = makeWidget<QLineEdit>(g, "edtIP3", QRect(12, 24, 40, 21));
    edtIP2 = makeWidget<QLineEdit>(g, "edtIP2", QRect(58, 24, 40, 21));
    edtIP1 = makeWidget<QLineEdit>(g, "edtIP1", QRect(104, 24, 40, 21));
    edtIP0 = makeWidget<QLineEdit>(g, "edtIP0", QRect(150, 24, 40, 21));
    edtPort = makeWidget<QLineEdit>(g, "edtPort", QRect(206, 24, 80, 21));

    rb0 = makeWidget<QRadioButton>(g, "rb0", QRect(12, 56, 180, 20));
    rb1 = makeWidget<QRadioButton>(g, "rb1", QRect(12, 78, 180, 20));
    rb2 = makeWidget<QRadioButton>(g, "rb2", QRect(12, 100, 180, 20));
    rb3 = makeWidget<QRadioButton>(g, "rb3", QRect(12, 122, 180, 20));
    rb0->setChecked(true);

    btnIPRead = makeWidget<QPushButton>(g, "btnIPRead", QRect(12, 154, 130, 25));
    btnIPWrite = makeWidget<QPushButton>(g, "btnIPWrite", QRect(156, 154, 130, 25));
    connect(btnIPRead, &QPushButton::clicked, this, &NetworkSection::btnIPReadClick);
    connect(btnIPWrite, &QPushButton::clicked, this, &NetworkSection::btnIPWriteClick);

    connect(&device().network(), &NetworkOps::addressReceived, this, &NetworkSection::showAddress);
    connect(&device().network(), &NetworkOps::portReceived, this, &NetworkSection::showPort);
}

void NetworkSection::activate()
{
    rb0->setText(QStringLiteral("IP"));
    rb1->setText(QStringLiteral("Subnet mask"));
    rb2->setText(QStringLiteral("Gateway"));
    rb3->setText(QStringLiteral("TCP Local Port"));
    btnIPRead->setText(UiText(Txt::Read));
    btnIPWrite->setText(UiText(Txt::Write));
}

uint8_t NetworkSection::selector() const
{
    if (rb3->isChecked())
        return 3;
    if (rb2->isChecked())
        return 2;
    if (rb1->isChecked())
        return 1;
    return 0;
}

void NetworkSection::btnIPReadClick()
{
    if (refuseOutsideServiceMode())
        return;
    for (QLineEdit *e : {edtIP0, edtIP1, edtIP2, edtIP3, edtPort})
        e->clear();
    beginRead();
    device().network().read(selector());
    btnIPWrite->setEnabled(true);
}

void NetworkSection::showAddress(uint8_t, const NetworkOps::Address &bytes)
{
    view().setProgress(16);
    // The radio buttons stay as they are, whatever setting the reply is about.
    edtIP0->setText(QString::number(bytes[0]));
    edtIP1->setText(QString::number(bytes[1]));
    edtIP2->setText(QString::number(bytes[2]));
    edtIP3->setText(QString::number(bytes[3]));
    view().setProgress(0);
}

void NetworkSection::showPort(uint16_t port)
{
    view().setProgress(16);
    edtPort->setText(QString::number(port));
    view().setProgress(0);
}

void NetworkSection::btnIPWriteClick()
{
    if (refuseOutsideServiceMode())
        return;
    const uint8_t sel = selector();
    NetworkOps::Address bytes{};
    std::optional<int> port;
    bool ok = true;
    if (sel == NetworkOps::kPortSelector) {
        port = CheckedInteger(edtPort->text(), 0, 65535);
        ok = port.has_value();
    } else {
        // Every box is checked, so the user hears of all bad boxes in one message.
        const QLineEdit *boxes[] = {edtIP0, edtIP1, edtIP2, edtIP3};
        for (int i = 0; i < 4; ++i) {
            const auto v = CheckedInteger(boxes[i]->text(), 0, 255);
            if (v)
                bytes[size_t(i)] = uint8_t(*v);
            else
                ok = false;
        }
    }
    if (!ok) {
        showError(UiText(Txt::DataErrorCancelled));
        return;
    }
    view().setStatusText(UiText(Txt::PleaseWait));
    if (port)
        device().network().writePort(uint16_t(*port));
    else
        device().network().writeAddress(sel, bytes);
}
