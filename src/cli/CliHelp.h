#pragma once
// The usage texts of quorvel-cli: the tool's --help (the man page is made from it) and each command's.

#include <QString>

namespace CliHelp {
// The whole tool: usage, commands, options, sets, exit codes.
QString tool();
// One command's usage; empty for a name that is no command.
QString command(const QString &name);
// The short hint after a usage error.
QString hint();
} // namespace CliHelp
