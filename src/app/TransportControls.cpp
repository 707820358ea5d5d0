#include "TransportControls.h"

#include "DeviceLink.h"
#include "LinkView.h"
#include "SerialTransport.h"
#include "TcpTransport.h"
#include "UiText.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace {
// Closing the serial port disables these; opening it enables the second list.
const QStringList kOffOnSerialClose = {"btnReadCliche", "btnWriteCliche", "btnTGRead", "btnTGWrite",
                                       "btnSTRead",     "btnSTWrite",     "btnARead",  "btnAWrite",
                                       "btnLogoRead",   "btnLogoWrite",   "btnORead",  "btnOWrite"};
const QStringList kOnOnSerialOpen = {"btnReadCliche", "btnTGRead",    "btnSTRead", "btnARead",
                                     "btnLogoRead",   "btnLogoWrite", "btnORead",  "btnAWrite"};
} // namespace

TransportControls::TransportControls(SectionHost &host, QWidget *window)
    : Section(host), window_(window), serial_(new SerialTransport(this)), tcp_(new TcpTransport(this))
{
    setObjectName(QStringLiteral("TransportControls"));
    CB_ComPort = window->findChild<QComboBox *>(QStringLiteral("CB_ComPort"));
    btnCom1 = window->findChild<QPushButton *>(QStringLiteral("btnCom1"));
    edtIP = window->findChild<QLineEdit *>(QStringLiteral("edtIP"));
    btnCOM = window->findChild<QPushButton *>(QStringLiteral("btnCOM"));
    if (btnCom1)
        connect(btnCom1, &QPushButton::clicked, this, &TransportControls::btnCom1Click);
    if (btnCOM)
        connect(btnCOM, &QPushButton::clicked, this, &TransportControls::btnCOMClick);
    if (CB_ComPort) {
        connect(CB_ComPort, &QComboBox::activated, this, &TransportControls::CB_ComPortClick);
        // A typed device path counts as a selection as well.
        connect(CB_ComPort, &QComboBox::editTextChanged, this, &TransportControls::CB_ComPortClick);
    }
    // The machine's own ports join the list when it is first opened (SerialPortBox).
}

TransportControls::~TransportControls() = default;

void TransportControls::activate()
{
    if (CB_ComPort)
        serial_->setPortName(CB_ComPort->currentText());
}

void TransportControls::CB_ComPortClick()
{
    if (serial_->isOpen() || !CB_ComPort)
        return;
    serial_->setPortName(CB_ComPort->currentText());
}

void TransportControls::btnCom1Click()
{
    DeviceLink &l = link();
    l.setSerialTransport(true);
    l.setTransport(serial_);
    // The TCP controls stay disabled for the rest of the run.
    if (edtIP)
        edtIP->setEnabled(false);
    if (btnCOM)
        btnCOM->setEnabled(false);

    if (serial_->isOpen()) {
        serial_->close();
        showSerialClosed();
        return;
    }
    if (serial_->open()) {
        if (btnCom1)
            btnCom1->setText(UiText(Txt::ClosePort));
        view().setControlsEnabled(kOnOnSerialOpen, true);
        return;
    }
    view().showDialog(UiText(Txt::TitleError), serial_->errorString());
}

void TransportControls::btnCOMClick()
{
    DeviceLink &l = link();
    l.setSerialTransport(false);
    l.setTransport(tcp_);
    // The serial controls stay disabled for the rest of the run.
    if (CB_ComPort)
        CB_ComPort->setEnabled(false);
    if (btnCom1)
        btnCom1->setEnabled(false);

    if (tcp_->isOpen()) {
        if (l.serviceMode()) {
            // Leave service mode first; the connection closes when the device answers 0x10.
            const bool sent = l.SendFrame(0x10, 4);
            l.clearRx();
            if (sent) {
                l.setDisconnectAfterExit(true);
                l.setReplyPending(true);
                l.startReplyTimer();
            }
            return;
        }
        tcp_->close();
        if (btnCOM)
            btnCOM->setText(UiText(Txt::OpenPort));
        return;
    }
    const QString address = edtIP ? edtIP->text() : QString();
    if (tcp_->connectTo(address)) {
        // A disconnect still waiting on the previous connection does not carry over to this one.
        l.setDisconnectAfterExit(false);
        if (btnCOM)
            btnCOM->setText(UiText(Txt::ClosePort));
        return;
    }
    if (btnCOM)
        btnCOM->setText(UiText(Txt::OpenPort));
    if (errorBox_)
        errorBox_(window_, QStringLiteral("Error while connecting:") + QChar(0x0D) + tcp_->connectError());
}

void TransportControls::connectionClosed()
{
    if (link().serialTransport()) {
        showSerialClosed();
    } else if (btnCOM) {
        btnCOM->setText(UiText(Txt::OpenPort));
    }
}

void TransportControls::showSerialClosed()
{
    if (btnCom1)
        btnCom1->setText(UiText(Txt::OpenPort));
    view().setControlsEnabled(kOffOnSerialClose, false);
}

void TransportControls::showStandardErrorBox(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, QStringLiteral("Quorvel"), text, QMessageBox::Ok);
}
