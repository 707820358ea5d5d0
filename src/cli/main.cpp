// quorvel-cli: reads and writes a fiscal printer's data from a terminal or a script.
#include "CliDetect.h"
#include "CliHelp.h"
#include "CliOptions.h"
#include "CliRun.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {
void print(FILE *to, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvel-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));

    CliOptions options;
    QString error;
    if (!CliOptions::parse(app.arguments().mid(1), options, error)) {
        print(stderr, QStringLiteral("quorvel-cli: %1\n%2\n").arg(error, CliHelp::hint()));
        return CliRun::kExitError;
    }
    if (options.version && options.command.isEmpty()) {
        print(stdout, QStringLiteral("quorvel-cli %1\n").arg(QStringLiteral(QUORVEL_VERSION)));
        return CliRun::kExitOk;
    }
    if (options.help) {
        const QString topic = options.command == QStringLiteral("help") ? options.args.value(0) : options.command;
        print(stdout, topic.isEmpty() ? CliHelp::tool() : CliHelp::command(topic));
        return CliRun::kExitOk;
    }

    if (options.command == QStringLiteral("detect")) {
        CliDetect detect(options);
        QObject::connect(&detect, &CliDetect::finished, &app, [](int code) { QCoreApplication::exit(code); });
        QTimer::singleShot(0, &detect, &CliDetect::start);
        return app.exec();
    }
    CliRun run(options);
    QObject::connect(&run, &CliRun::finished, &app, [](int code) { QCoreApplication::exit(code); });
    QTimer::singleShot(0, &run, &CliRun::start);
    return app.exec();
}
