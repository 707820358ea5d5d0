// Times quorvel-cli writing and reading 60000 articles over loopback TCP against the simulated
// printer in its own process: the command-line tool's figures beside the window's chain
// (article_transfer_bench) and the bare client (bare_article_chain).
//
//   cli_article_bench [--devsim PATH] [--cli PATH] [--host 127.0.0.65] [--port 41065]
//
// Each run is a whole process: start, connect, the chain, JSON in or out, exit.
#include "ArticleTable.h"
#include "BenchSupport.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {
struct Timed {
    double seconds = 0;
    double cpu = 0;
    int exitCode = -1;
    QByteArray err;
};

double childCpu()
{
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

Timed runCli(const QString &cli, const QStringList &args)
{
    Timed t;
    const double cpu0 = childCpu();
    QElapsedTimer clock;
    clock.start();
    QProcess p;
    p.start(cli, args);
    if (p.waitForStarted(5000) && p.waitForFinished(600000))
        t.exitCode = p.exitCode();
    t.seconds = clock.nsecsElapsed() / 1e9;
    t.cpu = childCpu() - cpu0;
    t.err = p.readAllStandardError();
    return t;
}

// Every one of the 60000 articles filled, so the whole table travels in the file.
QJsonValue fullTable()
{
    ArticleTable table;
    for (int n = 1; n <= ArticleTable::kArticles; ++n) {
        ArticleRecord r = table.record(n);
        r.name = QByteArray("Artikal ") + QByteArray::number(n);
        r.department = uint8_t(n % 10);
        r.price = uint32_t(n * 3 + 99);
        r.taxIndex = uint8_t(n % 9);
        table.set(r);
    }
    return table.toJson();
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc >= 3 && QByteArray(argv[1]) == "--serve")
        return bench::serve(QString::fromLatin1(argv[2]));
    bench::DeviceOptions o = bench::deviceOptions(app.arguments(), QStringLiteral("127.0.0.65"), 41065);
    QString cli = QStringLiteral(QUORVEL_CLI_PATH);
    for (int i = 0; i + 1 < o.rest.size(); ++i)
        if (o.rest[i] == QStringLiteral("--cli"))
            cli = o.rest[i + 1];

    QProcess device;
    const QString address = bench::startDevice(device, o.devsim, o.host, o.port);
    if (address.isEmpty()) {
        std::fprintf(stderr, "the simulated printer did not start\n");
        return 1;
    }
    QTemporaryDir dir;
    const QString in = dir.filePath(QStringLiteral("articles.json"));
    const QString out = dir.filePath(QStringLiteral("back.json"));
    const QJsonValue table = fullTable();
    {
        QFile f(in);
        if (!f.open(QIODevice::WriteOnly) || f.write(QJsonDocument(table.toObject()).toJson()) <= 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(in));
            return 1;
        }
    }
    const QString dev = QStringLiteral("tcp:") + address;
    const Timed write = runCli(cli, {"--device", dev, "--quiet", "write", "articles", in});
    const Timed read = runCli(cli, {"--device", dev, "--quiet", "read", "articles", "-o", out});
    bench::stopDevice(device);
    if (write.exitCode != 0 || read.exitCode != 0) {
        std::fprintf(stderr, "quorvel-cli failed: %s%s\n", write.err.constData(), read.err.constData());
        return 1;
    }
    QFile back(out);
    const bool same =
        back.open(QIODevice::ReadOnly) && QJsonDocument::fromJson(back.readAll()).object() == table.toObject();
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    std::printf("quorvel-cli write %.3f s (CPU %.2f s), read %.3f s (CPU %.2f s); peak RSS of the largest child "
                "process (the tool or the printer) %ld kB; read back %s\n",
                write.seconds, write.cpu, read.seconds, read.cpu, long(u.ru_maxrss), same ? "equal" : "DIFFERENT");
    return same ? 0 : 1;
}
