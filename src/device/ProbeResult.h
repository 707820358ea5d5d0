#pragma once
// What one serial port said when the printer was looked for on it.

#include <QByteArray>
#include <QString>

struct ProbeResult {
    enum class Outcome { Found, Silent, Garbage, NotOpened };
    enum class ServiceMode { Unknown, On, Off };

    QString port;     // as it was given or listed ("COM1", "/dev/ttyUSB0")
    QString location; // the device path that was opened
    Outcome outcome = Outcome::Silent;
    QByteArray reply;       // the frame that answered (Found)
    int discardedBytes = 0; // bytes that formed no frame
    int waitedMs = 0;       // how long the answer was waited for
    QString error;          // why the port did not open (NotOpened)
    ServiceMode serviceMode = ServiceMode::Unknown;
    QString model;         // the model identifier the reply carried, "04 01"; empty when none
    bool ourModel = false; // it is the model this tool works with
    QString serialNumber;  // the cash register's serial number, when the reply carried it
    QString refusal;       // the device's error text when it refused the request

    bool found() const { return outcome == Outcome::Found; }
    // One line for the user: what answered, or why nothing did (Serbian, as the window shows it).
    QString summary() const;
};
