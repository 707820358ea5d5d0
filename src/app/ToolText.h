#pragma once
// The tool's own texts that the numbered UI text table does not hold: messages, captions and
// questions added since. Serbian Cyrillic, in the style of the table; each group keeps its texts together.

#include <QString>

namespace ToolText {

// Link, transports and connections

inline QString ConnectionLost()
{
    return QStringLiteral("Веза са фискалним принтером је прекинута.");
}

inline QString ConnectionNotOpen()
{
    return QStringLiteral("Веза са фискалним принтером није отворена.");
}

// The port exists but this user may not open it.
inline QString SerialPermissionDenied(const QString &port, const QString &group)
{
    return QStringLiteral("%1: нема дозволе за приступ порту. Корисник мора бити у групи %2 која поседује "
                          "порт (обично dialout); после додавања у групу одјавите се и поново пријавите.")
        .arg(port, group);
}

inline QString SerialPortInUse(const QString &port)
{
    return QStringLiteral("%1: порт већ користи други програм. Затворите тај програм или изаберите други порт.")
        .arg(port);
}

// Message dialog and main window

// Article page

// Other sections

} // namespace ToolText
