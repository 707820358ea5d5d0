#include "FontWarmup.h"
#include "QtTranslations.h"
#include "SimServer.h"
#include "SimulatedDevice.h"
#include "TfMain.h"

#include <QApplication>
#include <QLineEdit>

#include <cstdio>
#include <cstring>
#include <memory>

#ifndef QUORVEL_VERSION
#define QUORVEL_VERSION "unknown"
#endif

namespace {
void printUsage()
{
    std::printf("Usage: quorvel [--demo] [--version] [--help]\n"
                "  --demo     start a simulated fiscal printer inside the tool and point the TCP address at it\n"
                "  --version  print the version and exit\n");
}
} // namespace

int main(int argc, char *argv[])
{
    bool demo = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("quorvel %s\n", QUORVEL_VERSION);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            printUsage();
            return 0;
        }
        if (std::strcmp(argv[i], "--demo") == 0)
            demo = true;
    }

    // Made before the application, so that the font configuration loads beside its start.
    FontWarmup fonts;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QtTranslations::install(app, QLocale::system());
    TfMain w;

    // Demo: a simulated printer on a free loopback port; "Отвори порт" beside the address connects to it.
    std::unique_ptr<SimulatedDevice> device;
    std::unique_ptr<SimServer> server;
    if (demo) {
        device = std::make_unique<SimulatedDevice>();
        server = std::make_unique<SimServer>(*device);
        if (server->listen(QHostAddress(QHostAddress::LocalHost), 0)) {
            if (auto *ip = w.findChild<QLineEdit *>(QStringLiteral("edtIP")))
                ip->setText(QStringLiteral("127.0.0.1:%1").arg(server->port()));
            std::fprintf(stderr, "quorvel: simulated printer listening on 127.0.0.1:%u\n", unsigned(server->port()));
        } else {
            std::fprintf(stderr, "quorvel: the simulated printer could not listen: %s\n",
                         qPrintable(server->server().errorString()));
        }
    }

    w.show();
    return app.exec();
}
