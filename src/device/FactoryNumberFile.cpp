#include "FactoryNumberFile.h"

#include "ToolText.h"

#include <QFile>
#include <QRegularExpression>

FactoryNumberFile FactoryNumberFile::read(const QString &path)
{
    FactoryNumberFile out;
    QFile file(path);
    if (!file.exists()) {
        out.note = ToolText::factoryFileMissing();
        return out;
    }
    const auto unreadable = [&] {
        out.unreadable = true;
        out.reason = file.errorString();
        out.note = ToolText::factoryFileUnreadable(out.reason);
        return out;
    };
    if (!file.open(QIODevice::ReadOnly))
        return unreadable();
    QByteArray line = file.readLine(4096);
    if (line.isEmpty() && file.error() != QFileDevice::NoError)
        return unreadable();
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    out.number = QString::fromLatin1(line);
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,6}$"));
    if (!digits.match(out.number).hasMatch())
        out.note = ToolText::factoryLineNotANumber();
    return out;
}
