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

// Before a write: `characters` (listed with blanks between them) cannot be stored by the printer.
inline QString unencodableQuestion(const QString &characters)
{
    return QStringLiteral("Каса не може да упише ове знакове: %1. Биће уписани као \"?\". "
                          "Да ли желите да наставите упис?")
        .arg(characters);
}
// The factory number that the long frames carry, after "Пријава".
inline QString factoryNumberInUse(const QString &number)
{
    return QStringLiteral("Фабрички број: %1").arg(number);
}
inline QString factoryFileMissing()
{
    return QStringLiteral("Нема датотеке fkase.ini у радном директоријуму.");
}
inline QString factoryFileUnreadable(const QString &reason)
{
    return QStringLiteral("Датотека fkase.ini не може да се прочита: %1").arg(reason);
}
inline QString factoryLineNotANumber()
{
    return QStringLiteral("Први ред датотеке fkase.ini није број од највише шест цифара.");
}

// Article page

// Other sections

} // namespace ToolText
