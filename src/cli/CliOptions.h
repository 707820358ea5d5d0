#pragma once
// The command line of quorvel-cli taken apart and checked: global options, the command and its arguments.

#include <QString>
#include <QStringList>

struct CliOptions {
    QString device;        // "tcp:HOST[:PORT]" or "serial:PATH"
    QString factoryNumber; // from --factory-number; empty when not given
    bool factoryNumberGiven = false;
    bool login = false;
    QString logPath;
    bool quiet = false;
    bool yes = false;
    QString output; // -o FILE
    // --from N --to M: the articles a read or write of the article set covers (whole table by default).
    int from = 1;
    int to = 60000;
    bool rangeGiven = false;
    // restore: --only SET,... (every writable set of the profile when empty), --no-verify;
    // backup: --keep-incomplete saves what was read before a fault, marked incomplete.
    QStringList only;
    bool noVerify = false;
    bool keepIncomplete = false;
    bool help = false;
    bool version = false;
    QString command; // login read write fm-dump selftest clock-shift backup compare restore help
    QStringList args;

    // The device's parts after the check: the transport and where it goes.
    bool serial() const { return device.startsWith(QStringLiteral("serial:")); }
    QString serialPath() const { return device.mid(7); }
    // "HOST:PORT" with the default port added when none was given.
    QString tcpAddress() const;

    // Parses the arguments after the program name; false with `error` (a usage error, in English
    // like the usage text) when they are not a valid command line.
    static bool parse(const QStringList &arguments, CliOptions &out, QString &error);
};
