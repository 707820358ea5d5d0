#pragma once
// Qt's own texts (file dialogs, print preview, standard buttons) in the technician's language.

#include <QLibraryInfo>
#include <QLocale>
#include <QString>

class QCoreApplication;
class QTranslator;

class QtTranslations {
public:
    // Installs Qt's translation "qtbase_<language>" from `folder` for the first of the locale's
    // languages it holds, else the Serbian one. Returns the installed translator (owned by `app`),
    // or nullptr when the folder holds neither, in which case Qt's texts stay in English.
    static QTranslator *install(QCoreApplication &app, const QLocale &locale = QLocale(),
                                const QString &folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath));
};
