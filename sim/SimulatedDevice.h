#pragma once
// A simulated fiscal printer: consumes request bytes and answers from its own state, as a device would.

#include "SimFrameReader.h"

#include <QByteArray>
#include <QHash>
#include <QJsonObject>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <vector>

class SimulatedDevice;

// One complete request taken off the wire.
struct SimRequest {
    bool longFrame = false;
    uint8_t code = 0;
    QByteArray data;    // the data bytes only (short: positions 4.., long: positions 10..)
    QByteArray factory; // long frames: the three factory-number bytes (positions 4..6)
    QByteArray frame;   // the whole request as it came off the wire
    uint8_t byte(int i) const { return i >= 0 && i < data.size() ? uint8_t(data.at(i)) : 0; }
};

// One group of commands with its own part of the device's state.
class SimModule {
public:
    virtual ~SimModule() = default;
    // Key of this module's state in the saved JSON.
    virtual QString name() const = 0;
    // Answers a request that belongs to this module; returns false when it is not one of its commands.
    virtual bool handle(SimulatedDevice &device, const SimRequest &request, QByteArray &reply) = 0;
    virtual QJsonObject save() const { return {}; }
    virtual void load(const QJsonObject &) {}
};

class SimulatedDevice {
public:
    SimulatedDevice();
    ~SimulatedDevice();

    // Feeds request bytes; returns every reply byte produced by the complete requests among them.
    QByteArray feed(const QByteArray &bytes);
    // The same, one entry per complete request (a server that paces or drops replies needs them apart).
    QList<QByteArray> feedEach(const QByteArray &bytes);
    // Answers one complete request (no framing): the reply bytes.
    QByteArray answer(const SimRequest &request);

    bool serviceMode() const { return serviceMode_; }
    void setServiceMode(bool on) { serviceMode_ = on; }
    bool zeroed() const { return zeroed_; }
    void setZeroed(bool on) { zeroed_ = on; }
    // A status word reported by the self-tests (0 = all pass).
    uint32_t selfTestStatus() const { return selfTestStatus_; }
    void setSelfTestStatus(uint32_t word) { selfTestStatus_ = word; }
    // When not 0, every data command is refused with this error code.
    int forcedError() const { return forcedError_; }
    void setForcedError(int code) { forcedError_ = code; }

    // The factory number the device answers long frames with (three packed bytes).
    QByteArray factoryBytes() const { return factoryBytes_; }

    // Number of requests answered so far; a server saves the state when it has changed.
    quint64 requestCount() const { return requestCount_; }

    template <typename T> T *module() const
    {
        for (const auto &m : modules_)
            if (auto *t = dynamic_cast<T *>(m.get()))
                return t;
        return nullptr;
    }

    QJsonObject saveState() const;
    void loadState(const QJsonObject &state);
    bool saveToFile(const QString &path, QString *error = nullptr) const;
    bool loadFromFile(const QString &path, QString *error = nullptr);

    // Reply builders.
    static QByteArray shortReply(uint8_t code, const QByteArray &data = {});
    // Error report 0xF5 with the model identifier and the error code.
    static QByteArray errorReply(uint8_t errorCode);
    // Plain acknowledgement of a successful write: a code the tool has no handler for.
    static QByteArray ack();
    static constexpr uint8_t kAckCode = 0x06;
    QByteArray longReply(uint8_t command, const QByteArray &data) const;

private:
    SimFrameReader reader_;
    quint64 requestCount_ = 0;
    bool serviceMode_ = true;
    bool zeroed_ = true;
    uint32_t selfTestStatus_ = 0;
    int forcedError_ = 0;
    QByteArray factoryBytes_ = QByteArray("\x00\x00\x00", 3);
    std::vector<std::unique_ptr<SimModule>> modules_;
};
