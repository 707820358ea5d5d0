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
    // Takes the lines written since the last call and counts the requests among them, so a trace
    // of a whole article table stays cheap to follow while a test polls it.
    void readLines()
    {
        if (!out.isOpen() && !out.open(QIODevice::ReadOnly))
            return;
        buffer += out.readAll();
        qsizetype from = 0, nl;
        while ((nl = buffer.indexOf('\n', from)) >= 0) {
            const QByteArray line = buffer.mid(from, nl - from);
            if (line.startsWith("request "))
                ++requests_;
            lines << QString::fromUtf8(line);
            from = nl + 1;
        }
        buffer.remove(0, from);
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
        return requests_;
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
    int requests_ = 0;
};
