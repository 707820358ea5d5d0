#include "SerialPortBox.h"

#include "SerialTransport.h"

#include <QSerialPortInfo>
#include <QSignalBlocker>

SerialPortBox::SerialPortBox(QWidget *parent) : QComboBox(parent) {}

void SerialPortBox::addMachinePorts()
{
    QStringList listed;
    for (int i = 0; i < count(); ++i)
        listed << SerialTransport::systemLocation(itemText(i));
    // Adding items moves neither the choice nor the typed text; nothing is announced.
    const QSignalBlocker block(this);
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString location = info.systemLocation();
        if (!listed.contains(location)) {
            addItem(location);
            listed << location;
        }
    }
}

void SerialPortBox::showPopup()
{
    addMachinePorts();
    QComboBox::showPopup();
}
