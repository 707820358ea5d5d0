#include "CliDetect.h"

#include "CliRun.h"
#include "DeviceLink.h"
#include "InterruptWatcher.h"
#include "TerminalProgress.h"
#include "ToolText.h"

#include <cstdio>

namespace {
void out(const QString &line)
{
    const QByteArray bytes = (line + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}
} // namespace

CliDetect::CliDetect(const CliOptions &options, QObject *parent) : QObject(parent), options_(options)
{
    if (options_.timeoutMs > 0)
        prober_.setTimeout(options_.timeoutMs);
    interrupts_ = new InterruptWatcher(this);
    connect(interrupts_, &InterruptWatcher::interrupted, this, [this] {
        interrupted_ = true;
        prober_.abort();
    });
    connect(&prober_, &PrinterProber::probing, this, [this](const QString &port, int n, int total, DeviceLink &link) {
        if (logging_)
            log_.attach(link);
        if (!options_.quiet && TerminalProgress::stderrIsTerminal())
            view_.say(ToolText::findPrinterProbing(port, n, total));
    });
    connect(&prober_, &PrinterProber::portDone, this, &CliDetect::onPortDone);
    connect(&prober_, &PrinterProber::finished, this, &CliDetect::onFinished);
}

void CliDetect::start()
{
    if (!options_.logPath.isEmpty()) {
        QString error;
        if (!log_.open(options_.logPath, error)) {
            view_.say(ToolText::cliFileUnwritable(options_.logPath, error));
            emit finished(CliRun::kExitError);
            return;
        }
        logging_ = true;
    }
    QStringList ports;
    for (const QString &arg : options_.args)
        ports << (arg.startsWith(QStringLiteral("serial:")) ? arg.mid(7) : arg);
    if (ports.isEmpty())
        ports = PrinterProber::machinePorts();
    if (ports.isEmpty()) {
        view_.say(ToolText::cliDetectNoPorts());
        emit finished(kExitNotFound);
        return;
    }
    prober_.start(ports);
}

void CliDetect::onPortDone(const ProbeResult &result)
{
    if (result.found()) {
        ++found_;
        // The --device argument that reaches this printer, then what it said.
        out(QStringLiteral("serial:%1\t%2").arg(result.location, result.summary()));
    } else if (!options_.quiet) {
        view_.say(result.location + QStringLiteral(": ") + result.summary());
    }
}

void CliDetect::onFinished()
{
    log_.flush();
    if (interrupted_) {
        view_.say(ToolText::cliInterrupted());
        emit finished(CliRun::kExitInterrupted);
        return;
    }
    if (found_ == 0) {
        view_.say(ToolText::cliDetectNone(int(prober_.results().size())));
        emit finished(kExitNotFound);
        return;
    }
    emit finished(CliRun::kExitOk);
}
