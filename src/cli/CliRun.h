#pragma once
// One run of quorvel-cli: checks what it can before connecting, connects, logs in if asked,
// runs the command and ends with the exit code.

#include "CliOptions.h"
#include "Device.h"
#include "DeviceLink.h"
#include "FrameLog.h"
#include "OpResult.h"
#include "TerminalProgress.h"
#include "TerminalView.h"

#include <QJsonValue>
#include <QObject>

#include <memory>

class DataSet;
class InterruptWatcher;
class ProfileCommand;
class Transport;

class CliRun : public QObject {
    Q_OBJECT
public:
    static constexpr int kExitOk = 0;
    static constexpr int kExitError = 2;
    static constexpr int kExitInterrupted = 130;

    explicit CliRun(const CliOptions &options, QObject *parent = nullptr);
    ~CliRun() override;

    // Starts the run; `finished` follows, from the event loop or at once.
    void start();

signals:
    void finished(int exitCode);

private:
    // What can be refused before anything is sent: the set, the file, the question, the log.
    bool prepare();
    bool connectDevice();
    void runCommand();
    void readSet();
    void writeSet();
    void dumpMemory();
    void onInterrupted();
    // Writes `bytes` to the -o file (atomically) or to standard output; false when it failed (said).
    bool writeOutput(const QByteArray &bytes);
    // `exitCode` overrides the result's usual code when it is not -1 (compare: 1 for differences).
    void finish(const OpResult &result, int exitCode = -1);
    void fail(const QString &message) { finish(OpResult::failed(OpResult::Kind::Invalid, message)); }

    CliOptions options_;
    TerminalView view_;
    DeviceLink link_{view_};
    Device device_{link_};
    std::unique_ptr<Transport> transport_;
    FrameLog log_;
    TerminalProgress progress_{false};
    InterruptWatcher *interrupts_ = nullptr;
    const DataSet *set_ = nullptr;
    // backup, compare, restore
    ProfileCommand *profile_ = nullptr;
    QJsonValue data_;
    bool interrupted_ = false;
    bool finished_ = false;
};
