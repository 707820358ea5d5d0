#include "SimulatedDevice.h"

#include "SimArticles.h"
#include "SimCatalogue.h"
#include "SimFiscal.h"
#include "SimMaintenance.h"

#include <QFile>
#include <QJsonDocument>
#include <QSaveFile>

namespace {
constexpr uint8_t kStartShort = 0x5F;
constexpr uint8_t kStartLong = 0xAA;
constexpr uint8_t kCr = 0x0D;
constexpr uint8_t kErrorNoServiceJumper = 17;
} // namespace

SimulatedDevice::SimulatedDevice()
{
    modules_.push_back(std::make_unique<SimFiscal>());
    modules_.push_back(std::make_unique<SimCatalogue>());
    modules_.push_back(std::make_unique<SimArticles>());
    modules_.push_back(std::make_unique<SimMaintenance>());
}

SimulatedDevice::~SimulatedDevice() = default;

QByteArray SimulatedDevice::shortReply(uint8_t code, const QByteArray &data)
{
    QByteArray r;
    r.reserve(data.size() + 4);
    r.append(char(kStartShort)).append(char(code));
    r.append(char(data.size() >= 256 ? 255 : data.size()));
    r.append(data);
    r.append(char(kCr));
    return r;
}

QByteArray SimulatedDevice::errorReply(uint8_t errorCode)
{
    return shortReply(0xF5, QByteArray("\x04\x01", 2) + char(errorCode));
}

QByteArray SimulatedDevice::ack()
{
    return shortReply(kAckCode);
}

QByteArray SimulatedDevice::longReply(uint8_t command, const QByteArray &data) const
{
    QByteArray f;
    f.append(char(kStartLong)).append(char(0x04)).append(char(0x01));
    f.append(factoryBytes_);
    f.append(char(0x01)).append(char(command)).append(char(data.size() & 0xFF));
    f.append(data);
    uint8_t sum = 0, x = 0;
    for (char c : f) {
        sum = uint8_t(sum + uint8_t(c));
        x = uint8_t(x ^ uint8_t(c));
    }
    f.append(char(sum)).append(char(x)).append(char(kCr));
    return f;
}

QByteArray SimulatedDevice::feed(const QByteArray &bytes)
{
    QByteArray out;
    for (const QByteArray &reply : feedEach(bytes))
        out.append(reply);
    return out;
}

QList<QByteArray> SimulatedDevice::feedEach(const QByteArray &bytes)
{
    reader_.append(bytes);
    QList<QByteArray> out;
    SimRequest request;
    while (reader_.take(request))
        out.append(answer(request));
    return out;
}

QByteArray SimulatedDevice::answer(const SimRequest &request)
{
    ++requestCount_;
    if (request.longFrame) {
        if (request.factory.size() == 3)
            factoryBytes_ = request.factory;
        if (request.code == 0x01) {
            serviceMode_ = true;
            return zeroed_ ? shortReply(0x00, QByteArray("\x04\x01", 2)) : shortReply(0xFD, QByteArray("\x04\x01", 2));
        }
        if (request.code >= 0x19 && request.code <= 0x1C) {
            QByteArray data(6, '\0');
            data[0] = char(selfTestStatus_ == 0 ? 1 : 0);
            data[2] = char(selfTestStatus_ >> 24);
            data[3] = char(selfTestStatus_ >> 16);
            data[4] = char(selfTestStatus_ >> 8);
            data[5] = char(selfTestStatus_);
            return longReply(0x20, data);
        }
        QByteArray data(6, '\0');
        data[4] = 0x01; // bit 8: wrong command
        return longReply(0x20, data);
    }
    if (request.code == 0x10) {
        serviceMode_ = false;
        return shortReply(0x10, QByteArray("\x04\x01", 2));
    }
    if (!serviceMode_)
        return errorReply(kErrorNoServiceJumper);
    if (forcedError_ != 0)
        return errorReply(uint8_t(forcedError_));
    QByteArray reply;
    for (const auto &m : modules_)
        if (m->handle(*this, request, reply))
            return reply;
    return errorReply(16); // unknown command: wrong parameter
}

QJsonObject SimulatedDevice::saveState() const
{
    QJsonObject o;
    o["serviceMode"] = serviceMode_;
    o["zeroed"] = zeroed_;
    for (const auto &m : modules_)
        o[m->name()] = m->save();
    return o;
}

void SimulatedDevice::loadState(const QJsonObject &state)
{
    if (state.contains("serviceMode"))
        serviceMode_ = state["serviceMode"].toBool();
    if (state.contains("zeroed"))
        zeroed_ = state["zeroed"].toBool();
    for (const auto &m : modules_)
        if (state.contains(m->name()))
            m->load(state[m->name()].toObject());
}

bool SimulatedDevice::saveToFile(const QString &path, QString *error) const
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(saveState()).toJson()) < 0 || !f.commit()) {
        if (error)
            *error = f.errorString();
        return false;
    }
    return true;
}

bool SimulatedDevice::loadFromFile(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    QJsonParseError pe;
    const QJsonDocument doc = QJsonDocument::fromJson(f.readAll(), &pe);
    if (!doc.isObject()) {
        if (error)
            *error = pe.errorString();
        return false;
    }
    loadState(doc.object());
    return true;
}
