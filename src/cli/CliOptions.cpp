#include "CliOptions.h"

#include "DataSet.h"
#include "TcpTransport.h"

#include <QRegularExpression>

namespace {
const QStringList kCommands = {QStringLiteral("login"),   QStringLiteral("read"),     QStringLiteral("write"),
                               QStringLiteral("fm-dump"), QStringLiteral("selftest"), QStringLiteral("clock-shift"),
                               QStringLiteral("backup"),  QStringLiteral("compare"),  QStringLiteral("restore"),
                               QStringLiteral("help")};

QString setNames()
{
    QStringList names;
    for (const DataSet *set : allDataSets())
        names << set->name();
    return names.join(QLatin1Char(' '));
}

// Splits "HOST[:PORT]"; false when the port is given but is no number 1..65535.
bool splitHostPort(const QString &text, QString &host, quint16 &port)
{
    host = text;
    port = TcpTransport::kDefaultPort;
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon < 0)
        return !host.isEmpty();
    host = text.left(colon);
    bool ok = false;
    const uint p = text.mid(colon + 1).toUInt(&ok);
    if (!ok || p < 1 || p > 65535)
        return false;
    port = quint16(p);
    return !host.isEmpty();
}

bool checkDevice(const QString &device, QString &error)
{
    if (device.startsWith(QStringLiteral("tcp:"))) {
        QString host;
        quint16 port = 0;
        if (splitHostPort(device.mid(4), host, port))
            return true;
        error = QStringLiteral("--device %1: expected tcp:HOST or tcp:HOST:PORT with a port 1..65535").arg(device);
        return false;
    }
    if (device.startsWith(QStringLiteral("serial:")) && device.size() > 7)
        return true;
    error = QStringLiteral("--device %1: expected tcp:HOST[:PORT] or serial:PATH").arg(device);
    return false;
}
} // namespace

QString CliOptions::tcpAddress() const
{
    QString host;
    quint16 port = 0;
    splitHostPort(device.mid(4), host, port);
    return host + QLatin1Char(':') + QString::number(port);
}

bool CliOptions::parse(const QStringList &arguments, CliOptions &out, QString &error)
{
    out = CliOptions();
    QStringList positional;
    bool optionsEnd = false;
    for (int i = 0; i < arguments.size(); ++i) {
        QString arg = arguments[i];
        if (optionsEnd || arg == QStringLiteral("-") || !arg.startsWith(QLatin1Char('-'))) {
            positional << arg;
            continue;
        }
        if (arg == QStringLiteral("--")) {
            optionsEnd = true;
            continue;
        }
        QString inlineValue;
        bool hasInline = false;
        if (arg.startsWith(QStringLiteral("--")) && arg.contains(QLatin1Char('='))) {
            inlineValue = arg.section(QLatin1Char('='), 1);
            arg = arg.section(QLatin1Char('='), 0, 0);
            hasInline = true;
        }
        const auto value = [&](QString &target) {
            if (hasInline) {
                target = inlineValue;
                return true;
            }
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("%1 needs a value").arg(arg);
                return false;
            }
            target = arguments[++i];
            return true;
        };
        const auto flag = [&](bool &target) {
            if (hasInline) {
                error = QStringLiteral("%1 takes no value").arg(arg);
                return false;
            }
            target = true;
            return true;
        };
        // An article number 1..60000 for --from and --to.
        const auto articleNumber = [&](int &target) {
            QString text;
            if (!value(text))
                return false;
            bool number = false;
            const int n = text.toInt(&number);
            if (!number || n < 1 || n > 60000) {
                error = QStringLiteral("%1 %2: expected an article number 1..60000").arg(arg, text);
                return false;
            }
            target = n;
            out.rangeGiven = true;
            return true;
        };
        bool ok = false;
        if (arg == QStringLiteral("--device"))
            ok = value(out.device);
        else if (arg == QStringLiteral("--factory-number"))
            ok = value(out.factoryNumber) && (out.factoryNumberGiven = true);
        else if (arg == QStringLiteral("--log"))
            ok = value(out.logPath);
        else if (arg == QStringLiteral("-o") || arg == QStringLiteral("--output"))
            ok = value(out.output);
        else if (arg == QStringLiteral("--from"))
            ok = articleNumber(out.from);
        else if (arg == QStringLiteral("--to"))
            ok = articleNumber(out.to);
        else if (arg == QStringLiteral("--only")) {
            QString list;
            ok = value(list);
            out.only = list.split(QLatin1Char(','), Qt::SkipEmptyParts);
            if (ok && out.only.isEmpty()) {
                error = QStringLiteral("--only needs one or more SET names separated by commas");
                ok = false;
            }
        } else if (arg == QStringLiteral("--no-verify"))
            ok = flag(out.noVerify);
        else if (arg == QStringLiteral("--keep-incomplete"))
            ok = flag(out.keepIncomplete);
        else if (arg == QStringLiteral("--login"))
            ok = flag(out.login);
        else if (arg == QStringLiteral("--quiet") || arg == QStringLiteral("-q"))
            ok = flag(out.quiet);
        else if (arg == QStringLiteral("--yes") || arg == QStringLiteral("-y"))
            ok = flag(out.yes);
        else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h"))
            ok = flag(out.help);
        else if (arg == QStringLiteral("--version"))
            ok = flag(out.version);
        else
            error = QStringLiteral("unknown option %1").arg(arg);
        if (!ok)
            return false;
    }

    if (!positional.isEmpty()) {
        out.command = positional.takeFirst();
        out.args = positional;
    }
    if (out.version && out.command.isEmpty())
        return true;
    if (out.help && out.command.isEmpty())
        return true;
    if (out.command.isEmpty()) {
        error = QStringLiteral("no COMMAND given");
        return false;
    }
    if (!kCommands.contains(out.command)) {
        error = QStringLiteral("unknown command '%1'").arg(out.command);
        return false;
    }
    if (out.command == QStringLiteral("help")) {
        if (out.args.size() > 1 || (out.args.size() == 1 && !kCommands.contains(out.args[0]))) {
            error = QStringLiteral("help takes one of: %1").arg(kCommands.join(QLatin1Char(' ')));
            return false;
        }
        out.help = true;
        return true;
    }
    // "COMMAND --help" asks for that command's help and needs nothing else.
    if (out.help)
        return true;

    const auto argCount = [&](int n, const char *what) {
        if (out.args.size() == n)
            return true;
        error = QStringLiteral("%1 expects %2").arg(out.command, QLatin1String(what));
        return false;
    };
    const QString &c = out.command;
    if (c == QStringLiteral("login") && !argCount(0, "no arguments"))
        return false;
    if (c == QStringLiteral("fm-dump") && !argCount(0, "no arguments besides -o FILE"))
        return false;
    if (c == QStringLiteral("read") && !argCount(1, "one SET"))
        return false;
    if (c == QStringLiteral("write") && !argCount(2, "a SET and a FILE"))
        return false;
    if (c == QStringLiteral("selftest") && (!argCount(1, "one of display printer fm pm") ||
                                            !QStringList{"display", "printer", "fm", "pm"}.contains(out.args[0]))) {
        error = QStringLiteral("selftest expects one of display printer fm pm");
        return false;
    }
    if (c == QStringLiteral("clock-shift") &&
        (!argCount(1, "forward or back") || !QStringList{"forward", "back"}.contains(out.args[0]))) {
        error = QStringLiteral("clock-shift expects forward or back");
        return false;
    }
    if (c == QStringLiteral("backup") && !argCount(0, "no arguments besides -o FILE"))
        return false;
    if ((c == QStringLiteral("compare") || c == QStringLiteral("restore")) && !argCount(1, "one profile FILE"))
        return false;
    if (c == QStringLiteral("backup") && (out.output.isEmpty() || out.output == QStringLiteral("-"))) {
        error = QStringLiteral("backup needs -o FILE");
        return false;
    }
    for (const QString &name : out.only)
        if (!findDataSet(name)) {
            error = QStringLiteral("--only: unknown SET '%1'; the sets are: %2").arg(name, setNames());
            return false;
        }
    if ((!out.only.isEmpty() || out.noVerify) && c != QStringLiteral("restore")) {
        error = QStringLiteral("--only and --no-verify are for restore");
        return false;
    }
    if (out.keepIncomplete && c != QStringLiteral("backup")) {
        error = QStringLiteral("--keep-incomplete is for backup");
        return false;
    }
    if ((c == QStringLiteral("read") || c == QStringLiteral("write")) && !findDataSet(out.args[0])) {
        error = QStringLiteral("unknown SET '%1'; the sets are: %2").arg(out.args[0], setNames());
        return false;
    }
    if (!out.output.isEmpty() && c != QStringLiteral("read") && c != QStringLiteral("fm-dump") &&
        c != QStringLiteral("backup")) {
        error = QStringLiteral("-o is for read, fm-dump and backup");
        return false;
    }
    if (c == QStringLiteral("fm-dump") && (out.output.isEmpty() || out.output == QStringLiteral("-"))) {
        error = QStringLiteral("fm-dump needs -o FILE");
        return false;
    }
    if (out.rangeGiven &&
        !((c == QStringLiteral("read") || c == QStringLiteral("write")) && out.args[0] == QStringLiteral("articles"))) {
        error = QStringLiteral("--from and --to are for read articles and write articles");
        return false;
    }
    if (out.from > out.to) {
        error = QStringLiteral("--from %1 is after --to %2: the range needs 1 <= from <= to <= 60000")
                    .arg(out.from)
                    .arg(out.to);
        return false;
    }
    if (out.yes && c != QStringLiteral("write") && c != QStringLiteral("restore")) {
        error = QStringLiteral("--yes is for write and restore");
        return false;
    }
    if (out.factoryNumberGiven &&
        !QRegularExpression(QStringLiteral("^[0-9]{1,6}$")).match(out.factoryNumber).hasMatch()) {
        error = QStringLiteral("--factory-number expects one to six digits");
        return false;
    }
    if (out.device.isEmpty()) {
        error = QStringLiteral("--device is needed");
        return false;
    }
    return checkDevice(out.device, error);
}
