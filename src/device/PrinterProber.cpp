#include "PrinterProber.h"

#include "Cp1251.h"
#include "DeviceErrors.h"
#include "DeviceLink.h"
#include "LinkView.h"
#include "SerialTransport.h"
#include "UiText.h"

#include <QSerialPortInfo>

namespace {
// The probe's link shows nothing and asks nothing: what the port said is in the result.
class QuietView : public LinkView {
public:
    void setStatusText(const QString &) override {}
    void setProgress(int) override {}
    int showDialog(const QString &, const QString &, bool) override { return 0; }
    void setControlsEnabled(const QStringList &, bool) override {}
    void setCancelButtonVisible(bool) override {}
    void tcpClosedByLink() override {}
};

constexpr uint8_t kNoServiceJumper = 17;

uint8_t at(const QByteArray &frame, int i)
{
    return i < frame.size() ? uint8_t(frame.at(i)) : 0;
}

QString hexPair(uint8_t a, uint8_t b)
{
    return QStringLiteral("%1 %2").arg(a, 2, 16, QLatin1Char('0')).arg(b, 2, 16, QLatin1Char('0'));
}
} // namespace

struct PrinterProber::Current {
    ProbeResult result;
    QuietView view;
    DeviceLink link{view};
    SerialTransport transport;
    bool replied = false;
};

PrinterProber::PrinterProber(QObject *parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &PrinterProber::endPort);
}

PrinterProber::~PrinterProber()
{
    delete current_;
}

QStringList PrinterProber::machinePorts()
{
    QStringList ports;
    QStringList locations;
    const auto add = [&](const QString &name, const QString &location) {
        if (locations.contains(location))
            return;
        locations << location;
        ports << name;
    };
    for (int i = 1; i <= 4; ++i) {
        const QString com = QStringLiteral("COM%1").arg(i);
        add(com, SerialTransport::systemLocation(com));
    }
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        add(info.systemLocation(), info.systemLocation());
    return ports;
}

void PrinterProber::start(const QStringList &ports)
{
    if (running_)
        return;
    ports_ = ports;
    index_ = 0;
    results_.clear();
    aborted_ = false;
    running_ = true;
    QTimer::singleShot(0, this, &PrinterProber::next);
}

void PrinterProber::abort()
{
    if (!running_)
        return;
    aborted_ = true;
    if (current_)
        endPort();
}

void PrinterProber::next()
{
    if (aborted_ || index_ >= ports_.size()) {
        if (running_) {
            running_ = false;
            emit finished();
        }
        return;
    }
    const QString port = ports_[index_++];
    current_ = new Current;
    Current &c = *current_;
    c.result.port = port;
    c.result.location = SerialTransport::systemLocation(port);
    c.result.waitedMs = timeoutMs_;
    c.transport.setPortName(port);
    c.link.setSerialTransport(true);
    emit probing(port, index_, int(ports_.size()), c.link);
    if (!c.transport.open()) {
        c.result.outcome = ProbeResult::Outcome::NotOpened;
        c.result.error = c.transport.errorString();
        endPort();
        return;
    }
    c.link.setTransport(&c.transport);
    connect(&c.link, &DeviceLink::frameRecognised, this, [this](const QByteArray &frame) {
        if (!current_ || current_->replied)
            return;
        current_->replied = true;
        current_->result.reply = frame;
        // Closed once the link has finished with the reply.
        timer_.start(0);
    });
    connect(&c.link, &DeviceLink::bytesDiscarded, this, [this](const QByteArray &bytes, DeviceLink::Discard) {
        if (current_)
            current_->result.discardedBytes += int(bytes.size());
    });
    if (!c.link.SendFrame(kProbeCode, 4)) {
        c.result.outcome = ProbeResult::Outcome::NotOpened;
        c.result.error = c.transport.errorString();
        endPort();
        return;
    }
    timer_.start(timeoutMs_);
}

void PrinterProber::endPort()
{
    timer_.stop();
    if (!current_)
        return;
    Current *c = current_;
    current_ = nullptr;
    // Bytes still collected without forming a reply count as such.
    const int partial = c->link.rxCount();
    c->transport.close();
    ProbeResult result = c->result;
    delete c;
    if (!result.reply.isEmpty()) {
        result.outcome = ProbeResult::Outcome::Found;
        decodeReply(result);
    } else if (result.outcome != ProbeResult::Outcome::NotOpened) {
        result.discardedBytes += partial;
        result.outcome = result.discardedBytes > 0 ? ProbeResult::Outcome::Garbage : ProbeResult::Outcome::Silent;
    }
    results_.append(result);
    emit portDone(result);
    QTimer::singleShot(0, this, &PrinterProber::next);
}

void PrinterProber::decodeReply(ProbeResult &r)
{
    using Mode = ProbeResult::ServiceMode;
    const QByteArray &f = r.reply;
    if (at(f, 0) == 0xAA) {
        // Long replies carry the model identifier right after the start byte.
        r.model = hexPair(at(f, 1), at(f, 2));
        r.ourModel = at(f, 1) == 0x04 && at(f, 2) == 0x01;
        return;
    }
    const uint8_t code = at(f, 1);
    const bool withModel = f.size() >= 6 && (code == 0x00 || code == 0x10 || code == 0xF5 || code == 0xFD);
    if (withModel) {
        r.model = hexPair(at(f, 3), at(f, 4));
        r.ourModel = at(f, 3) == 0x04 && at(f, 4) == 0x01;
    }
    switch (code) {
    case kProbeCode:
        // The fiscal data answer only in service mode; the first field is the register's serial number.
        r.serviceMode = Mode::On;
        if (f.size() >= 23) {
            const QByteArray field = f.mid(3, 19);
            const qsizetype zero = field.indexOf('\0');
            r.serialNumber = Cp1251::decode(zero < 0 ? field : field.left(zero)).trimmed();
        }
        break;
    case 0x00:
        r.serviceMode = Mode::On;
        break;
    case 0x10:
        r.serviceMode = Mode::Off;
        break;
    case 0xFD:
        r.serviceMode = Mode::On;
        r.refusal = r.ourModel ? UiText(Txt::NotZeroed) : UiText(Txt::WrongModel);
        break;
    case 0xF5:
        if (f.size() >= 7) {
            r.refusal = r.ourModel ? DeviceErrorCodeText(at(f, 5)) : UiText(Txt::WrongModel);
            // Without the service jumper the device refuses every service request.
            if (r.ourModel && at(f, 5) == kNoServiceJumper)
                r.serviceMode = Mode::Off;
        }
        break;
    default:
        break;
    }
}
