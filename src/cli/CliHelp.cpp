#include "CliHelp.h"

#include "DataSet.h"
#include "PrinterProber.h"

#include <QStringList>

namespace {
QString setNames()
{
    QStringList names;
    for (const DataSet *set : allDataSets())
        names << set->name();
    return names.join(QLatin1Char(' '));
}
} // namespace

namespace CliHelp {
QString tool()
{
    return QStringLiteral(
               "Usage: quorvel-cli --device tcp:HOST[:PORT] | serial:PATH [--factory-number DIGITS] [--login] "
               "[--log FILE] [--quiet] COMMAND ...\n"
               "Reads and writes the data of a fiscal printer without the window: one data set as JSON,\n"
               "the whole device as a profile, the fiscal-memory dump, self-tests, the clock shift and\n"
               "the operator login.\n"
               "\n"
               "Commands:\n"
               "  login                      operator login (long frame 0x01 with the factory number)\n"
               "  read SET [-o FILE]         one data set as JSON, to standard output or FILE\n"
               "  write SET FILE [--yes]     the same JSON back to the device (FILE - reads standard input)\n"
               "  fm-dump -o FILE            the 131072 bytes of the fiscal memory\n"
               "  selftest display|printer|fm|pm\n"
               "                             starts one of the device's self-tests\n"
               "  clock-shift forward|back   moves the device clock one hour\n"
               "  detect [PORT...]           looks for the printer on the serial ports (needs no --device)\n"
               "  backup -o FILE             every data set but the clock into one profile file (.qvp)\n"
               "  compare FILE               the device against a profile: exit 0 equal, 1 different\n"
               "  restore FILE [--only SET,...] [--yes] [--no-verify]\n"
               "                             writes a profile's sets back, then reads them to verify\n"
               "  help [COMMAND]             this text, or one command's\n"
               "\n"
               "SET is one of: %1\n"
               "\n"
               "Options:\n"
               "  --device tcp:HOST[:PORT]   the printer over TCP (port 1024 unless given)\n"
               "  --device serial:PATH       the printer on a serial port (57600 baud, 8N1)\n"
               "  --factory-number DIGITS    the factory number that long frames carry (up to six\n"
               "                             digits); else the first line of fkase.ini in the current\n"
               "                             directory, as the window reads it\n"
               "  --login                    sends the operator login before the command\n"
               "  --log FILE                 writes every frame sent and received to FILE, one line\n"
               "                             each: time, direction (-> sent, <- received), the bytes\n"
               "                             in hexadecimal and the command's name (bytes that formed\n"
               "                             no frame are listed as discarded)\n"
               "  --quiet, -q                no progress bar\n"
               "  --yes, -y                  write without asking first (write taxgroups uses one of\n"
               "                             the device's 30 rate changes and asks otherwise)\n"
               "  -o, --output FILE          where read and fm-dump put their result\n"
               "  -h, --help                 shows this text (COMMAND --help: that command's)\n"
               "  --version                  shows the version\n"
               "\n"
               "JSON is UTF-8; characters that the printer's code page (Windows-1251) cannot hold are\n"
               "refused with a message naming them, and nothing is sent. Messages go to standard error;\n"
               "the progress bar only when standard error is a terminal.\n"
               "\n"
               "Exit status:\n"
               "  0    success (compare: the device holds what the profile does)\n"
               "  1    compare: the device differs from the profile (the differences on standard output);\n"
               "       detect: no printer found\n"
               "  2    any error: usage, connection, refusal by the device, no answer, bad file\n"
               "  130  interrupted with Ctrl-C (a running transfer is broken off as Cancel does)\n"
               "\n"
               "Examples:\n"
               "  quorvel-cli --device tcp:192.168.1.50 read taxpayer -o taxpayer.json\n"
               "  quorvel-cli --device serial:/dev/ttyUSB0 write taxpayer taxpayer.json\n"
               "  quorvel-cli --device tcp:192.168.1.50 --log frames.txt read articles -o articles.json\n"
               "  quorvel-cli detect\n")
        .arg(setNames());
}

QString command(const QString &name)
{
    const QString device = QStringLiteral("quorvel-cli --device tcp:HOST[:PORT] | serial:PATH [options] ");
    if (name == QStringLiteral("login"))
        return QStringLiteral(
                   "Usage: %1login\n"
                   "Sends the operator login: the 13-byte long frame 0x01 with the factory number\n"
                   "(--factory-number, else the first line of fkase.ini). Exit 0 when the device accepts it.\n")
            .arg(device);
    if (name == QStringLiteral("read"))
        return QStringLiteral("Usage: %1read SET [-o FILE] [--from N --to M]\n"
                              "Reads one data set and writes it as indented UTF-8 JSON to standard output, or\n"
                              "to FILE (replaced only once the read is complete).\n"
                              "SET is one of: %2\n"
                              "read articles gives only the articles that differ from a fresh row; with\n"
                              "--from N --to M (1 <= N <= M <= 60000) it reads only articles N..M.\n")
            .arg(device, setNames());
    if (name == QStringLiteral("write"))
        return QStringLiteral("Usage: %1write SET FILE [--yes] [--from N --to M] [--changed-only --against BASE]\n"
                              "Writes the JSON in FILE (as read gives it; - for standard input) to the device.\n"
                              "The whole file is checked before anything is sent. write fiscal does not exist:\n"
                              "fiscalisation is done once, in the window. A set whose write needs a confirmation\n"
                              "(taxgroups) asks on the terminal unless --yes is given; without a terminal and\n"
                              "without --yes the write is refused.\n"
                              "write articles sends the whole chain of 60000 articles; rows not in the file go\n"
                              "as fresh rows. With --from N --to M only articles N..M are sent (those the file\n"
                              "does not list as fresh rows); the device keeps the others.\n"
                              "With --changed-only --against BASE (an earlier read articles output, or a device\n"
                              "profile .qvp holding the articles) only the articles whose rows differ between\n"
                              "BASE and FILE are sent, one chain per run of consecutive numbers (within\n"
                              "--from/--to when given). When none differ, nothing is sent and the run ends\n"
                              "with exit code 0.\n")
            .arg(device);
    if (name == QStringLiteral("fm-dump"))
        return QStringLiteral("Usage: %1fm-dump -o FILE\n"
                              "Reads the whole fiscal memory (131072 bytes) into FILE.\n")
            .arg(device);
    if (name == QStringLiteral("selftest"))
        return QStringLiteral("Usage: %1selftest display|printer|fm|pm\n"
                              "Starts the device's self-test of its display, printer, fiscal memory or program\n"
                              "memory (long frames 0x19..0x1C with the factory number).\n")
            .arg(device);
    if (name == QStringLiteral("clock-shift"))
        return QStringLiteral("Usage: %1clock-shift forward|back\n"
                              "Moves the device clock one hour forward (0x67) or back (0x69).\n")
            .arg(device);
    if (name == QStringLiteral("detect"))
        return QStringLiteral(
                   "Usage: quorvel-cli detect [--timeout MS] [--log FILE] [--quiet] [PORT...]\n"
                   "Looks for the fiscal printer on serial ports: COM1..COM4 (on Linux /dev/ttyS0..3) and every\n"
                   "port the system lists, or only the PORTs given (device paths). Each port is opened at 57600\n"
                   "baud, sent one harmless request (read fiscal data, 5f 20 00 0d) and given MS milliseconds\n"
                   "(default %1) to answer; any valid reply counts, a refusal too. Nothing is written to the\n"
                   "printer, there is no login, and every port is closed again with its settings as they were.\n"
                   "Each printer found is one line on standard output: the --device argument that reaches it,\n"
                   "a tab, and what it said (service mode or not, the model identifier, the serial number).\n"
                   "Ports without a printer are named on standard error (unless --quiet). No network scan.\n"
                   "Exit 0 when a printer was found, 1 when none was, 2 on a usage error.\n")
            .arg(PrinterProber::kDefaultTimeoutMs);
    if (name == QStringLiteral("backup"))
        return QStringLiteral("Usage: %1backup -o FILE [--keep-incomplete]\n"
                              "Reads every data set except the clock (articles, cashiers, parameters and all)\n"
                              "into one profile file, UTF-8 JSON with the logo as PNG inside. FILE is replaced\n"
                              "only once the backup is complete. A set that fails stops the backup naming it;\n"
                              "with --keep-incomplete the sets read before are saved, marked incomplete.\n")
            .arg(device);
    if (name == QStringLiteral("compare"))
        return QStringLiteral("Usage: %1compare FILE\n"
                              "Reads the sets the profile holds and prints, set by set, equal or different with\n"
                              "the fields that differ (articles: how many, which numbers, the first few with\n"
                              "both values). Only what a restore would write counts: the fiscal identity and the\n"
                              "device's own counters do not. Exit 0 equal, 1 different, 2 error.\n")
            .arg(device);
    if (name == QStringLiteral("restore"))
        return QStringLiteral("Usage: %1restore FILE [--only SET,...] [--yes] [--no-verify]\n"
                              "Writes the profile's sets (every writable one, or those named by --only) after\n"
                              "one question that lists them; without a terminal and without --yes it is\n"
                              "refused and nothing is sent. Never the fiscal identity, never the clock; the tax\n"
                              "rates only when they differ (each write uses one of the device's 30 changes);\n"
                              "articles: only those that differ from the device's table. Afterwards the sets\n"
                              "are read back and any difference reported (--no-verify: not). A fault stops the\n"
                              "restore; the report names the sets written, not written and half-written, and\n"
                              "running the same restore again finishes the job. A profile of another printer\n"
                              "(other serial numbers) is a clone: the question says so.\n")
            .arg(device);
    if (name == QStringLiteral("help"))
        return QStringLiteral("Usage: quorvel-cli help [COMMAND]\n"
                              "Shows the tool's usage, or one command's.\n");
    return {};
}

QString hint()
{
    return QStringLiteral("Try 'quorvel-cli --help'.");
}
} // namespace CliHelp
