#include "BarcodeReader.h"

#include "Cp1251.h"
#include "LinkView.h"
#include "TypingLimit.h"
#include "UiText.h"

#include <QComboBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int kLampFlashMs = 120;
const QColor kRecOn(0, 220, 0);
const QColor kRecOff(0, 80, 0);
const QColor kTransOn(230, 0, 0);
const QColor kTransOff(90, 0, 0);
} // namespace

BarcodeReader::BarcodeReader(SectionHost &host, ArticlesSection &articles) : Section(host), articles_(articles)
{
    BCComPort.setObjectName("BCComPort");
    BCComPort.setParent(this);
    BCComPort.setPortName(portNameFor(QStringLiteral("COM1")));
    BCComPort.setBaudRate(kBaudRate);
    BCComPort.setDataBits(QSerialPort::Data8);
    BCComPort.setParity(QSerialPort::NoParity);
    BCComPort.setStopBits(QSerialPort::OneStop);
    BCComPort.setFlowControl(QSerialPort::NoFlowControl);
    BCComPort.setReadBufferSize(kInputBufferSize);
    connect(&BCComPort, &QSerialPort::readyRead, this, &BarcodeReader::BCComPortRxChar);
    connect(&BCComPort, &QSerialPort::errorOccurred, this, &BarcodeReader::onPortError);

    QWidget *w = host.window();
    cbBCCom = w->findChild<QComboBox *>("cbBCCom");
    btnBCCom = w->findChild<QPushButton *>("btnBCCom");
    bcLedRec = w->findChild<QFrame *>("bcLedRec");
    bcLedTrans = w->findChild<QFrame *>("bcLedTrans");

    recTimer_ = new QTimer(this);
    recTimer_->setSingleShot(true);
    connect(recTimer_, &QTimer::timeout, this, [this] { setLamp(bcLedRec, kRecOff); });
    transTimer_ = new QTimer(this);
    transTimer_->setSingleShot(true);
    connect(transTimer_, &QTimer::timeout, this, [this] { setLamp(bcLedTrans, kTransOff); });
    connect(&BCComPort, &QSerialPort::bytesWritten, this, [this](qint64) { flash(bcLedTrans, transTimer_, kTransOn); });

    if (cbBCCom)
        connect(cbBCCom, &QComboBox::currentTextChanged, this, &BarcodeReader::cbBCComChange);
    if (btnBCCom)
        connect(btnBCCom, &QPushButton::clicked, this, &BarcodeReader::btnBCComClick);
}

void BarcodeReader::activate()
{
    assembler_.clear();
    setLamp(bcLedRec, kRecOff);
    setLamp(bcLedTrans, kTransOff);
    if (btnBCCom)
        btnBCCom->setText(UiText(Txt::OpenPort));
    if (cbBCCom) {
        // The start-up choice COM1; the machine's own ports join the list when it is first opened
        // (SerialPortBox).
        const QSignalBlocker block(cbBCCom);
        cbBCCom->setCurrentIndex(0);
        BCComPort.setPortName(portNameFor(cbBCCom->currentText()));
    }
}

QString BarcodeReader::portNameFor(const QString &choice)
{
    const QString t = choice.trimmed();
#ifndef Q_OS_WIN
    static const QStringList kComNames = {"COM1", "COM2", "COM3", "COM4"};
    const int i = kComNames.indexOf(t.toUpper());
    if (i >= 0)
        return QStringLiteral("/dev/ttyS%1").arg(i);
#endif
    return t;
}

void BarcodeReader::cbBCComChange(const QString &text)
{
    // Takes effect at the next opening; an open port stays on its device.
    if (!BCComPort.isOpen())
        BCComPort.setPortName(portNameFor(text));
}

void BarcodeReader::btnBCComClick()
{
    if (BCComPort.isOpen()) {
        closePort();
        return;
    }
    if (cbBCCom)
        BCComPort.setPortName(portNameFor(cbBCCom->currentText()));
    if (!BCComPort.open(QIODevice::ReadOnly)) {
        const QString error = BCComPort.errorString();
        BCComPort.clearError();
        showError(error);
        return;
    }
    // The scanner gets no handshake: DTR and RTS stay inactive. A port that cannot set them
    // (a pseudo-terminal, some adapters) works the same.
    BCComPort.setDataTerminalReady(false);
    BCComPort.setRequestToSend(false);
    BCComPort.clearError();
    assembler_.clear();
    if (btnBCCom)
        btnBCCom->setText(UiText(Txt::ClosePort));
}

void BarcodeReader::closePort()
{
    if (BCComPort.isOpen())
        BCComPort.close();
    recTimer_->stop();
    transTimer_->stop();
    setLamp(bcLedRec, kRecOff);
    setLamp(bcLedTrans, kTransOff);
    if (btnBCCom)
        btnBCCom->setText(UiText(Txt::OpenPort));
}

void BarcodeReader::onPortError(QSerialPort::SerialPortError error)
{
    // Only a port that went away ends the reading; other conditions (an unsupported line
    // setting on a pseudo-terminal) leave the port working.
    if (error != QSerialPort::ResourceError || !BCComPort.isOpen())
        return;
    const QString text = BCComPort.errorString();
    closePort();
    BCComPort.clearError();
    showError(text);
}

void BarcodeReader::BCComPortRxChar()
{
    const QByteArray chunk = BCComPort.readAll();
    if (chunk.isEmpty())
        return;
    flash(bcLedRec, recTimer_, kRecOn);
    const std::optional<QByteArray> code = assembler_.addChunk(chunk);
    if (!code)
        return;
    // The box's length limit is for typing; a scanned code lands whole.
    TypingLimit::setText(articles_.edtBarkod, Cp1251::decode(*code));
}

void BarcodeReader::flash(QFrame *lamp, QTimer *timer, const QColor &on)
{
    setLamp(lamp, on);
    timer->start(kLampFlashMs);
}

void BarcodeReader::setLamp(QFrame *lamp, const QColor &color)
{
    if (!lamp)
        return;
    QPalette p = lamp->palette();
    p.setColor(QPalette::Window, color);
    lamp->setPalette(p);
}
