// The main window's Profile menu against quorvel-devsim processes over loopback TCP: a backup restored
// to another printer, changes made there by quorvel-cli, and a restore broken off by a printer that stops.
#include "DeviceLink.h"
#include "DevsimProcess.h"
#include "Profile.h"
#include "ProfileComparisonWindow.h"
#include "ProfileMenu.h"
#include "ProfileReportWindow.h"
#include "ProfileRun.h"
#include "ShopState.h"
#include "SimHarness.h"
#include "TDialog.h"
#include "TcpTransport.h"
#include "TfMain.h"
#include "ToolText.h"

#include <QFile>
#include <QMap>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {
constexpr int kRunMs = 120000;

// Texts and set lists compared as std::string, readable when a check fails.
std::string str(const QString &s)
{
    return s.toStdString();
}
std::string str(const QStringList &sets)
{
    return sets.join(QStringLiteral(", ")).toStdString();
}

int cli(const QStringList &args)
{
    QProcess p;
    p.start(QStringLiteral(QUORVEL_CLI_PATH), args);
    if (!p.waitForStarted(5000) || !p.waitForFinished(kRunMs))
        return p.kill(), p.waitForFinished(2000), -1;
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

// The whole window, its file names given by the test and every message answered yes.
struct Window {
    Window()
    {
        window.FormActivate();
        window.dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + QStringLiteral("|") + d.tekst->toPlainText());
            return 1;
        });
        menu().setFileChooser([this](ProfileMenu::FileUse) { return file; });
    }
    ProfileMenu &menu() { return *window.findChild<ProfileMenu *>(); }
    // A new connection to `printer`; the link leaves the one it had.
    bool connectTo(const DevsimProcess &printer)
    {
        transports.push_back(std::make_unique<TcpTransport>());
        const bool ok = transports.back()->connectTo(printer.where());
        window.link().setTransport(transports.back().get());
        return ok;
    }
    bool backup(const QString &path)
    {
        file = path;
        messages.clear();
        menu().backupClick();
        return waitUntil([&] { return !menu().running() && messages.join('\n').contains("„" + path); }, kRunMs);
    }
    // Starts a restore; finished() waits for its report.
    void startRestore(const QString &path)
    {
        file = path;
        messages.clear();
        menu().reportWindow().hide();
        menu().restoreClick();
    }
    bool finished()
    {
        return waitUntil([&] { return menu().reportWindow().isVisible(); }, kRunMs);
    }
    bool compare(const QString &path)
    {
        file = path;
        menu().comparisonWindow().hide();
        menu().compareClick();
        return waitUntil([&] { return menu().comparisonWindow().isVisible(); }, kRunMs);
    }
    const std::vector<SetComparison> &compared() { return menu().comparisonWindow().comparison().sets; }
    QStringList setsIn(SetComparison::State state)
    {
        QStringList sets;
        for (const SetComparison &s : compared())
            if (s.state == state)
                sets << s.set;
        return sets;
    }
    // The report window's table: set -> how it fared.
    QMap<QString, QString> outcomes()
    {
        QTableWidget *t = menu().reportWindow().tblOutcomes;
        QMap<QString, QString> map;
        for (int row = 0; row < t->rowCount(); ++row)
            map.insert(t->item(row, 0)->data(Qt::UserRole).toString(), t->item(row, 1)->text());
        return map;
    }
    QString headline() { return menu().reportWindow().lblHeadline->text(); }
    QString report() { return menu().reportWindow().txtReport->toPlainText(); }

    // Declared before the window: the link may still hold one of them while the window goes.
    std::vector<std::unique_ptr<TcpTransport>> transports;
    TfMain window;
    QString file;
    QStringList messages;
};

const QStringList kSets{"taxpayer", "lines",    "logo",    "taxgroups", "departments",
                        "articles", "cashiers", "network", "parameters"};
} // namespace

TEST(ProfileWindowE2E, BackupRestoredToAnotherPrinterComparesEqualAndOutsideChangesShow)
{
    QTemporaryDir dir;
    DevsimProcess a({"--listen", "127.0.0.231:0", "--state", shopState(dir)});
    DevsimProcess b({"--listen", "127.0.0.232:0"});
    ASSERT_TRUE(a.started && b.started);
    Window w;
    const QString path = dir.filePath("shop.qvp");
    ASSERT_TRUE(w.connectTo(a));
    ASSERT_TRUE(w.backup(path)) << str(w.messages);
    Profile saved;
    QString error;
    ASSERT_TRUE(ProfileFile::read(path, saved, error)) << str(error);
    EXPECT_TRUE(saved.complete);
    EXPECT_EQ(str(saved.identity()), "AB123456 / FM654321");

    ASSERT_TRUE(w.connectTo(b));
    w.startRestore(path);
    ASSERT_TRUE(w.finished()) << str(w.messages);
    EXPECT_EQ(str(w.headline()), str(ToolText::profileRestoreDone())) << str(w.report());
    ASSERT_FALSE(w.messages.isEmpty());
    EXPECT_TRUE(w.messages.first().endsWith(ToolText::profileRestoreAsk())) << str(w.messages.first());
    EXPECT_EQ(w.outcomes().size(), 9);
    for (const QString &set : kSets)
        EXPECT_EQ(str(w.outcomes().value(set)), str(ToolText::profileOutcomeVerified())) << str(set);
    ASSERT_TRUE(w.compare(path));
    EXPECT_EQ(str(w.setsIn(SetComparison::State::Equal)), str(kSets));
    EXPECT_EQ(w.compared().size(), size_t(9));

    // One article and one cashier changed on B by the command-line tool. The printer serves one
    // client at a time (a new one takes the connection over), so the window lets go of it first.
    w.window.link().setTransport(nullptr);
    w.transports.back()->close();
    QFile article(dir.filePath("article.json"));
    ASSERT_TRUE(article.open(QIODevice::WriteOnly));
    article.write(R"({"articles": [{"number": 2401, "name": "Промењен", "price": "9.99"}]})");
    article.close();
    ASSERT_EQ(cli({"--device", b.device(), "write", "articles", article.fileName(), "--from", "2401", "--to", "2401"}),
              0);
    QFile cashiers(dir.filePath("cashiers.json"));
    ASSERT_EQ(cli({"--device", b.device(), "read", "cashiers", "-o", cashiers.fileName()}), 0);
    ASSERT_TRUE(renameCashier(cashiers.fileName(), 7, QStringLiteral("Нови касир")));
    ASSERT_EQ(cli({"--device", b.device(), "write", "cashiers", cashiers.fileName()}), 0);

    ASSERT_TRUE(w.connectTo(b));
    ASSERT_TRUE(w.compare(path)) << str(w.messages);
    EXPECT_EQ(str(w.setsIn(SetComparison::State::Different)), "articles, cashiers");
    EXPECT_EQ(w.setsIn(SetComparison::State::Equal).size(), 7);
    for (const SetComparison &s : w.compared()) {
        if (s.set == "articles")
            EXPECT_EQ(s.articleNumbers, std::vector<int>{2401});
        if (s.set == "cashiers")
            EXPECT_EQ(str(s.differences), "cashiers 7.name: „Касир 7“ → „Нови касир“");
    }
}

TEST(ProfileWindowE2E, PrinterStoppedMidRestoreIsReportedTruthfullyAndASecondRestoreFinishes)
{
    QTemporaryDir dir;
    DevsimProcess a({"--listen", "127.0.0.233:0", "--state", shopState(dir)});
    ASSERT_TRUE(a.started);
    Window w;
    const QString path = dir.filePath("shop.qvp");
    ASSERT_TRUE(w.connectTo(a));
    ASSERT_TRUE(w.backup(path)) << str(w.messages);

    const QString state = dir.filePath("c.json");
    {
        DevsimProcess c({"--listen", "127.0.0.234:0", "--state", state});
        ASSERT_TRUE(c.started);
        ASSERT_TRUE(w.connectTo(c));
        // Well past the article table (60000 reads and the writes), the printer goes away after the
        // window has sent the fifth cashier: while the window waits for that reply.
        int sent = 0, cashiersFrom = -1;
        bool stopped = false;
        QObject scope; // ends both connections with this block
        QObject::connect(&w.menu().run(), &ProfileRun::stepStarted, &scope, [&](const QString &set, const QString &) {
            if (set == "cashiers" && cashiersFrom < 0)
                cashiersFrom = sent;
        });
        QObject::connect(&w.window.link(), &DeviceLink::frameSent, &scope, [&] {
            ++sent;
            if (cashiersFrom >= 0 && sent == cashiersFrom + 5)
                stopped = c.stop();
        });
        w.startRestore(path);
        ASSERT_TRUE(w.finished()) << str(w.messages);
        EXPECT_TRUE(stopped);
        EXPECT_GT(cashiersFrom, 60000);
    }
    EXPECT_EQ(str(w.headline()), str(ToolText::profileRestoreBroken())) << str(w.report());
    EXPECT_TRUE(w.report().contains(ToolText::profileReportRunAgain())) << str(w.report());
    EXPECT_EQ(w.outcomes().size(), 9);
    // Per set, in the table and in the report text: written and verified up to the articles, the
    // cashiers the fault hit half-written, the rest not written.
    QStringList written, hit, notWritten;
    for (const QString &set : kSets) {
        const QString outcome = w.outcomes().value(set);
        if (outcome == ToolText::profileOutcomeVerified())
            written << set;
        else if (outcome == ToolText::profileOutcomeNotStarted())
            notWritten << set;
        else
            hit << set;
    }
    EXPECT_EQ(str(written), "taxpayer, lines, logo, taxgroups, departments, articles");
    EXPECT_EQ(str(hit), "cashiers");
    EXPECT_EQ(str(w.outcomes().value("cashiers")), str(ToolText::profileOutcomeHalfWritten()));
    EXPECT_EQ(str(notWritten), "network, parameters");
    for (const QString &line : {ToolText::profileReportVerified().arg(written.join(", ")),
                                ToolText::profileReportHalfWritten().arg("cashiers"),
                                ToolText::profileReportNotWritten().arg("network, parameters")})
        EXPECT_TRUE(w.report().split('\n').contains(line)) << str(line) << "\n" << str(w.report());

    // The same printer started again on its saved state: what the report called written is there.
    DevsimProcess again({"--listen", "127.0.0.235:0", "--state", state});
    ASSERT_TRUE(again.started);
    ASSERT_TRUE(w.connectTo(again));
    ASSERT_TRUE(w.compare(path)) << str(w.messages);
    const QStringList equal = w.setsIn(SetComparison::State::Equal);
    for (const QString &set : written)
        EXPECT_TRUE(equal.contains(set)) << str(set);

    w.startRestore(path);
    ASSERT_TRUE(w.finished()) << str(w.messages);
    EXPECT_EQ(str(w.headline()), str(ToolText::profileRestoreDone())) << str(w.report());
    EXPECT_FALSE(w.report().contains(ToolText::profileReportRunAgain()));
    ASSERT_TRUE(w.compare(path));
    EXPECT_EQ(str(w.setsIn(SetComparison::State::Equal)), str(kSets));
}
