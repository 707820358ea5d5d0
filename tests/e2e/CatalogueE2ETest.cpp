// Tax groups, departments and the article file against the simulated printer over loopback TCP.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "DepartmentsSection.h"
#include "SimCatalogue.h"
#include "SimHarness.h"
#include "TaxGroupsSection.h"
#include "TaxLetters.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include <gtest/gtest.h>

namespace {
const QString kRemaining = QStringLiteral("Пажња!!! |Можете да промените пореске стопе jош %1 пута!!!");

struct Catalogue {
    explicit Catalogue(const char *host) : h(QString::fromLatin1(host))
    {
        tax = h.window->findChild<TaxGroupsSection *>();
        departments = h.window->findChild<DepartmentsSection *>();
        QObject::connect(&h.link(), &DeviceLink::replyDispatched, [this](uint8_t code) { codes.append(code); });
        sim = h.device.module<SimCatalogue>();
        sim->setClock([] { return QDateTime(QDate(2024, 11, 5), QTime(9, 41, 17)); });
    }
    // Clicks a button and waits for the reply with this code.
    bool clickAndWait(QPushButton *button, uint8_t code)
    {
        const qsizetype before = codes.count(code);
        QTest::mouseClick(button, Qt::LeftButton);
        return waitUntil([&] { return codes.count(code) > before; });
    }
    bool readTaxGroups() { return clickAndWait(tax->btnTGRead, 0x70); }

    SimHarness h;
    TaxGroupsSection *tax = nullptr;
    DepartmentsSection *departments = nullptr;
    SimCatalogue *sim = nullptr;
    QList<uint8_t> codes;
};
} // namespace

TEST(CatalogueE2E, TaxGroupsWrittenAndReadBack)
{
    Catalogue c("127.0.0.50");
    ASSERT_TRUE(c.h.connected);
    ASSERT_TRUE(c.h.logIn());
    ASSERT_FALSE(c.tax->btnTGWrite->isEnabled());
    ASSERT_TRUE(c.readTaxGroups());
    EXPECT_EQ(c.h.messages, QStringList({kRemaining.arg(30)}));
    EXPECT_EQ(c.tax->cell(1, 1), "20");
    EXPECT_EQ(c.tax->cell(1, 4), "**,**");
    ASSERT_TRUE(c.tax->btnTGWrite->isEnabled());

    const QStringList rates = {"18", "8.53", "0.29", "", "99.99", "**,**", "0", "10", "5.5"};
    for (int r = 1; r <= 9; ++r)
        c.tax->setCell(1, r, rates[r - 1]);
    ASSERT_TRUE(c.clickAndWait(c.tax->btnTGWrite, SimulatedDevice::kAckCode));
    EXPECT_FALSE(c.tax->btnTGWrite->isEnabled());
    const uint16_t expected[] = {1800, 853, 29, 0xFFFF, 9999, 0xFFFF, 0, 1000, 550};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(c.sim->rate(i), expected[i]) << i;

    for (int r = 1; r <= 9; ++r)
        c.tax->setCell(1, r, "x");
    ASSERT_TRUE(c.readTaxGroups());
    const QStringList shown = {"18", "8.53", "0.29", "**,**", "99.99", "**,**", "0", "10", "5.5"};
    for (int r = 1; r <= 9; ++r)
        EXPECT_EQ(c.tax->cell(1, r), shown[r - 1]) << r;
    EXPECT_EQ(c.h.messages.last(), kRemaining.arg(29));
    EXPECT_EQ(c.tax->dtpTaxGroups->date(), QDate(2024, 11, 5));
    EXPECT_EQ(c.tax->dtpTGTime->time(), QTime(9, 41));
    EXPECT_EQ(c.h.window->statusText(), "Фискални принтер је у сервисном режиму...");
}

TEST(CatalogueE2E, AfterThirtyChangesNoneRemainAndTheWriteStaysDisabled)
{
    Catalogue c("127.0.0.51");
    ASSERT_TRUE(c.h.connected);
    for (int k = 1; k <= 30; ++k) {
        ASSERT_TRUE(c.readTaxGroups()) << k;
        c.tax->setCell(1, 9, QString::number(k));
        ASSERT_TRUE(c.clickAndWait(c.tax->btnTGWrite, SimulatedDevice::kAckCode)) << k;
    }
    EXPECT_EQ(c.sim->changeCount(), 30);
    ASSERT_TRUE(c.readTaxGroups());
    EXPECT_EQ(c.h.messages.last(), kRemaining.arg(0));
    EXPECT_FALSE(c.tax->btnTGWrite->isEnabled());
    EXPECT_EQ(c.tax->cell(1, 9), "30");
    EXPECT_TRUE(c.h.messages.filter("Грешка").isEmpty());

    // Even when forced, the device refuses a 31st change.
    c.tax->setCell(1, 9, "31");
    c.tax->btnTGWrite->setEnabled(true);
    ASSERT_TRUE(c.clickAndWait(c.tax->btnTGWrite, 0xF5));
    EXPECT_EQ(c.h.messages.last(), "Грешка !!! |Фискална меморија је пуна - пореске стопе");
    EXPECT_EQ(c.sim->rate(8), 3000);
}

TEST(CatalogueE2E, IdenticalRatesAreRefusedByTheDevice)
{
    Catalogue c("127.0.0.52");
    ASSERT_TRUE(c.h.connected);
    ASSERT_TRUE(c.readTaxGroups());
    ASSERT_TRUE(c.clickAndWait(c.tax->btnTGWrite, 0xF5));
    EXPECT_EQ(c.h.messages.last(), "Грешка !!! |Нове пореске стопе имају исту вредност као и старе");
    EXPECT_EQ(c.sim->changeCount(), SimCatalogue::kNeverChanged);
}

TEST(CatalogueE2E, DepartmentsWrittenAndReadBack)
{
    Catalogue c("127.0.0.53");
    ASSERT_TRUE(c.h.connected);
    ASSERT_TRUE(c.h.logIn());
    ASSERT_FALSE(c.departments->btnSTWrite->isEnabled());
    ASSERT_TRUE(c.clickAndWait(c.departments->btnSTRead, 0xA0));
    EXPECT_EQ(c.departments->edtSName[0]->text(), "Одељење 1");
    EXPECT_FALSE(c.departments->chbResMode->isChecked());
    ASSERT_TRUE(c.departments->btnSTWrite->isEnabled());

    QStringList names;
    for (int n = 1; n <= 10; ++n)
        names << QStringLiteral("Пиће и храна %1").arg(n);
    names[0] = "ABCDEFGHIJKLMNOPQR"; // the full 18 characters
    names[9] = "Ђачка ужина";
    for (int n = 0; n < 10; ++n)
        c.departments->edtSName[size_t(n)]->setText(names[n]);
    c.departments->chbResMode->setChecked(true);
    ASSERT_TRUE(c.clickAndWait(c.departments->btnSTWrite, SimulatedDevice::kAckCode));
    EXPECT_EQ(c.sim->departmentName(10), "Ђачка ужина");
    EXPECT_TRUE(c.sim->restaurantMode());

    for (QLineEdit *e : c.departments->edtSName)
        e->clear();
    c.departments->chbResMode->setChecked(false);
    ASSERT_TRUE(c.clickAndWait(c.departments->btnSTRead, 0xA0));
    for (int n = 0; n < 10; ++n)
        EXPECT_EQ(c.departments->edtSName[size_t(n)]->text(), names[n]) << n;
    EXPECT_TRUE(c.departments->chbResMode->isChecked());
    EXPECT_TRUE(c.h.messages.isEmpty());
}

TEST(CatalogueE2E, FullArticleFileSavedLoadedAndSavedAgainIdentically)
{
    for (const QLocale &locale : {QLocale::c(), QLocale(QLocale::Serbian, QLocale::Serbia)}) {
        const QLocale old;
        QLocale::setDefault(locale);
        {
            Catalogue c("127.0.0.54");
            ArticleModel &m = c.h.window->articles();
            ArticlesSection &s = c.h.window->articlesSection();
            const QString point = locale.decimalPoint();
            for (int r = 1; r <= ArticleModel::kArticles; r += 7) {
                m.setCell(1, r, QStringLiteral("Артикал број %1 ђјљњћџ").arg(r));
                m.setCell(2, r, QString::number(8600000000000LL + r));
                m.setCell(3, r, QString::number(r % 10 + 1));
                m.setCell(4, r, QString::number(r / 100) + point + QString::number(10 + r % 90));
                m.setCell(5, r, TaxLetters::letter(r % 9));
            }
            QTemporaryDir dir;
            const QString first = dir.filePath("first.CSV");
            const QString second = dir.filePath("second.CSV");
            QString chosen = first;
            s.setFileChooser([&](QFileDialog &) { return chosen; });
            QTest::mouseClick(s.btnAFSave, Qt::LeftButton);
            m.fillStartup();
            QTest::mouseClick(s.btnAFLoad, Qt::LeftButton);
            EXPECT_EQ(m.cell(1, 59998), QStringLiteral("Артикал број 59998 ђјљњћџ"));
            EXPECT_EQ(m.cell(5, 59998), TaxLetters::letter(59998 % 9));
            EXPECT_EQ(s.edtArticleName->text(), QStringLiteral("Артикал број 1 ђјљњћџ"));
            chosen = second;
            QTest::mouseClick(s.btnAFSave, Qt::LeftButton);
            QFile a(first), b(second);
            ASSERT_TRUE(a.open(QIODevice::ReadOnly));
            ASSERT_TRUE(b.open(QIODevice::ReadOnly));
            const QByteArray bytesA = a.readAll();
            EXPECT_EQ(bytesA.count('\n'), 60000);
            EXPECT_TRUE(bytesA == b.readAll()) << locale.name().toStdString();
            EXPECT_EQ(c.h.messages,
                      QStringList({"Информација !!!|Упис је успешан!...", "Информација !!!|Упис је успешан!..."}));
        }
        QLocale::setDefault(old);
    }
}
