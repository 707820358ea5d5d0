#pragma once
// quorvel-cli detect: looks for the fiscal printer on the serial ports and prints where it answered.

#include "CliOptions.h"
#include "FrameLog.h"
#include "PrinterProber.h"
#include "TerminalView.h"

#include <QObject>

class InterruptWatcher;

class CliDetect : public QObject {
    Q_OBJECT
public:
    static constexpr int kExitNotFound = 1;

    explicit CliDetect(const CliOptions &options, QObject *parent = nullptr);

    // Starts probing; `finished` follows from the event loop (or at once when nothing can be probed).
    void start();

signals:
    void finished(int exitCode);

private:
    void onPortDone(const ProbeResult &result);
    void onFinished();

    CliOptions options_;
    TerminalView view_;
    PrinterProber prober_;
    FrameLog log_;
    InterruptWatcher *interrupts_ = nullptr;
    bool logging_ = false;
    bool interrupted_ = false;
    int found_ = 0;
};
