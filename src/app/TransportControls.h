#pragma once
// Section of the main window for opening and closing the serial port and the TCP connection to the device.

#include "Section.h"

#include <functional>

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;
class SerialTransport;
class TcpTransport;

class TransportControls : public Section {
    Q_OBJECT
public:
    // The controls are the window's top-band widgets CB_ComPort, btnCom1, edtIP and btnCOM.
    TransportControls(SectionHost &host, QWidget *window);
    ~TransportControls() override;

    void activate() override;

    // Serial port open/close.
    void btnCom1Click();
    // TCP connect/disconnect.
    void btnCOMClick();
    // Port selection: takes effect at the next open; ignored while the port is open.
    void CB_ComPortClick();
    // The open transport went away by itself: its button offers to open it again.
    void connectionClosed();

    SerialTransport &serial() { return *serial_; }
    TcpTransport &tcp() { return *tcp_; }

    // Shows the standard error box of a failed TCP connect. Tests replace it to read the text
    // without a modal box; the default is a message box with an error icon and one OK button.
    using ErrorBox = std::function<void(QWidget *parent, const QString &text)>;
    void setConnectErrorBox(ErrorBox box) { errorBox_ = std::move(box); }
    static void showStandardErrorBox(QWidget *parent, const QString &text);

private:
    // Caption and buttons of a closed serial port.
    void showSerialClosed();

    QWidget *window_ = nullptr;
    QComboBox *CB_ComPort = nullptr;
    QPushButton *btnCom1 = nullptr;
    QLineEdit *edtIP = nullptr;
    QPushButton *btnCOM = nullptr;
    SerialTransport *serial_ = nullptr;
    TcpTransport *tcp_ = nullptr;
    ErrorBox errorBox_ = &TransportControls::showStandardErrorBox;
};
