#include "FrameLog.h"

#include "CommandNames.h"
#include "DeviceLink.h"

bool FrameLog::open(const QString &path, QString &error)
{
    file_.setFileName(path);
    if (file_.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    error = file_.errorString();
    return false;
}

void FrameLog::attach(DeviceLink &link)
{
    connect(&link, &DeviceLink::frameSent, this, [this](const QByteArray &f) { write(true, f); });
    connect(&link, &DeviceLink::frameRecognised, this, [this](const QByteArray &f) { write(false, f); });
}

QByteArray FrameLog::line(const QTime &time, bool sent, const QByteArray &frame)
{
    return time.toString(QStringLiteral("HH:mm:ss.zzz")).toLatin1() + (sent ? " -> " : " <- ") + frame.toHex(' ') +
           "  (" + CommandNames::forFrame(frame, sent).toUtf8() + ")\n";
}

void FrameLog::write(bool sent, const QByteArray &frame)
{
    file_.write(line(QTime::currentTime(), sent, frame));
}
