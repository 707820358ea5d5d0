#include "FuzzEntries.h"

#include "DeviceLink.h"
#include "SimulatedDevice.h"
#include "TDialog.h"
#include "TfMain.h"
#include "Transport.h"

#include <QApplication>

#include <memory>

namespace {
// A transport that accepts every write and forgets it.
class SinkTransport : public Transport {
public:
    bool isOpen() const override { return true; }
    bool write(const QByteArray &) override { return true; }
    QString errorString() const override { return {}; }
    void close() override {}
    bool recogniseEachByte() const override { return eachByte; }
    bool eachByte = true;
};

QApplication &app()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication *a = qobject_cast<QApplication *>(QCoreApplication::instance())
                                 ? qobject_cast<QApplication *>(QCoreApplication::instance())
                                 : new QApplication(argc, argv);
    return *a;
}

struct LinkRig {
    LinkRig()
    {
        app();
        window = std::make_unique<TfMain>();
        window->FormActivate();
        window->dialog().setResponder([](TDialog &) { return 0; });
        window->link().setTransport(&sink);
    }
    SinkTransport sink;
    std::unique_ptr<TfMain> window;
};
} // namespace

int FuzzLinkInput(const uint8_t *data, size_t size)
{
    static LinkRig rig;
    if (size == 0)
        return 0;
    DeviceLink &link = rig.window->link();
    link.clearRx();
    link.setCancelFlag(false);
    rig.sink.eachByte = (data[0] & 1) != 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    // Deliver in chunks whose sizes come from the input itself, as a serial port would.
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const qsizetype n = rig.sink.eachByte
                                ? bytes.size()
                                : std::min<qsizetype>(bytes.size() - pos, 1 + (uint8_t(bytes.at(pos)) % 64));
        link.receiveBytes(bytes.mid(pos, n), rig.sink.eachByte);
        pos += n;
    }
    if (link.rxCount() < 0 || link.rxCount() > DeviceLink::kBufferSize)
        __builtin_trap();
    return 0;
}

int FuzzSimInput(const uint8_t *data, size_t size)
{
    SimulatedDevice device;
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    device.feed(bytes.left(bytes.size() / 2));
    device.feed(bytes.mid(bytes.size() / 2));
    return 0;
}
