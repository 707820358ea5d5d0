#include "DataSet.h"
#include "DataSetResult.h"

#include "Device.h"
#include "DeviceLink.h"
#include "JsonFields.h"
#include "NetworkOps.h"
#include "ParametersOps.h"
#include "ReplyWaiter.h"
#include "ToolText.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTimer>

#include <array>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

// One request after another: step(i, next) sends request i and calls next(result) when it ended;
// the first result that is not Done ends the run, as does the last one.
using Step = std::function<void(int index, std::function<void(const OpResult &)> next)>;
void runSteps(int count, Step step, const DataSet::Progress &progress, std::function<void(const OpResult &)> done)
{
    struct Run {
        int count;
        Step step;
        DataSet::Progress progress;
        std::function<void(const OpResult &)> done;
        void go(const std::shared_ptr<Run> &self, int index)
        {
            if (index >= count) {
                done(OpResult::done());
                return;
            }
            step(index, [self, index](const OpResult &result) {
                if (!result.ok()) {
                    self->done(result);
                    return;
                }
                if (self->progress)
                    self->progress(index + 1, self->count);
                self->go(self, index + 1);
            });
        }
    };
    auto run = std::make_shared<Run>(Run{count, std::move(step), progress, std::move(done)});
    run->go(run, 0);
}

// The network settings: the device's address, subnet mask and gateway as dotted text, and its TCP port.
class NetworkSet : public DataSet {
public:
    static constexpr std::array<const char *, 3> kAddressKeys = {"address", "subnetMask", "gateway"};

    QString name() const override { return QStringLiteral("network"); }
    int readFrames() const override { return 4; }
    int writeFrames() const override { return 4; }

    void read(Device &device, const Progress &progress, ReadDone done) const override
    {
        auto data = std::make_shared<QJsonObject>();
        NetworkOps &ops = device.network();
        auto conns = std::make_shared<std::vector<QMetaObject::Connection>>();
        // Each reply is filed under the setting it says it is about.
        conns->push_back(QObject::connect(&ops, &NetworkOps::addressReceived, &device,
                                          [data](uint8_t selector, const NetworkOps::Address &bytes) {
                                              if (selector < kAddressKeys.size())
                                                  (*data)[kAddressKeys[selector]] = NetworkOps::dotted(bytes);
                                          }));
        conns->push_back(QObject::connect(&ops, &NetworkOps::portReceived, &device,
                                          [data](uint16_t port) { (*data)["tcpPort"] = int(port); }));
        runSteps(
            4,
            [&device](int i, std::function<void(const OpResult &)> next) {
                ReplyWaiter::run(
                    device.link(), NetworkOps::kReadCode, [&device, i] { return device.network().read(uint8_t(i)); },
                    std::move(next), device.link().replyTimer().interval());
            },
            progress,
            [data, conns, done = std::move(done)](const OpResult &result) {
                for (const auto &c : *conns)
                    QObject::disconnect(c);
                // A device that answered with other settings than the ones asked for leaves gaps.
                if (result.ok() && data->size() != 4) {
                    done(OpResult::failed(OpResult::Kind::DeviceError,
                                          QStringLiteral("network: %1").arg(ToolText::JsonMissing())),
                         QJsonValue());
                    return;
                }
                done(result, result.ok() ? QJsonValue(*data) : QJsonValue());
            });
    }

    // Reads the JSON form: the three addresses and the port; false with `error` when it does not fit.
    bool parse(const QJsonValue &json, std::array<NetworkOps::Address, 3> &addresses, uint16_t &port,
               QString &error) const
    {
        JsonFields f(json, name());
        for (size_t i = 0; i < kAddressKeys.size(); ++i) {
            const QString key = QString::fromLatin1(kAddressKeys[i]);
            const QString text = f.string(key);
            if (f.ok() && !NetworkOps::fromDotted(text, addresses[i]))
                f.fail(key, ToolText::JsonExpectedAddress());
        }
        port = uint16_t(f.integer(QStringLiteral("tcpPort"), 0, 65535));
        error = f.error();
        return f.ok();
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        std::array<NetworkOps::Address, 3> addresses{};
        uint16_t port = 0;
        return parse(json, addresses, port, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &progress, WriteDone done) const override
    {
        std::array<NetworkOps::Address, 3> addresses{};
        uint16_t port = 0;
        QString error;
        if (!parse(json, addresses, port, error))
            return later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, error));
        runSteps(
            4,
            [&device, addresses, port](int i, std::function<void(const OpResult &)> next) {
                ReplyWaiter::run(
                    device.link(), ReplyWaiter::kAnyReply,
                    [&device, addresses, port, i] {
                        return i < 3 ? device.network().writeAddress(uint8_t(i), addresses[size_t(i)])
                                     : device.network().writePort(port);
                    },
                    std::move(next), device.link().replyTimer().interval());
            },
            progress, [done = std::move(done)](const OpResult &result) { done(result); });
    }
};

// The numbered parameters 0..255 and their 16-bit values; a write may list only some of them.
class ParametersSet : public DataSet {
public:
    QString name() const override { return QStringLiteral("parameters"); }
    int readFrames() const override { return ParametersOps::kCount; }
    int writeFrames() const override { return ParametersOps::kCount; }

    void read(Device &device, const Progress &progress, ReadDone done) const override
    {
        auto values = std::make_shared<std::array<std::optional<int>, ParametersOps::kCount>>();
        auto conn = std::make_shared<QMetaObject::Connection>(
            QObject::connect(&device.parameters(), &ParametersOps::received, &device,
                             [values](uint8_t number, uint16_t value) { (*values)[number] = value; }));
        runSteps(
            ParametersOps::kCount,
            [&device](int i, std::function<void(const OpResult &)> next) {
                ReplyWaiter::run(
                    device.link(), ParametersOps::kReadCode,
                    [&device, i] { return device.parameters().read(uint8_t(i)); }, std::move(next),
                    device.link().replyTimer().interval());
            },
            progress,
            [values, conn, done = std::move(done)](const OpResult &result) {
                QObject::disconnect(*conn);
                if (!result.ok()) {
                    done(result, QJsonValue());
                    return;
                }
                QJsonArray list;
                for (int n = 0; n < ParametersOps::kCount; ++n) {
                    // Each reply names its parameter: one that never came back is a gap.
                    if (!(*values)[size_t(n)]) {
                        done(OpResult::failed(OpResult::Kind::DeviceError,
                                              QStringLiteral("parameters[%1]: %2").arg(n).arg(ToolText::JsonMissing())),
                             QJsonValue());
                        return;
                    }
                    list.append(QJsonObject{{"number", n}, {"value", *(*values)[size_t(n)]}});
                }
                done(result, QJsonObject{{"parameters", list}});
            });
    }

    // Reads the JSON form: the (number, value) pairs to write, in order; false with `error` when it
    // does not fit.
    bool parse(const QJsonValue &json, std::vector<std::pair<uint8_t, uint16_t>> &writes, QString &error) const
    {
        JsonFields f(json, name());
        const QJsonArray list = f.array(QStringLiteral("parameters"), ParametersOps::kCount);
        if (!f.ok()) {
            error = f.error();
            return false;
        }
        std::array<bool, ParametersOps::kCount> seen{};
        for (int i = 0; i < list.size(); ++i) {
            JsonFields p(list.at(i), QStringLiteral("parameters[%1]").arg(i));
            const auto number = int(p.integer(QStringLiteral("number"), 0, ParametersOps::kCount - 1));
            const auto value = uint16_t(p.integer(QStringLiteral("value"), 0, 65535));
            if (p.ok() && seen[size_t(number)])
                p.fail(QStringLiteral("number"), ToolText::JsonParameterTwice(number));
            if (!p.ok()) {
                error = p.error();
                return false;
            }
            seen[size_t(number)] = true;
            writes.emplace_back(uint8_t(number), value);
        }
        return true;
    }

    bool check(const QJsonValue &json, QString &error) const override
    {
        std::vector<std::pair<uint8_t, uint16_t>> writes;
        return parse(json, writes, error);
    }

    void write(Device &device, const QJsonValue &json, const Progress &progress, WriteDone done) const override
    {
        std::vector<std::pair<uint8_t, uint16_t>> writes;
        QString error;
        if (!parse(json, writes, error))
            return later(device, std::move(done), OpResult::failed(OpResult::Kind::Invalid, error));
        runSteps(
            int(writes.size()),
            [&device, writes](int i, std::function<void(const OpResult &)> next) {
                const uint8_t number = writes[size_t(i)].first;
                const uint16_t value = writes[size_t(i)].second;
                ReplyWaiter::run(
                    device.link(), ReplyWaiter::kAnyReply,
                    [&device, number, value] { return device.parameters().write(number, value); }, std::move(next),
                    device.link().replyTimer().interval());
            },
            progress,
            [&device, done = std::move(done)](const OpResult &result) mutable {
                // An empty list sends nothing; its end still comes from the event loop.
                later(device, std::move(done), result);
            });
    }
};

} // namespace

void addMaintenanceDataSets(std::vector<const DataSet *> &sets)
{
    static const NetworkSet network;
    static const ParametersSet parameters;
    sets.push_back(&network);
    sets.push_back(&parameters);
}
