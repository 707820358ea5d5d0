#pragma once
// A serial port box that lists the machine's ports when its list is opened. Reading the system's
// port list takes a noticeable part of a start-up, and a USB adapter plugged in after the start
// shows up the next time the list opens.

#include <QComboBox>

class SerialPortBox : public QComboBox {
    Q_OBJECT
public:
    explicit SerialPortBox(QWidget *parent = nullptr);

    // Adds the machine's serial ports that the box does not list yet; COM1..COM4 stand for
    // /dev/ttyS0..3 here, so those are not listed twice. The text shown does not change.
    void addMachinePorts();

    void showPopup() override;
};
