// The Profile menu of the whole window against in-process simulated printers: back up, restore to
// another printer, compare, faults in the middle, refusals, Cancel, closing during a run.
#include "ProfileMenu.h"
#include "ArticleRecord.h"
#include "Cp1251.h"
#include "DeviceLink.h"
#include "Profile.h"
#include "ProfileComparisonWindow.h"
#include "ProfileReportWindow.h"
#include "ProfileRun.h"
#include "RecordingView.h"
#include "SimArticles.h"
#include "SimCatalogue.h"
#include "SimFiscal.h"
#include "SimHarness.h"
#include "TaxpayerRecord.h"
#include "ToolText.h"
#include "UiText.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
constexpr int kRunMs = 90000;

QByteArray article(int n, const char *name, uint32_t price)
{
    ArticleRecord r;
    r.number = uint16_t(n);
    r.name = Cp1251::encode(QString::fromUtf8(name));
    r.price = price;
    r.department = 1;
    r.taxIndex = 0;
    return r.encode();
}

// One simulated printer with the whole window on it, and the Profile menu's file names given by the test.
struct Printer : SimHarness {
    explicit Printer(const char *host) : SimHarness(QString::fromLatin1(host)), hostAddress(QString::fromLatin1(host))
    {
        menu().setFileChooser([this](ProfileMenu::FileUse use) {
            asked << use;
            return file;
        });
    }
    ProfileMenu &menu() { return *window->findChild<ProfileMenu *>(); }
    SimArticles &articles() { return *device.module<SimArticles>(); }
    SimCatalogue &catalogue() { return *device.module<SimCatalogue>(); }
    bool reconnect()
    {
        connected = tcp.connectTo(hostAddress + QStringLiteral(":") + QString::number(server->port()));
        window->link().setTransport(&tcp);
        return connected;
    }
    bool said(const QString &text) const
    {
        for (const QString &m : messages)
            if (m.contains(text))
                return true;
        return false;
    }
    // Backs the printer up into `path`; true once the saved message came.
    bool backup(const QString &path)
    {
        file = path;
        messages.clear();
        menu().backupClick();
        return waitUntil([&] { return !menu().running() && said(QStringLiteral("„%1").arg(path)); }, kRunMs);
    }
    bool restore(const QString &path)
    {
        file = path;
        messages.clear();
        menu().reportWindow().hide();
        menu().restoreClick();
        return waitUntil([&] { return menu().reportWindow().isVisible(); }, kRunMs);
    }
    bool compare(const QString &path)
    {
        file = path;
        messages.clear();
        menu().comparisonWindow().hide();
        menu().compareClick();
        return waitUntil([&] { return menu().comparisonWindow().isVisible(); }, kRunMs);
    }
    // The sets the comparison window shows as different.
    QStringList differentSets()
    {
        QStringList sets;
        for (const SetComparison &s : menu().comparisonWindow().comparison().sets)
            if (s.state != SetComparison::State::Equal && s.state != SetComparison::State::NotInProfile)
                sets << s.set;
        return sets;
    }

    QString hostAddress;
    QString file;
    QList<ProfileMenu::FileUse> asked;
};

Profile readFile(const QString &path)
{
    Profile p;
    QString error;
    EXPECT_TRUE(ProfileFile::read(path, p, error)) << error.toStdString();
    return p;
}

void fillPrinter(Printer &p)
{
    TaxpayerRecord taxpayer;
    taxpayer.fields = {QStringLiteral("Пекара Житко"), QStringLiteral("Краља Петра 12"), QStringLiteral("011 123 456"),
                       QStringLiteral("Житко доо"), QStringLiteral("12345678")};
    p.device.module<SimFiscal>()->setTaxpayer(taxpayer.encode());
    p.articles().setArticle(7, article(7, "Хлеб", 6500));
    p.articles().setArticle(8, article(8, "Млеко", 12999));
    p.articles().setArticle(60000, article(60000, "Последњи", 100));
    p.articles().setCashier(1, Cp1251::encode(QStringLiteral("Ана")));
    p.articles().setCashier(2, Cp1251::encode(QStringLiteral("Петар")));
    p.articles().setCashier(3, Cp1251::encode(QStringLiteral("Мира")));
    p.articles().setCashier(4, Cp1251::encode(QStringLiteral("Лаза")));
    p.catalogue().setDepartmentName(2, QStringLiteral("Пекара"));
}
} // namespace

TEST(ProfileMenu, BackupRestoreToAnotherPrinterCompareAndTwoChangesFound)
{
    QTemporaryDir dir;
    Printer a("127.0.0.241");
    Printer b("127.0.0.242");
    ASSERT_TRUE(a.connected && b.connected);
    fillPrinter(a);

    const QString first = dir.filePath("a1.qvp"), second = dir.filePath("a2");
    ASSERT_TRUE(a.backup(first)) << a.messages.join('\n').toStdString();
    ASSERT_TRUE(a.backup(second)) << a.messages.join('\n').toStdString();
    EXPECT_TRUE(a.said(ToolText::profileSaved(second + ".qvp", int(readFile(first).sets.size()))));
    // Two backups of an unchanged printer hold the same, whatever the time they were taken.
    Profile p1 = readFile(first), p2 = readFile(second + ".qvp");
    EXPECT_TRUE(p1.complete);
    EXPECT_TRUE(p1.has("articles") && p1.has("cashiers") && p1.has("taxpayer"));
    p2.taken = p1.taken;
    EXPECT_EQ(ProfileFile::encode(p1), ProfileFile::encode(p2));

    ASSERT_TRUE(b.restore(first)) << b.messages.join('\n').toStdString();
    EXPECT_EQ(b.menu().reportWindow().txtReport->toPlainText(), b.menu().run().report());
    EXPECT_EQ(b.menu().reportWindow().lblHeadline->text(), ToolText::profileRestoreDone())
        << b.menu().run().report().toStdString() << b.messages.join('\n').toStdString();
    // The one confirmation was asked, under the warning title, and listed the sets.
    ASSERT_FALSE(b.messages.isEmpty());
    EXPECT_TRUE(b.messages.first().startsWith(UiText(Txt::TitleWarning)));
    EXPECT_EQ(b.articles().article(7), a.articles().article(7));
    EXPECT_EQ(b.articles().article(60000), a.articles().article(60000));
    EXPECT_EQ(b.articles().cashier(2), a.articles().cashier(2));
    EXPECT_EQ(b.catalogue().departmentName(2), QStringLiteral("Пекара"));

    ASSERT_TRUE(b.compare(first));
    EXPECT_EQ(b.differentSets(), QStringList());
    EXPECT_EQ(b.menu().comparisonWindow().lblSummary->text(), ToolText::profileComparisonEqual());

    // One article and one cashier changed on the second printer: exactly those two show.
    b.articles().setArticle(8, article(8, "Млеко", 13999));
    b.articles().setCashier(2, Cp1251::encode(QStringLiteral("Јова")));
    ASSERT_TRUE(b.compare(first));
    EXPECT_EQ(b.differentSets(), QStringList({"articles", "cashiers"}));
    for (const SetComparison &s : b.menu().comparisonWindow().comparison().sets)
        if (s.set == "articles")
            EXPECT_EQ(s.articleNumbers, std::vector<int>{8});
    QTableWidget *t = b.menu().comparisonWindow().tblComparison;
    int differentRows = 0;
    for (int row = 0; row < t->rowCount(); ++row)
        differentRows += t->item(row, 1)->text() == ToolText::profileStateDifferent();
    EXPECT_EQ(differentRows, 2);
}

TEST(ProfileMenu, FaultInTheMiddleOfARestoreIsReportedAndASecondRestoreFinishes)
{
    QTemporaryDir dir;
    Printer a("127.0.0.243");
    Printer b("127.0.0.244");
    ASSERT_TRUE(a.connected && b.connected);
    fillPrinter(a);
    const QString path = dir.filePath("a.qvp");
    ASSERT_TRUE(a.backup(path));

    // The second printer goes away in the middle of writing the cashiers, after the third of four.
    int cashierWrites = 0;
    QObject::connect(b.server.get(), &SimServer::requestAnswered, [&](const QByteArray &request, const QByteArray &) {
        if (request.size() > 1 && uint8_t(request[1]) == 0x95 && ++cashierWrites == 3)
            b.server->dropClient();
    });
    ASSERT_TRUE(b.restore(path)) << b.messages.join('\n').toStdString();
    ProfileReportWindow &report = b.menu().reportWindow();
    EXPECT_EQ(report.lblHeadline->text(), ToolText::profileRestoreBroken());
    // The table says per set what happened: written and verified up to the cashiers, the cashiers
    // half-written, the rest not written; nothing after the fault is called written.
    QMap<QString, QString> outcome;
    for (int row = 0; row < report.tblOutcomes->rowCount(); ++row)
        outcome.insert(report.tblOutcomes->item(row, 0)->data(Qt::UserRole).toString(),
                       report.tblOutcomes->item(row, 1)->text());
    for (const char *set : {"taxpayer", "lines", "logo", "departments", "articles"})
        EXPECT_EQ(outcome.value(set).toStdString(), ToolText::profileOutcomeVerified().toStdString()) << set;
    EXPECT_EQ(outcome.value("cashiers").toStdString(), ToolText::profileOutcomeHalfWritten().toStdString());
    for (const char *set : {"network", "parameters"})
        EXPECT_EQ(outcome.value(set).toStdString(), ToolText::profileOutcomeNotStarted().toStdString()) << set;
    EXPECT_EQ(report.tblOutcomes->item(0, 0)->text(), ToolText::profileSetTitle("taxpayer"));
    EXPECT_EQ(report.txtReport->toPlainText(), b.menu().run().report());
    EXPECT_FALSE(report.txtReport->toPlainText().isEmpty());
    // The controls are back after the fault.
    EXPECT_TRUE(b.window->findChild<QPushButton *>("btnCompanyRead")->isEnabled());

    ASSERT_TRUE(b.reconnect());
    ASSERT_TRUE(b.restore(path)) << b.messages.join('\n').toStdString();
    EXPECT_EQ(report.lblHeadline->text(), ToolText::profileRestoreDone());
    EXPECT_EQ(b.articles().cashier(2), a.articles().cashier(2));
    ASSERT_TRUE(b.compare(path));
    EXPECT_EQ(b.differentSets(), QStringList());
}

TEST(ProfileMenu, BackupBrokenOffByAFaultNamesTheSetAndSavesWhatWasReadOnlyWhenAsked)
{
    QTemporaryDir dir;
    Printer a("127.0.0.245");
    ASSERT_TRUE(a.connected);
    int articleReads = 0;
    QObject::connect(a.server.get(), &SimServer::requestAnswered, [&](const QByteArray &request, const QByteArray &) {
        if (request.size() > 1 && uint8_t(request[1]) == 0x80 && ++articleReads == 100)
            a.server->dropClient();
    });
    const QString declined = dir.filePath("declined.qvp");
    a.answer = 0;
    a.file = declined;
    a.menu().backupClick();
    ASSERT_TRUE(waitUntil([&] { return !a.menu().running() && a.said(ToolText::profileSetTitle("articles")); }, kRunMs))
        << a.messages.join('\n').toStdString();
    QTest::qWait(100);
    EXPECT_FALSE(QFile::exists(declined));

    ASSERT_TRUE(a.reconnect());
    articleReads = 0;
    const QString kept = dir.filePath("kept.qvp");
    a.answer = 1;
    a.messages.clear();
    a.file = kept;
    a.menu().backupClick();
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(kept) && !a.menu().running(); }, kRunMs))
        << a.messages.join('\n').toStdString();
    const Profile partial = readFile(kept);
    EXPECT_FALSE(partial.complete);
    EXPECT_TRUE(partial.has("taxpayer"));
    EXPECT_FALSE(partial.has("articles"));
    EXPECT_TRUE(a.said(ToolText::profileSavedIncomplete(kept, int(partial.sets.size()))));
}

TEST(ProfileMenu, NothingIsSentWithoutAConnectionWhileBusyOrForARefusedFile)
{
    QTemporaryDir dir;
    Printer a("127.0.0.246");
    ASSERT_TRUE(a.connected);
    int requests = 0;
    QObject::connect(a.server.get(), &SimServer::requestBytes, [&](const QByteArray &) { ++requests; });

    // A file that is not a profile.
    const QString broken = dir.filePath("broken.qvp");
    QFile f(broken);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": \"quorvel-profile\", \"version\": 1, \"sets\": {");
    f.close();
    a.file = broken;
    a.menu().compareClick();
    a.menu().restoreClick();
    ASSERT_EQ(a.messages.size(), 2);
    for (const QString &m : a.messages)
        EXPECT_TRUE(m.startsWith(UiText(Txt::TitleError) + "|") && m.contains(broken) && m.contains("JSON"))
            << m.toStdString();
    EXPECT_FALSE(a.menu().running());

    // Another transfer holds the link: nothing is asked, nothing is sent.
    a.messages.clear();
    a.asked.clear();
    ASSERT_TRUE(a.link().beginChain(DeviceLink::Chain::ArticlesRead));
    a.menu().backupClick();
    EXPECT_TRUE(a.asked.isEmpty());
    ASSERT_EQ(a.messages.size(), 1);
    EXPECT_TRUE(a.messages.first().startsWith(UiText(Txt::TitleWarning)));
    a.link().endChain(DeviceLink::ChainEnd::Completed);

    // No connection.
    a.messages.clear();
    a.link().setTransport(nullptr);
    for (auto click : {&ProfileMenu::backupClick, &ProfileMenu::compareClick, &ProfileMenu::restoreClick})
        (a.menu().*click)();
    EXPECT_TRUE(a.asked.isEmpty());
    EXPECT_EQ(a.messages, QStringList(3, UiText(Txt::TitleError) + "|" + ToolText::profileNotConnected()));
    QTest::qWait(50);
    EXPECT_EQ(requests, 0);
}

TEST(ProfileMenu, ControlsAreHeldDisabledDuringTheRunAndCancelBreaksItOff)
{
    QTemporaryDir dir;
    Printer a("127.0.0.247");
    ASSERT_TRUE(a.connected);
    // Logged in: the service-mode reply turns every write button off.
    ASSERT_TRUE(a.logIn());
    auto *companyRead = a.window->findChild<QPushButton *>("btnCompanyRead");
    auto *companyWrite = a.window->findChild<QPushButton *>("btnCompanyWrite");
    auto *articlesRead = a.window->findChild<QPushButton *>("btnARead");
    ASSERT_TRUE(companyRead && companyWrite && articlesRead);
    EXPECT_TRUE(companyRead->isEnabled());
    EXPECT_FALSE(companyWrite->isEnabled());

    bool checked = false;
    QObject::connect(&a.menu().run(), &ProfileRun::stepStarted, [&](const QString &set, const QString &) {
        if (set != "articles" || checked)
            return;
        checked = true;
        // The taxpayer set was read before: its reply enables the write button, which the run holds.
        EXPECT_FALSE(companyRead->isEnabled());
        EXPECT_FALSE(companyWrite->isEnabled());
        EXPECT_FALSE(articlesRead->isEnabled());
        EXPECT_FALSE(a.menu().actBackup->isEnabled());
        EXPECT_TRUE(a.menu().progressDialog().isVisible());
        QTimer::singleShot(50, [&] {
            auto *cancel = a.menu().progressDialog().findChild<QPushButton *>();
            ASSERT_NE(cancel, nullptr);
            EXPECT_EQ(cancel->text(), ToolText::profileCancel());
            cancel->click();
        });
    });
    a.file = dir.filePath("c.qvp");
    a.menu().backupClick();
    ASSERT_TRUE(waitUntil([&] { return checked && !a.menu().running(); }, kRunMs));
    ASSERT_TRUE(waitUntil([&] { return a.said(ToolText::profileBackupCancelled()); }));
    EXPECT_FALSE(QFile::exists(a.file));
    EXPECT_FALSE(a.menu().progressDialog().isVisible());
    EXPECT_TRUE(companyRead->isEnabled());
    EXPECT_TRUE(companyWrite->isEnabled());
    EXPECT_TRUE(articlesRead->isEnabled());
    EXPECT_TRUE(a.menu().actBackup->isEnabled());
    EXPECT_FALSE(a.link().busy());
}

TEST(ProfileMenu, ClosingTheWindowBetweenSetsAsksAndYesEndsTheRun)
{
    QTemporaryDir dir;
    Printer a("127.0.0.248");
    ASSERT_TRUE(a.connected);
    bool closeTried = false, closed = false;
    // Departments are one request, not a chain: the link itself is not busy then.
    auto tryClose = [&](const QString &set, const QString &) {
        if (set != "departments" || closeTried)
            return;
        closeTried = true;
        QTimer::singleShot(0, [&] { closed = a.window->close(); });
    };
    const QMetaObject::Connection c = QObject::connect(&a.menu().run(), &ProfileRun::stepStarted, tryClose);
    a.answer = 0;
    a.file = dir.filePath("stays.qvp");
    a.menu().backupClick();
    ASSERT_TRUE(waitUntil([&] { return closeTried && !a.menu().running(); }, kRunMs));
    EXPECT_FALSE(closed);
    EXPECT_TRUE(a.said(ToolText::exitDuringTransfer()));
    // Declined: the run went on to the end.
    ASSERT_TRUE(waitUntil([&] { return QFile::exists(a.file); }));

    closeTried = false;
    a.answer = 1;
    a.messages.clear();
    a.file = dir.filePath("gone.qvp");
    a.menu().backupClick();
    ASSERT_TRUE(waitUntil([&] { return closeTried && !a.menu().running(); }, kRunMs));
    EXPECT_TRUE(closed);
    QTest::qWait(100);
    EXPECT_FALSE(QFile::exists(a.file));
    // Asked once; the run says nothing more while the window goes (the tax groups' read says how
    // many rate changes are left, as it always does).
    const QString question = UiText(Txt::TitleWarning) + "|" + ToolText::exitDuringTransfer();
    EXPECT_EQ(a.messages.count(question), 1);
    for (const QString &m : a.messages)
        EXPECT_TRUE(m == question || m.contains(QStringLiteral("пореске стопе"))) << m.toStdString();
    QObject::disconnect(c);
}
