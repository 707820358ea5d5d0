#pragma once
// The --log file: every frame sent and recognised on the link and the bytes that formed no frame,
// one line each, as the window's communication log writes them.

#include <QFile>
#include <QObject>

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

private:
    QFile file_;
};
