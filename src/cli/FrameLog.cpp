#include "FrameLog.h"

#include "CommLog.h"
#include "CommLogLine.h"

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
    CommLog::tap(link, this, [this](const CommLogEntry &entry) { file_.write(CommLogLine::format(entry)); });
}
