#pragma once
// One quorvel-devsim process for end-to-end tests: started with --trace, its first output line
// says where it serves (a TCP address or a pseudo-terminal path). Its output goes to a file, so a
// test that waits on another process never stalls the simulator on a full pipe.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

class DevsimProcess {
public:
    explicit DevsimProcess(const QStringList &args)
    {
        out.setFileName(dir.filePath(QStringLiteral("devsim.out")));
        proc.setStandardOutputFile(out.fileName());
        proc.setProgram(QStringLiteral(QUORVEL_DEVSIM_PATH));
        proc.setArguments(args + QStringList{QStringLiteral("--trace")});
        proc.start();
        started = proc.waitForStarted(5000) &&
                  waitFor([this] { return readLines(), !lines.isEmpty() || proc.state() == QProcess::NotRunning; }) &&
                  !lines.isEmpty();
    }
    ~DevsimProcess()
    {
        if (proc.state() != QProcess::NotRunning) {
            proc.terminate();
            if (!proc.waitForFinished(5000))
                proc.kill();
        }
    }
    static bool waitFor(const std::function<bool()> &done, int timeoutMs = 8000)
    {
        QElapsedTimer t;
        t.start();
        while (!done()) {
            if (t.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(2);
        }
        return true;
    }
    void readLines()
    {
        if (!out.isOpen() && !out.open(QIODevice::ReadOnly))
            return;
        buffer += out.readAll();
        qsizetype nl;
        while ((nl = buffer.indexOf('\n')) >= 0) {
            lines << QString::fromUtf8(buffer.left(nl));
            buffer.remove(0, nl + 1);
        }
    }
    // "listening 127.0.0.35:41234" -> "127.0.0.35:41234"; a pty path as it is.
    QString where() const { return lines.isEmpty() ? QString() : lines.first().section(QLatin1Char(' '), -1); }
    // The --device argument of quorvel-cli for this simulator.
    QString device() const
    {
        return where().startsWith(QLatin1Char('/')) ? QStringLiteral("serial:") + where()
                                                    : QStringLiteral("tcp:") + where();
    }
    // Requests the simulator has answered (or left unanswered) so far.
    int requests()
    {
        readLines();
        return int(lines.filter(QStringLiteral("request ")).size());
    }
    // Stops the simulator (it saves its state); true when it ended cleanly.
    bool stop()
    {
        proc.terminate();
        return proc.waitForFinished(5000) && proc.exitStatus() == QProcess::NormalExit && proc.exitCode() == 0;
    }

    QTemporaryDir dir;
    QFile out;
    QProcess proc;
    QStringList lines;
    QByteArray buffer;
    bool started = false;
};
