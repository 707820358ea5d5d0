// quorvel-cli's whole-device commands against quorvel-devsim processes: back up one printer, restore
// it to another, compare, and a restore broken off by a fault that a second one finishes.

#include "DevsimProcess.h"
#include "ShopState.h"
#include "TestPty.h"
#include "ToolText.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {
struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

CliResult runCli(const QStringList &args, const QString &cwd, int timeoutMs = 180000)
{
    QProcess p;
    p.setWorkingDirectory(cwd);
    p.start(QStringLiteral(QUORVEL_CLI_PATH), args);
    CliResult r;
    if (!p.waitForStarted(5000) || !p.waitForFinished(timeoutMs))
        p.kill(), p.waitForFinished(2000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The sets a report line lists ("Уписано и проверено: taxpayer, lines" -> {taxpayer, lines}).
QStringList listed(const QString &report, const QString &line)
{
    const QString head = line.section(QStringLiteral("%1"), 0, 0);
    for (const QString &l : report.split(QLatin1Char('\n')))
        if (l.startsWith(head))
            return l.mid(head.size()).split(QStringLiteral(", "));
    return {};
}

// The sets the comparison reports as equal.
QStringList equalSets(const QString &comparison)
{
    QStringList sets;
    for (const QString &l : comparison.split(QLatin1Char('\n')))
        if (l.endsWith(QStringLiteral(": ") + ToolText::compareEqual()))
            sets << l.section(QLatin1Char(':'), 0, 0);
    return sets;
}

class ProfileCli : public ::testing::Test {
protected:
    CliResult cli(const QStringList &args) { return runCli(args, dir.path()); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};
} // namespace

TEST_F(ProfileCli, BackupRestoredToAnotherPrinterComparesEqualAndExactlyTwoChangesShow)
{
    DevsimProcess a({"--listen", "127.0.0.211:0", "--state", shopState(dir)});
    DevsimProcess b({"--listen", "127.0.0.212:0"});
    ASSERT_TRUE(a.started && b.started);

    CliResult r = cli({"--device", a.device(), "backup", "-o", path("shop.qvp")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    ASSERT_TRUE(QFile::exists(path("shop.qvp")));

    // Without a terminal and without --yes nothing is sent at all.
    const int before = b.requests();
    r = cli({"--device", b.device(), "restore", path("shop.qvp")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains(ToolText::cliProfileQuestionNeedsTerminal())) << r.err.toStdString();
    EXPECT_EQ(b.requests(), before);

    r = cli({"--device", b.device(), "restore", path("shop.qvp"), "--yes"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(listed(r.err, ToolText::profileReportVerified()),
              (QStringList{"taxpayer", "lines", "logo", "taxgroups", "departments", "articles", "cashiers", "network",
                           "parameters"}))
        << r.err.toStdString();

    r = cli({"--device", b.device(), "compare", path("shop.qvp")});
    EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(ToolText::compareOtherPrinter("AB123456 / FM654321", " / ").section('(', 0, 0)))
        << r.out.toStdString();
    EXPECT_EQ(equalSets(r.out).size(), 9) << r.out.toStdString();

    // One article and one cashier changed on B, each written through the command-line tool.
    QFile article(path("article.json"));
    ASSERT_TRUE(article.open(QIODevice::WriteOnly));
    article.write(R"({"articles": [{"number": 2401, "name": "Промењен", "price": "9.99"}]})");
    article.close();
    ASSERT_EQ(cli({"--device", b.device(), "write", "articles", path("article.json"), "--from", "2401", "--to", "2401"})
                  .exitCode,
              0);
    ASSERT_EQ(cli({"--device", b.device(), "read", "cashiers", "-o", path("cashiers.json")}).exitCode, 0);
    ASSERT_TRUE(renameCashier(path("cashiers.json"), 7, QStringLiteral("Нови касир")));
    ASSERT_EQ(cli({"--device", b.device(), "write", "cashiers", path("cashiers.json")}).exitCode, 0);

    r = cli({"--device", b.device(), "compare", path("shop.qvp")});
    EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    QStringList different;
    for (const QString &l : lines)
        if (l.endsWith(ToolText::compareDifferent()) || l.startsWith("  "))
            different << l;
    EXPECT_EQ(different, (QStringList{"articles: разликује се", "  артикала који се разликују: 1 (бројеви: 2401)",
                                      "  артикал 2401: name: „Артикал 2401“ → „Промењен“; price: „73.03“ → „9.99“",
                                      "cashiers: разликује се", "  cashiers 7.name: „Касир 7“ → „Нови касир“"}))
        << r.out.toStdString();
    EXPECT_EQ(equalSets(r.out).size(), 7);
}

TEST_F(ProfileCli, RestoreConfirmedOnATerminalSaysItIsAClone)
{
    DevsimProcess a({"--listen", "127.0.0.213:0", "--state", shopState(dir)});
    DevsimProcess b({"--listen", "127.0.0.214:0"});
    ASSERT_TRUE(a.started && b.started);
    ASSERT_EQ(cli({"--device", a.device(), "backup", "-o", path("shop.qvp")}).exitCode, 0);
    for (const char *answer : {"n\n", "y\n"}) {
        TestPty terminal;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.setStandardInputFile(terminal.slave);
        p.start(QStringLiteral(QUORVEL_CLI_PATH),
                {"--device", b.device(), "restore", path("shop.qvp"), "--only", "departments,taxgroups"});
        ASSERT_TRUE(p.waitForStarted(5000));
        QString asked;
        ASSERT_TRUE(DevsimProcess::waitFor([&] {
            asked += QString::fromUtf8(p.readAllStandardError());
            return asked.contains(ToolText::profileRestoreAsk());
        })) << asked.toStdString();
        EXPECT_TRUE(asked.contains("серијски бројеви се разликују (у профилу AB123456 / FM654321"))
            << asked.toStdString();
        EXPECT_TRUE(asked.contains("Идентитет, сат и фискална меморија се не копирају")) << asked.toStdString();
        EXPECT_TRUE(asked.contains(ToolText::profileRestoreSets("taxgroups, departments"))) << asked.toStdString();
        EXPECT_TRUE(asked.contains(ToolText::profileTaxGroupsChange(30))) << asked.toStdString();
        const int before = b.requests();
        terminal.write(answer);
        ASSERT_TRUE(p.waitForFinished(20000));
        if (answer[0] == 'n') {
            EXPECT_EQ(p.exitCode(), 2);
            EXPECT_EQ(b.requests(), before); // only the plan's two reads went out
        } else {
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
            EXPECT_GT(b.requests(), before);
        }
    }
}

namespace {
// The requests a restore of `profile` to an empty printer sends, counted from 1, at which it writes
// parameters (a parameter write goes out as "5f f9 ...").
std::vector<int> parameterWritesOfARestore(const QString &profile, const QString &cwd)
{
    DevsimProcess probe({"--listen", "127.0.0.219:0"});
    if (!probe.started || runCli({"--device", probe.device(), "restore", profile, "--yes"}, cwd).exitCode != 0)
        return {};
    probe.stop();
    probe.readLines();
    std::vector<int> at;
    int n = 0;
    for (const QString &line : std::as_const(probe.lines))
        if (line.startsWith(QStringLiteral("request ")) && (++n, line.startsWith(QStringLiteral("request 5f f9 "))))
            at.push_back(n);
    return at;
}
} // namespace

// A fault in the middle of a restore: first a reply that never comes, then a printer that goes away
// halfway through the parameters (the last set written).
TEST_F(ProfileCli, FaultMidRestoreReportsOnlyWhatIsThereAndASecondRestoreFinishes)
{
    DevsimProcess a({"--listen", "127.0.0.215:0", "--state", shopState(dir)});
    ASSERT_TRUE(a.started);
    ASSERT_EQ(cli({"--device", a.device(), "backup", "-o", path("shop.qvp")}).exitCode, 0);
    const QString state = path("b.json");
    // The same restore to the same empty printer sends the same requests: the one to go away at
    // is found on a printer that stays.
    const std::vector<int> parameterWrites = parameterWritesOfARestore(path("shop.qvp"), dir.path());
    ASSERT_GT(parameterWrites.size(), 2u);
    ASSERT_GT(parameterWrites.front(), 60000);
    const int goneAfter = parameterWrites[parameterWrites.size() / 2];

    for (const bool closeConnection : {false, true}) {
        SCOPED_TRACE(closeConnection ? "connection closed" : "reply dropped");
        QFile::remove(state);
        CliResult r;
        {
            DevsimProcess b({"--listen", "127.0.0.216:0", "--state", state,
                             closeConnection ? "--exit-after" : "--drop-reply-every",
                             closeConnection ? QString::number(goneAfter) : QStringLiteral("60")});
            ASSERT_TRUE(b.started);
            r = cli({"--device", b.device(), "restore", path("shop.qvp"), "--yes"});
            if (closeConnection) {
                EXPECT_TRUE(DevsimProcess::waitFor([&] { return b.proc.state() == QProcess::NotRunning; }));
                EXPECT_EQ(b.requests(), goneAfter);
            }
        }
        EXPECT_EQ(r.exitCode, 2) << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(ToolText::profileReportRunAgain())) << r.err.toStdString();
        const QStringList written = listed(r.err, ToolText::profileReportVerified());
        // The set the fault hit: half-written, or refused or with its read-back cut off.
        const QStringList half = listed(r.err, ToolText::profileReportHalfWritten()) +
                                 listed(r.err, ToolText::profileReportNotWrittenFailed()) +
                                 listed(r.err, ToolText::profileReportWrittenNotVerified());
        const QStringList notWritten = listed(r.err, ToolText::profileReportNotWritten());
        EXPECT_EQ(half.size(), 1) << r.err.toStdString();
        EXPECT_EQ(written.size() + half.size() + notWritten.size(), 9) << r.err.toStdString();
        if (closeConnection) {
            EXPECT_EQ(half, QStringList{"parameters"}) << r.err.toStdString();
            EXPECT_EQ(listed(r.err, ToolText::profileReportHalfWritten()), QStringList{"parameters"})
                << r.err.toStdString();
        }

        // The same printer again, without the fault: what the report called written is there.
        DevsimProcess b({"--listen", "127.0.0.217:0", "--state", state});
        ASSERT_TRUE(b.started);
        CliResult compared = cli({"--device", b.device(), "compare", path("shop.qvp")});
        const QStringList equal = equalSets(compared.out);
        for (const QString &set : written)
            EXPECT_TRUE(equal.contains(set)) << set.toStdString() << "\n" << compared.out.toStdString();

        r = cli({"--device", b.device(), "restore", path("shop.qvp"), "--yes"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_FALSE(r.err.contains(ToolText::profileReportRunAgain()));
        EXPECT_EQ(cli({"--device", b.device(), "compare", path("shop.qvp")}).exitCode, 0);
    }
}

TEST_F(ProfileCli, BrokenProfileAndBadOptionsAreRefusedBeforeConnecting)
{
    QFile f(path("broken.qvp"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": \"quorvel-profile\", \"version\": 1,\n \"sets\": {");
    f.close();
    // Nothing listens on this address: the refusal comes before any connection is tried.
    CliResult r = cli({"--device", "tcp:127.0.0.218:9", "restore", path("broken.qvp"), "--yes"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("broken.qvp")) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains("ред 2")) << r.err.toStdString();
    EXPECT_FALSE(r.err.contains("127.0.0.218")) << r.err.toStdString();
    r = cli({"--device", "tcp:127.0.0.218:9", "compare", path("missing.qvp")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("missing.qvp")) << r.err.toStdString();

    EXPECT_EQ(cli({"--device", "tcp:127.0.0.218:9", "backup"}).exitCode, 2);
    r = cli({"--device", "tcp:127.0.0.218:9", "restore", path("broken.qvp"), "--only", "taxpayer,nonsense"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("nonsense")) << r.err.toStdString();
    EXPECT_EQ(cli({"--device", "tcp:127.0.0.218:9", "compare", path("x.qvp"), "--no-verify"}).exitCode, 2);
    r = cli({"help", "restore"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("--only SET,...")) << r.out.toStdString();
}
