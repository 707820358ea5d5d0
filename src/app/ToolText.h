#pragma once
// The tool's own texts that the numbered UI text table does not hold: messages, captions and
// questions added since. Serbian Cyrillic, in the style of the table; each group keeps its texts together.

#include <QString>

namespace ToolText {

// Link, transports and connections

// Message dialog and main window

// Article page

// Other sections

} // namespace ToolText
