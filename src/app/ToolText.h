#pragma once
// The tool's own texts that the numbered UI text table does not hold: messages, captions and
// questions added since. Serbian Cyrillic, in the style of the table; each group keeps its texts together.

#include <QString>

namespace ToolText {

// Link, transports and connections

// Message dialog and main window

// Before a write: `characters` (listed with blanks between them) cannot be stored by the printer.
inline QString unencodableQuestion(const QString &characters)
{
    return QStringLiteral("Каса не може да упише ове знакове: %1. Биће уписани као \"?\". "
                          "Да ли желите да наставите упис?")
        .arg(characters);
}

// Article page

// Other sections

} // namespace ToolText
