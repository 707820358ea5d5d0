// Whole-device runs without a window: backup, compare and restore against in-process simulated printers over loopback
// TCP.

#include "ProfileRun.h"
#include "ArticleRecord.h"
#include "Cp1251.h"
#include "DeviceHarness.h"
#include "Profile.h"
#include "SimArticles.h"
#include "SimCatalogue.h"
#include "SimFiscal.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTimer>

#include <gtest/gtest.h>

namespace {
using State = ProfileRun::SetState;

QByteArray articleBytes(int n, const QString &name, uint32_t price)
{
    ArticleRecord r = ArticleRecord::fresh(n);
    r.name = Cp1251::encode(name);
    r.price = price;
    return r.encode();
}

// Printer A as a shop has it: a few articles, two cashiers, its own serial numbers and rates.
void fillShop(SimulatedDevice &sim)
{
    auto *articles = sim.module<SimArticles>();
    articles->setArticle(3, articleBytes(3, QStringLiteral("Хлеб"), 5500));
    articles->setArticle(4, articleBytes(4, QStringLiteral("Млеко"), 12000));
    articles->setArticle(500, articleBytes(500, QStringLiteral("Јогурт"), 9900));
    articles->setCashier(1, Cp1251::encode(QStringLiteral("Ана")));
    articles->setCashier(2, Cp1251::encode(QStringLiteral("Бојан")));
    auto *fiscal = sim.module<SimFiscal>();
    fiscal->setCashRegisterSerial(QStringLiteral("AA000001"));
    fiscal->setFiscalMemorySerial(QStringLiteral("FA000001"));
    fiscal->setTaxpayer(Cp1251::encode(QStringLiteral("Краља Петра 12")).leftJustified(32, '\0') +
                        Cp1251::encode(QStringLiteral("Петар")).leftJustified(32, '\0') +
                        Cp1251::encode(QStringLiteral("Пекара Код Моста")).leftJustified(32, '\0') +
                        QByteArray("011/123").leftJustified(32, '\0') + QByteArray("12345678").leftJustified(32, '\0'));
    sim.module<SimCatalogue>()->setRate(3, 500);
    sim.module<SimCatalogue>()->setDepartmentName(1, QStringLiteral("Пекара"));
}

struct RunWatch {
    explicit RunWatch(Device &device) : run(device)
    {
        QObject::connect(&run, &ProfileRun::finished, [this](const OpResult &r) {
            result = r;
            ++ends;
        });
    }
    // Starts one run with `start` and waits for its end.
    OpResult wait(const std::function<void()> &start, int timeoutMs = 120000)
    {
        const int before = ends;
        start();
        DeviceHarness::wait([&] { return ends > before; }, timeoutMs);
        EXPECT_EQ(ends, before + 1) << "finished once";
        return result;
    }
    State state(const QString &set) const
    {
        for (const auto &o : run.outcomes())
            if (o.set == set)
                return o.state;
        return State::NotStarted;
    }
    ProfileRun run;
    OpResult result;
    int ends = 0;
};

Profile backupOf(DeviceHarness &h)
{
    RunWatch r(h.device);
    const OpResult result = r.wait([&] { r.run.backup(); });
    EXPECT_TRUE(result.ok()) << result.message.toStdString();
    return r.run.profile();
}
} // namespace

TEST(ProfileRun, BackupOfOnePrinterRestoredToAnotherComparesEqualAndWritesOnlyDifferingArticles)
{
    DeviceHarness a(QStringLiteral("127.0.0.201"));
    DeviceHarness b(QStringLiteral("127.0.0.202"));
    ASSERT_TRUE(a.connected && b.connected);
    fillShop(a.sim);

    RunWatch backup(a.device);
    QSignalSpy progress(&backup.run, &ProfileRun::progress);
    ASSERT_TRUE(backup.wait([&] { backup.run.backup(); }).ok()) << backup.result.message.toStdString();
    const Profile saved = backup.run.profile();
    EXPECT_TRUE(saved.complete);
    EXPECT_EQ(saved.setNames(), (QStringList{"fiscal", "taxpayer", "lines", "logo", "taxgroups", "departments",
                                             "articles", "cashiers", "network", "parameters"}));
    EXPECT_EQ(saved.identity(), "AA000001 / FA000001");
    EXPECT_EQ(saved.sets["articles"].toObject()["articles"].toArray().size(), 3);
    // One progress over the run, ending at its total.
    ASSERT_GT(progress.size(), 100);
    EXPECT_EQ(progress.last().at(0), progress.last().at(1));
    for (const auto &p : progress)
        EXPECT_LE(p.at(0).toInt(), p.at(1).toInt());

    // Through a file and back, as a technician carries it.
    Profile carried;
    QString error;
    ASSERT_TRUE(ProfileFile::decode(ProfileFile::encode(saved), carried, error)) << error.toStdString();

    RunWatch restore(b.device);
    ASSERT_TRUE(restore.wait([&] { restore.run.prepareRestore(carried); }).ok())
        << restore.result.message.toStdString();
    const ProfileRun::RestorePlan &plan = restore.run.plan();
    EXPECT_TRUE(plan.clone);
    EXPECT_TRUE(plan.taxGroupsDiffer);
    EXPECT_EQ(plan.taxRateChangesLeft, 30);
    EXPECT_EQ(plan.sets, (QStringList{"taxpayer", "lines", "logo", "taxgroups", "departments", "articles", "cashiers",
                                      "network", "parameters"}));
    const QString question = plan.question();
    EXPECT_TRUE(question.contains("AA000001 / FA000001")) << question.toStdString();
    EXPECT_TRUE(question.contains("фискална меморија се не копирају")) << question.toStdString();
    EXPECT_TRUE(question.contains("сада их има 30, после уписа 29")) << question.toStdString();

    const int writesBefore = b.sim.module<SimArticles>()->articleWrites();
    ASSERT_TRUE(restore.wait([&] { restore.run.restore(); }).ok()) << restore.run.report().toStdString();
    for (const QString &set : plan.sets)
        EXPECT_EQ(restore.state(set), State::Verified) << set.toStdString();
    // Articles 3, 4 and 500: two blocks, each a chain of its own; nothing else of the 60000.
    EXPECT_LE(b.sim.module<SimArticles>()->articleWrites() - writesBefore, 6);
    EXPECT_EQ(b.sim.module<SimArticles>()->article(500), a.sim.module<SimArticles>()->article(500));
    EXPECT_TRUE(restore.run.report().startsWith("Уписано и проверено: taxpayer, lines, logo"))
        << restore.run.report().toStdString();

    RunWatch compare(b.device);
    ASSERT_TRUE(compare.wait([&] { compare.run.compare(carried); }).ok());
    EXPECT_TRUE(compare.run.comparison().equal()) << compare.run.comparison().text().toStdString();
    EXPECT_FALSE(compare.run.comparison().identityNote.isEmpty());

    // Once the rates are there, a second restore leaves the tax groups (and their changes) alone.
    ASSERT_TRUE(restore.wait([&] { restore.run.prepareRestore(carried, {"taxgroups", "articles"}); }).ok());
    EXPECT_EQ(restore.run.plan().sets, QStringList{"articles"});
    ASSERT_TRUE(restore.wait([&] { restore.run.restore(); }).ok());
    EXPECT_EQ(restore.state("taxgroups"), State::Unchanged);
    EXPECT_EQ(restore.state("articles"), State::Unchanged);
    EXPECT_EQ(b.sim.module<SimCatalogue>()->changeCount(), 1);
}

TEST(ProfileRun, DroppedConnectionMidRestoreIsReportedExactlyAndASecondRestoreFinishes)
{
    DeviceHarness a(QStringLiteral("127.0.0.203"));
    DeviceHarness b(QStringLiteral("127.0.0.204"));
    ASSERT_TRUE(a.connected && b.connected);
    fillShop(a.sim);
    Profile saved = backupOf(a);
    saved.sets.remove("taxgroups"); // the rates are a separate matter here
    saved.sets.remove("articles");

    // The connection goes away once the first of the two cashiers has been written.
    int cashierWrites = 0;
    QObject::connect(b.server.get(), &SimServer::requestAnswered, b.server.get(),
                     [&](const QByteArray &request, const QByteArray &) {
                         if (request.size() > 1 && uchar(request.at(1)) == 0x95 && ++cashierWrites == 1)
                             b.server->dropClient();
                     });
    RunWatch restore(b.device);
    ASSERT_TRUE(restore.wait([&] { restore.run.prepareRestore(saved); }).ok());
    const OpResult broken = restore.wait([&] { restore.run.restore(); });
    EXPECT_EQ(broken.kind, OpResult::Kind::ConnectionLost) << broken.message.toStdString();
    EXPECT_TRUE(broken.message.contains("„cashiers“")) << broken.message.toStdString();
    EXPECT_EQ(restore.state("departments"), State::Verified);
    EXPECT_EQ(restore.state("cashiers"), State::HalfWritten);
    EXPECT_EQ(restore.state("network"), State::NotStarted);
    const QString report = restore.run.report();
    EXPECT_TRUE(report.startsWith("Уписано и проверено: taxpayer, lines, logo, departments\n"
                                  "Делимично уписано: cashiers\n"
                                  "Није уписано: network, parameters\n"))
        << report.toStdString();
    EXPECT_TRUE(report.endsWith("Поновите враћање профила да бисте довршили посао.\n")) << report.toStdString();

    // Connected again, the same restore finishes the job and verifies it.
    TcpTransport again;
    ASSERT_TRUE(again.connectTo(QStringLiteral("127.0.0.204:") + QString::number(b.server->port())));
    b.link.setTransport(&again);
    cashierWrites = -1000000;
    ASSERT_TRUE(restore.wait([&] { restore.run.prepareRestore(saved); }).ok());
    ASSERT_TRUE(restore.wait([&] { restore.run.restore(); }).ok()) << restore.run.report().toStdString();
    EXPECT_EQ(restore.run.report(),
              "Уписано и проверено: taxpayer, lines, logo, departments, cashiers, network, parameters\n");
    EXPECT_EQ(b.sim.module<SimArticles>()->cashier(2), a.sim.module<SimArticles>()->cashier(2));
}

TEST(ProfileRun, BackupStoppedByAFaultNamesTheSetAndKeepsWhatWasReadAsIncomplete)
{
    DeviceHarness a(QStringLiteral("127.0.0.205"));
    ASSERT_TRUE(a.connected);
    QObject::connect(a.server.get(), &SimServer::requestAnswered, a.server.get(),
                     [&](const QByteArray &request, const QByteArray &) {
                         if (request.size() > 1 && uchar(request.at(1)) == 0x90) // the first cashier read
                             a.server->dropClient();
                     });
    RunWatch r(a.device);
    const OpResult result = r.wait([&] { r.run.backup(); });
    EXPECT_EQ(result.kind, OpResult::Kind::ConnectionLost);
    EXPECT_TRUE(result.message.contains("„cashiers“")) << result.message.toStdString();
    const Profile &kept = r.run.profile();
    EXPECT_FALSE(kept.complete);
    EXPECT_EQ(kept.setNames(),
              (QStringList{"fiscal", "taxpayer", "lines", "logo", "taxgroups", "departments", "articles"}));
    EXPECT_EQ(r.state("articles"), State::Read);
    EXPECT_EQ(r.state("cashiers"), State::Failed);
    EXPECT_EQ(r.state("network"), State::NotStarted);
    // Saved only when asked, it stays marked incomplete.
    Profile back;
    QString error;
    ASSERT_TRUE(ProfileFile::decode(ProfileFile::encode(kept), back, error)) << error.toStdString();
    EXPECT_FALSE(back.complete);
}

TEST(ProfileRun, CancelDuringTheArticleChainEndsTheBackupWithWhatWasRead)
{
    DeviceHarness a(QStringLiteral("127.0.0.206"));
    ASSERT_TRUE(a.connected);
    RunWatch r(a.device);
    QObject::connect(&r.run, &ProfileRun::stepStarted, &r.run, [&](const QString &set, const QString &) {
        if (set == "articles")
            QTimer::singleShot(300, &r.run, [&] { r.run.cancel(); });
    });
    const OpResult result = r.wait([&] { r.run.backup(); }, 30000);
    EXPECT_EQ(result.kind, OpResult::Kind::Cancelled);
    EXPECT_FALSE(r.run.running());
    EXPECT_FALSE(r.run.profile().complete);
    EXPECT_TRUE(r.run.profile().has("departments"));
    EXPECT_FALSE(r.run.profile().has("articles"));
    // The link is free again: another run goes through.
    EXPECT_TRUE(r.wait([&] { r.run.prepareRestore(r.run.profile(), {"departments"}); }).ok())
        << r.result.message.toStdString();
}

TEST(ProfileRun, NoRateChangeLeftSkipsTaxGroupsAndAVerifyThatFindsADifferenceSaysSo)
{
    DeviceHarness a(QStringLiteral("127.0.0.207"));
    DeviceHarness b(QStringLiteral("127.0.0.208"));
    ASSERT_TRUE(a.connected && b.connected);
    fillShop(a.sim);
    Profile saved = backupOf(a);
    const QJsonObject keep{{"taxgroups", saved.sets["taxgroups"]},
                           {"departments", saved.sets["departments"]},
                           {"fiscal", saved.sets["fiscal"]}};
    saved.sets = keep;
    b.sim.module<SimCatalogue>()->setChangeCount(SimCatalogue::kMaxChanges);
    // The device keeps another name than the one written.
    QObject::connect(b.server.get(), &SimServer::requestAnswered, b.server.get(),
                     [&](const QByteArray &request, const QByteArray &) {
                         if (request.size() > 1 && uchar(request.at(1)) == 0xA5)
                             b.sim.module<SimCatalogue>()->setDepartmentName(2, QStringLiteral("Друго"));
                     });

    RunWatch r(b.device);
    ASSERT_TRUE(r.wait([&] { r.run.prepareRestore(saved); }).ok()) << r.result.message.toStdString();
    EXPECT_EQ(r.run.plan().sets, QStringList{"departments"});
    EXPECT_EQ(r.run.plan().taxRateChangesLeft, 0);
    ASSERT_EQ(r.run.plan().notes.size(), 1);
    EXPECT_TRUE(r.run.plan().notes[0].contains("нема више ниједну промену")) << r.run.plan().notes[0].toStdString();
    EXPECT_TRUE(r.run.plan().question().contains(r.run.plan().notes[0]));

    const OpResult result = r.wait([&] { r.run.restore(); });
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.message.contains("„departments“")) << result.message.toStdString();
    EXPECT_EQ(r.state("taxgroups"), State::Skipped);
    EXPECT_EQ(r.state("departments"), State::Mismatch);
    const QString report = r.run.report();
    EXPECT_TRUE(report.contains("Уписано, али се после уписа разликује: departments")) << report.toStdString();
    EXPECT_TRUE(report.contains("Прескочено: taxgroups")) << report.toStdString();
    EXPECT_TRUE(report.contains("„Друго“")) << report.toStdString();
    EXPECT_EQ(b.sim.module<SimCatalogue>()->changeCount(), SimCatalogue::kMaxChanges);

    // Sets the profile does not hold, or that are never restored, are refused before anything is sent.
    const quint64 requests = b.sim.requestCount();
    EXPECT_EQ(r.wait([&] { r.run.prepareRestore(saved, {"cashiers"}); }).kind, OpResult::Kind::Invalid);
    EXPECT_EQ(r.wait([&] { r.run.prepareRestore(saved, {"fiscal"}); }).kind, OpResult::Kind::Invalid);
    EXPECT_EQ(r.wait([&] { r.run.prepareRestore(saved, {"clock"}); }).kind, OpResult::Kind::Invalid);
    EXPECT_EQ(b.sim.requestCount(), requests);
}
