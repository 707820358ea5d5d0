#pragma once
// Section of the main window for the barcode scanner on its own serial port, feeding the article form.

#include "ArticlesSection.h"
#include "BarcodeLineAssembler.h"
#include "Section.h"

#include <QPointer>
#include <QSerialPort>

class QComboBox;
class QFrame;
class QPushButton;
class QTimer;

class BarcodeReader : public Section {
    Q_OBJECT
public:
    static constexpr int kBaudRate = 9600;
    static constexpr int kInputBufferSize = 16384;

    BarcodeReader(SectionHost &host, ArticlesSection &articles);

    void activate() override;

    // Opens or closes the scanner's port.
    void btnBCComClick();
    // Port name for a choice of the list: "COM1".."COM4" stand for the first four serial ports;
    // anything else (a device path, a system port name) is used as it is.
    static QString portNameFor(const QString &choice);

    QSerialPort &port() { return BCComPort; }
    // Closes the scanner's port (the main window does so when it closes).
    void closePort();
    const BarcodeLineAssembler &assembler() const { return assembler_; }

private:
    void cbBCComChange(const QString &text);
    void BCComPortRxChar();
    void onPortError(QSerialPort::SerialPortError error);
    void flash(QFrame *lamp, QTimer *timer, const QColor &on);
    void setLamp(QFrame *lamp, const QColor &color);

    ArticlesSection &articles_;
    QSerialPort BCComPort;
    BarcodeLineAssembler assembler_;
    QPointer<QComboBox> cbBCCom;
    QPointer<QPushButton> btnBCCom;
    QPointer<QFrame> bcLedRec;
    QPointer<QFrame> bcLedTrans;
    QTimer *recTimer_ = nullptr;
    QTimer *transTimer_ = nullptr;
};
