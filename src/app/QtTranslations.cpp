#include "QtTranslations.h"

#include <QCoreApplication>
#include <QTranslator>

QTranslator *QtTranslations::install(QCoreApplication &app, const QLocale &locale, const QString &folder)
{
    auto *translator = new QTranslator(&app);
    const QString name = QStringLiteral("qtbase");
    const QString separator = QStringLiteral("_");
    if (translator->load(locale, name, separator, folder) ||
        translator->load(QLocale(QLocale::Serbian, QLocale::CyrillicScript, QLocale::Serbia), name, separator,
                         folder)) {
        QCoreApplication::installTranslator(translator);
        return translator;
    }
    delete translator;
    return nullptr;
}
