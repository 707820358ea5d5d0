#include "SimMaintenance.h"

#include "SimFiscal.h"

#include <QJsonArray>

namespace {
constexpr uint8_t kReadSetting = 0xF6;
constexpr uint8_t kWriteSetting = 0xF8;
constexpr uint8_t kReadParameter = 0xF7;
constexpr uint8_t kWriteParameter = 0xF9;
constexpr uint8_t kHourForward = 0x67;
constexpr uint8_t kHourBack = 0x69;
constexpr uint8_t kReadFmBlock = 0xC0;
constexpr uint8_t kWrongParameter = 16;
constexpr int kPortSelector = 3;

QJsonArray bytesToJson(const std::array<uint8_t, 4> &b)
{
    QJsonArray a;
    for (uint8_t v : b)
        a.append(int(v));
    return a;
}
} // namespace

SimMaintenance::SimMaintenance()
{
    // A device on 172.16.1.199/255.255.0.0 behind 172.16.1.1, listening on port 1024. The first byte
    // on the wire is the last part of the dotted address.
    settings_[0] = {199, 1, 16, 172};
    settings_[1] = {0, 0, 255, 255};
    settings_[2] = {1, 1, 16, 172};
    fiscalMemory_ = defaultFiscalMemory();
}

QByteArray SimMaintenance::defaultFiscalMemory()
{
    // Every byte value occurs, also the frame bytes 0x0D, 0x5F and 0xAA, and no block repeats another.
    // Made once and shared: every new device starts from the same bytes.
    static const QByteArray memory = [] {
        QByteArray m(kFmSize, '\0');
        uint32_t x = 0x1234567u;
        for (int i = 0; i < kFmSize; ++i) {
            x = x * 1103515245u + 12345u;
            m[i] = char(((x >> 16) ^ uint32_t(i / kFmBlockSize)) & 0xFF);
        }
        return m;
    }();
    return memory;
}

std::array<uint8_t, 4> SimMaintenance::setting(int selector) const
{
    if (selector < 0 || selector >= kSettings)
        return {};
    return settings_[size_t(selector)];
}

void SimMaintenance::setSetting(int selector, const std::array<uint8_t, 4> &bytes)
{
    if (selector >= 0 && selector < kSettings)
        settings_[size_t(selector)] = bytes;
}

uint16_t SimMaintenance::parameter(int number) const
{
    return number >= 0 && number < kParameters ? parameters_[size_t(number)] : 0;
}

void SimMaintenance::setParameter(int number, uint16_t value)
{
    if (number >= 0 && number < kParameters)
        parameters_[size_t(number)] = value;
}

void SimMaintenance::setFiscalMemory(const QByteArray &content)
{
    fiscalMemory_ = content.left(kFmSize);
    if (fiscalMemory_.size() < kFmSize)
        fiscalMemory_.append(QByteArray(kFmSize - fiscalMemory_.size(), char(0xFF)));
}

QByteArray SimMaintenance::readSetting(const SimRequest &request) const
{
    const int sel = request.byte(0);
    QByteArray data(1, char(sel));
    if (sel == kPortSelector) {
        data.append(char(tcpPort_ & 0xFF)).append(char(tcpPort_ >> 8));
    } else {
        for (uint8_t b : settings_[size_t(sel)])
            data.append(char(b));
    }
    return SimulatedDevice::shortReply(kReadSetting, data);
}

QByteArray SimMaintenance::readBlock(const SimRequest &request) const
{
    const int block = request.byte(0) | (request.byte(1) << 8);
    QByteArray data;
    data.append(char(block & 0xFF)).append(char(block >> 8));
    data.append(fiscalMemory_.mid(qsizetype(block) * kFmBlockSize, kFmBlockSize));
    return SimulatedDevice::shortReply(kReadFmBlock, data);
}

bool SimMaintenance::handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply)
{
    if (request.longFrame)
        return false;
    const auto &d = request.data;
    switch (request.code) {
    case kReadSetting:
        reply = d.size() == 1 && request.byte(0) <= kPortSelector ? readSetting(request)
                                                                  : SimulatedDevice::errorReply(kWrongParameter);
        return true;
    case kWriteSetting: {
        const int sel = request.byte(0);
        if (d.size() != 5 || sel > kPortSelector) {
            reply = SimulatedDevice::errorReply(kWrongParameter);
            return true;
        }
        if (sel == kPortSelector)
            tcpPort_ = uint16_t(request.byte(1) | (request.byte(2) << 8));
        else
            settings_[size_t(sel)] = {request.byte(1), request.byte(2), request.byte(3), request.byte(4)};
        reply = SimulatedDevice::ack();
        return true;
    }
    case kReadParameter:
        if (d.size() != 1) {
            reply = SimulatedDevice::errorReply(kWrongParameter);
            return true;
        }
        reply = SimulatedDevice::shortReply(kReadParameter, QByteArray(1, char(request.byte(0))) +
                                                                char(parameters_[request.byte(0)] & 0xFF) +
                                                                char(parameters_[request.byte(0)] >> 8));
        return true;
    case kWriteParameter:
        if (d.size() != 3) {
            reply = SimulatedDevice::errorReply(kWrongParameter);
            return true;
        }
        parameters_[request.byte(0)] = uint16_t(request.byte(1) | (request.byte(2) << 8));
        reply = SimulatedDevice::ack();
        return true;
    case kHourForward:
    case kHourBack: {
        const int hours = request.code == kHourForward ? 1 : -1;
        clockShift_ += hours;
        // The device's own clock moves with it, as the clock read shows.
        if (SimFiscal *fiscal = device.module<SimFiscal>())
            fiscal->shiftClock(qint64(hours) * 3600);
        reply = SimulatedDevice::ack();
        return true;
    }
    case kReadFmBlock: {
        const int block = request.byte(0) | (request.byte(1) << 8);
        reply = d.size() == 2 && block < kFmBlocks ? readBlock(request) : SimulatedDevice::errorReply(kWrongParameter);
        return true;
    }
    default:
        return false;
    }
}

QJsonObject SimMaintenance::save() const
{
    QJsonObject o;
    o["address"] = bytesToJson(settings_[0]);
    o["subnetMask"] = bytesToJson(settings_[1]);
    o["gateway"] = bytesToJson(settings_[2]);
    o["tcpPort"] = int(tcpPort_);
    QJsonArray params;
    for (uint16_t v : parameters_)
        params.append(int(v));
    o["parameters"] = params;
    o["clockShiftHours"] = clockShift_;
    // The built-in fiscal memory is the same every run; only a replaced one needs saving.
    if (fiscalMemory_ != defaultFiscalMemory())
        o["fiscalMemory"] = QString::fromLatin1(fiscalMemory_.toBase64());
    return o;
}

void SimMaintenance::load(const QJsonObject &state)
{
    const char *keys[kSettings] = {"address", "subnetMask", "gateway"};
    for (int s = 0; s < kSettings; ++s) {
        const QJsonArray a = state[keys[s]].toArray();
        if (a.size() != 4)
            continue;
        for (int i = 0; i < 4; ++i)
            settings_[size_t(s)][size_t(i)] = uint8_t(a.at(i).toInt() & 0xFF);
    }
    if (state.contains("tcpPort"))
        tcpPort_ = uint16_t(state["tcpPort"].toInt() & 0xFFFF);
    const QJsonArray params = state["parameters"].toArray();
    for (int i = 0; i < kParameters && i < params.size(); ++i)
        parameters_[size_t(i)] = uint16_t(params.at(i).toInt() & 0xFFFF);
    if (state.contains("clockShiftHours"))
        clockShift_ = state["clockShiftHours"].toInt();
    if (state.contains("fiscalMemory"))
        setFiscalMemory(QByteArray::fromBase64(state["fiscalMemory"].toString().toLatin1()));
}
