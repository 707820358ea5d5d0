#pragma once
// The --log file: every frame sent and recognised on the link, one line each.

#include <QFile>
#include <QObject>
#include <QTime>

class DeviceLink;

class FrameLog : public QObject {
    Q_OBJECT
public:
    // Opens (replaces) `path`; false with `error`.
    bool open(const QString &path, QString &error);
    // Logs every frame of `link` from now on.
    void attach(DeviceLink &link);
    void flush()
    {
        if (file_.isOpen())
            file_.flush();
    }

    // "12:34:56.789 -> 5f 30 00 0d  (read taxpayer)": time, direction, bytes, the command's name.
    static QByteArray line(const QTime &time, bool sent, const QByteArray &frame);

private:
    void write(bool sent, const QByteArray &frame);
    QFile file_;
};
