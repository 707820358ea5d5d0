// The page buttons show the open page; Qt's own dialogs speak the technician's language.
#include "CatalogueFixture.h"
#include "QtTranslations.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

namespace {
class PageButtons : public CatalogueTest {
protected:
    QStringList checked() const
    {
        QStringList out;
        for (const char *name : {"btPage1", "btPage2", "btPage3", "btPage4"})
            if (child<QPushButton>(name)->isChecked())
                out << QString::fromLatin1(name);
        return out;
    }
    QString openPage() const { return child<QTabWidget>("Page")->currentWidget()->objectName(); }
};

// The text of the Cancel button of a standard button box, under whatever translation is installed.
QString cancelText()
{
    QDialogButtonBox box(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
    return box.button(QDialogButtonBox::Cancel)->text();
}

// Removes a translator installed by a test, so that later tests see Qt's own English.
struct Uninstall {
    QTranslator *t;
    ~Uninstall()
    {
        if (t) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
    }
};

const QString kQtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
} // namespace

TEST_F(PageButtons, TheButtonOfTheOpenPageStaysPressed)
{
    w->show();
    EXPECT_EQ(checked(), QStringList({"btPage1"}));
    EXPECT_EQ(openPage(), "TabCompany");
    QTest::mouseClick(child<QPushButton>("btPage3"), Qt::LeftButton);
    EXPECT_EQ(checked(), QStringList({"btPage3"}));
    EXPECT_EQ(openPage(), "tabOperators");
    // A second click on the open page's button keeps it pressed.
    QTest::mouseClick(child<QPushButton>("btPage3"), Qt::LeftButton);
    EXPECT_EQ(checked(), QStringList({"btPage3"}));
    // A page opened by the program, not by its button, is shown as well.
    w->btPage2Click();
    EXPECT_EQ(checked(), QStringList({"btPage2"}));
    QTest::mouseClick(child<QPushButton>("btPage4"), Qt::LeftButton);
    EXPECT_EQ(checked(), QStringList({"btPage4"}));
    EXPECT_EQ(openPage(), "TabSheet1");
}

TEST(QtTranslations, SerbianInQtsOwnButtonsWhenInstalled)
{
    if (!QFile::exists(kQtFolder + QStringLiteral("/qtbase_sr.qm")))
        GTEST_SKIP() << "Qt's Serbian translation qtbase_sr.qm is not installed in " << kQtFolder.toStdString()
                     << " (Debian 12's qt6-translations-l10n ships none); Qt's dialogs stay in English";
    const QString english = cancelText();
    Uninstall installed{QtTranslations::install(*qApp, QLocale(QLocale::Serbian, QLocale::CyrillicScript))};
    ASSERT_NE(installed.t, nullptr);
    EXPECT_NE(cancelText(), english);
}

TEST(QtTranslations, TheUsersLanguageFirstThenSerbian)
{
    if (!QFile::exists(kQtFolder + QStringLiteral("/qtbase_ru.qm")))
        GTEST_SKIP() << "Qt's translations are not installed in " << kQtFolder.toStdString()
                     << " (Debian package qt6-translations-l10n)";
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));
    {
        // A language Qt has a translation for.
        Uninstall installed{QtTranslations::install(*qApp, QLocale(QLocale::Russian, QLocale::Russia))};
        ASSERT_NE(installed.t, nullptr);
        EXPECT_EQ(cancelText(), QStringLiteral("Отмена"));
    }
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));

    // A language without one falls back to the Serbian file; here a folder whose "Serbian" file
    // is a copy of another, so the fallback shows.
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(kQtFolder + QStringLiteral("/qtbase_ru.qm"), folder.filePath("qtbase_sr.qm")));
    {
        Uninstall installed{QtTranslations::install(*qApp, QLocale(QLocale::Swahili, QLocale::Kenya), folder.path())};
        ASSERT_NE(installed.t, nullptr);
        EXPECT_EQ(cancelText(), QStringLiteral("Отмена"));
    }
    // Neither: nothing is installed and Qt stays in English.
    QTemporaryDir empty;
    EXPECT_EQ(QtTranslations::install(*qApp, QLocale(QLocale::Swahili, QLocale::Kenya), empty.path()), nullptr);
    EXPECT_EQ(cancelText(), QStringLiteral("Cancel"));
}
