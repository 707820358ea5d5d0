// quorvel-cli as a process against quorvel-devsim processes, over loopback TCP and a pseudo-terminal:
// every data set copied from one printer to another, the refusals that must change nothing, the
// frame log, the progress bar, Ctrl-C, and what the tool links.
#include "ArticleRecord.h"
#include "Cp1251.h"
#include "DataSet.h"
#include "DevsimProcess.h"
#include "Profile.h"
#include "ReceiptLinesRecord.h"
#include "SimArticles.h"
#include "SimCatalogue.h"
#include "SimFiscal.h"
#include "SimMaintenance.h"
#include "SimulatedDevice.h"
#include "TaxpayerRecord.h"
#include "TestPty.h"
#include "ToolText.h"
#include "UiText.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>

namespace {
struct CliResult {
    bool finished = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString errText() const { return QString::fromUtf8(err); }
};

// Runs quorvel-cli in `cwd` (a fresh directory: no fkase.ini unless the test writes one).
CliResult runCli(const QStringList &args, const QString &cwd, int timeoutMs = 120000)
{
    QProcess p;
    p.setWorkingDirectory(cwd);
    p.start(QStringLiteral(QUORVEL_CLI_PATH), args);
    CliResult r;
    r.finished = p.waitForStarted(5000) && p.waitForFinished(timeoutMs);
    if (!r.finished)
        p.kill(), p.waitForFinished(2000);
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QJsonValue parseJson(const QByteArray &bytes)
{
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
    return doc.isArray() ? QJsonValue(doc.array()) : doc.isObject() ? QJsonValue(doc.object()) : QJsonValue();
}

QJsonValue readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? parseJson(f.readAll()) : QJsonValue();
}

void writeText(const QString &path, const QByteArray &text)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

// Equal JSON, except that date-times (a clock that runs on) may differ by a few seconds.
bool sameJson(const QJsonValue &a, const QJsonValue &b)
{
    if (a.type() != b.type())
        return false;
    if (a.isObject()) {
        const QJsonObject x = a.toObject(), y = b.toObject();
        if (x.keys() != y.keys())
            return false;
        for (const QString &k : x.keys())
            if (!sameJson(x[k], y[k]))
                return false;
        return true;
    }
    if (a.isArray()) {
        const QJsonArray x = a.toArray(), y = b.toArray();
        if (x.size() != y.size())
            return false;
        for (qsizetype i = 0; i < x.size(); ++i)
            if (!sameJson(x[i], y[i]))
                return false;
        return true;
    }
    if (a.isString() && a != b) {
        static const QRegularExpression dateTime(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d[T ]\\d\\d:\\d\\d(:\\d\\d)?$"));
        const QString s = a.toString(), t = b.toString();
        if (!dateTime.match(s).hasMatch() || !dateTime.match(t).hasMatch())
            return false;
        const QDateTime ds = QDateTime::fromString(QString(s).replace(' ', 'T'), Qt::ISODate);
        const QDateTime dt = QDateTime::fromString(QString(t).replace(' ', 'T'), Qt::ISODate);
        return ds.isValid() && dt.isValid() && qAbs(ds.secsTo(dt)) <= 10;
    }
    return a == b;
}

// Fields of a set's JSON that the device keeps by itself: a write does not copy them but changes
// them (a tax-group write uses up one of the device's rate changes and dates it).
QJsonValue withoutDeviceOwned(const QString &set, const QJsonValue &data)
{
    static const QHash<QString, QStringList> owned = {
        {QStringLiteral("taxgroups"), {"lastChange", "remainingChanges"}}};
    QJsonObject o = data.toObject();
    if (!data.isObject() || !owned.contains(set))
        return data;
    for (const QString &key : owned[set])
        o.remove(key);
    return o;
}

// A printer that has been in use: every data set holds something a fresh one does not.
void seedUsedPrinter(SimulatedDevice &d, int articles)
{
    auto *fiscal = d.module<SimFiscal>();
    TaxpayerRecord taxpayer;
    const char *texts[] = {"Краља Петра 12", "Продавница Код Моста", "011/123-456", "Петар Петровић", "12345678"};
    for (int i = 0; i < TaxpayerRecord::kFieldCount; ++i)
        taxpayer.fields[size_t(i)] = QString::fromUtf8(texts[i % 5]);
    fiscal->setTaxpayer(taxpayer.encode());
    ReceiptLinesRecord lines;
    for (int i = 0; i < 4; ++i) {
        lines.receipt[size_t(i)] = QStringLiteral("Ред рачуна %1").arg(i + 1);
        lines.receiptOn[size_t(i)] = i % 2 == 0;
        lines.display[size_t(i)] = QStringLiteral("Дисплеј %1").arg(i + 1);
        lines.displayOn[size_t(i)] = i % 2 == 1;
    }
    fiscal->setReceiptLines(lines.encode());
    QByteArray logo(SimFiscal::kLogoSize, '\0');
    for (int i = 0; i < logo.size(); ++i)
        logo[i] = char((i * 37 + i / 256) & 0xFF);
    fiscal->setLogo(logo);
    fiscal->setLogoFlag(0xCC);
    fiscal->setClock(QDateTime(QDate(2031, 5, 6), QTime(7, 8, 9), Qt::UTC));
    fiscal->setCashRegisterSerial(QStringLiteral("AB123456"));
    fiscal->setFiscalMemorySerial(QStringLiteral("FM654321"));
    fiscal->setFiscalised(QByteArray("\x12\x34\x56\x78\x90\x12\x34", 7),
                          QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5), Qt::UTC));

    auto *catalogue = d.module<SimCatalogue>();
    for (int g = 0; g < SimCatalogue::kGroups; ++g)
        catalogue->setRate(g, uint16_t(100 * g + 5));
    for (int n = 1; n <= SimCatalogue::kDepartments; ++n)
        catalogue->setDepartmentName(n, QStringLiteral("Одељење %1").arg(n));
    catalogue->setRestaurantMode(true);

    auto *store = d.module<SimArticles>();
    for (int i = 0; i < articles; ++i) {
        // Spread over the whole table: the first, the last and everything between.
        const int n = articles >= SimArticles::kArticles ? i + 1 : 1 + int(qint64(i) * 59999 / qMax(1, articles - 1));
        ArticleRecord r;
        r.number = uint16_t(n);
        r.name = Cp1251::encode(QStringLiteral("Артикал %1 ђжш").arg(n));
        r.department = uint8_t(n % 10);
        r.price = uint32_t(n * 7 + 1);
        r.taxIndex = uint8_t(n % 9);
        const QString digits = QStringLiteral("860%1").arg(n, 7, 10, QLatin1Char('0'));
        for (int b = 0; b < 7; ++b) {
            const int hi = 2 * b < digits.size() ? digits[2 * b].digitValue() : 0xF;
            const int lo = 2 * b + 1 < digits.size() ? digits[2 * b + 1].digitValue() : 0xF;
            r.barcode[size_t(b)] = uint8_t(hi << 4 | lo);
        }
        store->setArticle(n, r.encode());
    }
    for (int k = 1; k <= SimArticles::kCashiers; ++k)
        store->setCashier(k, Cp1251::encode(QStringLiteral("Касир %1").arg(k)));

    auto *maintenance = d.module<SimMaintenance>();
    maintenance->setSetting(0, {192, 168, 1, 50});
    maintenance->setSetting(1, {255, 255, 255, 0});
    maintenance->setSetting(2, {192, 168, 1, 1});
    maintenance->setTcpPort(4321);
    for (int n = 0; n < SimMaintenance::kParameters; ++n)
        maintenance->setParameter(n, uint16_t(1000 + n));
}

// Saves a used printer's state for `devsim --state`.
QString usedPrinterState(const QTemporaryDir &dir, const QString &name, int articles = 40)
{
    SimulatedDevice d;
    seedUsedPrinter(d, articles);
    const QString path = dir.filePath(name);
    QString error;
    EXPECT_TRUE(d.saveToFile(path, &error)) << error.toStdString();
    return path;
}

QJsonObject stateOf(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object() : QJsonObject();
}

// The data set with the most request frames in a read (the longest chain there is).
const DataSet *longestRead()
{
    const DataSet *best = nullptr;
    for (const DataSet *s : allDataSets())
        if (!best || s->readFrames() > best->readFrames())
            best = s;
    return best;
}

class Cli : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QFile::exists(QStringLiteral(QUORVEL_CLI_PATH))) << QUORVEL_CLI_PATH;
        ASSERT_TRUE(dir.isValid());
    }
    CliResult cli(const QStringList &args, int timeoutMs = 120000) { return runCli(args, dir.path(), timeoutMs); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// Printer A has been in use, printer B is fresh; both on TCP or both on a pseudo-terminal.
class CliCopy : public Cli, public ::testing::WithParamInterface<bool> {};
} // namespace

TEST_P(CliCopy, EverySetReadFromOnePrinterAndWrittenToAnotherReadsBackEqual)
{
    const bool pty = GetParam();
    const QString stateA = usedPrinterState(dir, QStringLiteral("a.json"));
    DevsimProcess a(pty ? QStringList{"--pty", "--state", stateA}
                        : QStringList{"--listen", "127.0.0.71:0", "--state", stateA});
    DevsimProcess b(pty ? QStringList{"--pty"} : QStringList{"--listen", "127.0.0.72:0"});
    ASSERT_TRUE(a.started && b.started);

    int copied = 0;
    for (const DataSet *set : allDataSets()) {
        const QString name = set->name();
        SCOPED_TRACE(name.toStdString());
        if (name == QStringLiteral("articles"))
            continue; // the whole table has a test of its own below
        const QString fromA = path(name + QStringLiteral("-a.json"));
        const CliResult readA = cli({"--device", a.device(), "--quiet", "read", name, "-o", fromA});
        ASSERT_EQ(readA.exitCode, 0) << readA.errText().toStdString();
        EXPECT_TRUE(readA.out.isEmpty());
        const QJsonValue dataA = readFile(fromA);
        ASSERT_FALSE(dataA.isUndefined() || dataA.isNull());

        if (!set->writable()) {
            const int before = b.requests();
            const CliResult w = cli({"--device", b.device(), "write", name, fromA, "--yes"});
            EXPECT_EQ(w.exitCode, 2);
            EXPECT_TRUE(w.errText().contains(ToolText::cliFiscalNotWritable())) << w.errText().toStdString();
            EXPECT_EQ(b.requests(), before);
            continue;
        }
        // The used printer holds something the fresh one does not, so the copy shows.
        const CliResult freshB = cli({"--device", b.device(), "read", name});
        ASSERT_EQ(freshB.exitCode, 0) << freshB.errText().toStdString();
        EXPECT_FALSE(sameJson(parseJson(freshB.out), dataA))
            << "the used printer's " << name.toStdString() << " looks fresh";

        const CliResult w = cli({"--device", b.device(), "--quiet", "write", name, fromA, "--yes"});
        ASSERT_EQ(w.exitCode, 0) << w.errText().toStdString();
        EXPECT_TRUE(w.err.isEmpty()) << w.errText().toStdString();
        const CliResult readB = cli({"--device", b.device(), "read", name});
        ASSERT_EQ(readB.exitCode, 0) << readB.errText().toStdString();
        const QJsonObject fresh = parseJson(freshB.out).toObject(), after = parseJson(readB.out).toObject();
        if (fresh.contains("remainingChanges"))
            EXPECT_EQ(after.value("remainingChanges").toInt(), fresh.value("remainingChanges").toInt() - 1);
        if (name == QStringLiteral("clock")) {
            // The printer's clock runs on after the write: the read-back is the same moment or a few
            // seconds later (a slow, sanitized build takes that long between the two processes).
            const auto moment = [](const QJsonObject &o) {
                return QDateTime::fromString(o.value("date").toString() + QLatin1Char('T') + o.value("time").toString(),
                                             Qt::ISODate);
            };
            const qint64 late = moment(dataA.toObject()).secsTo(moment(after));
            EXPECT_TRUE(late >= 0 && late <= 5)
                << "A: " << QJsonDocument(dataA.toObject()).toJson().toStdString() << "B: " << readB.out.toStdString();
        } else {
            EXPECT_TRUE(sameJson(withoutDeviceOwned(name, parseJson(readB.out)), withoutDeviceOwned(name, dataA)))
                << "A: " << QJsonDocument(dataA.toObject()).toJson().toStdString() << "B: " << readB.out.toStdString();
        }
        ++copied;
    }
    EXPECT_GE(copied, 1);
}

INSTANTIATE_TEST_SUITE_P(Transports, CliCopy, ::testing::Values(false, true),
                         [](const auto &info) { return info.param ? "PseudoTerminal" : "Tcp"; });

TEST_F(Cli, SixtyThousandArticlesWrittenAndReadBack)
{
    if (!findDataSet(QStringLiteral("articles")))
        GTEST_SKIP() << "the articles data set is not in the device layer yet";
    const QString stateA = usedPrinterState(dir, QStringLiteral("a.json"), SimArticles::kArticles);
    DevsimProcess a({"--listen", "127.0.0.73:0", "--state", stateA});
    DevsimProcess b({"--listen", "127.0.0.74:0"});
    ASSERT_TRUE(a.started && b.started);

    const CliResult readA = cli({"--device", a.device(), "read", "articles", "-o", path("articles.json")});
    ASSERT_EQ(readA.exitCode, 0) << readA.errText().toStdString();
    const QJsonValue dataA = readFile(path("articles.json"));
    const QJsonArray list = dataA.toObject().value("articles").toArray();
    ASSERT_EQ(list.size(), SimArticles::kArticles);
    const QJsonObject last = list.last().toObject();
    EXPECT_EQ(last.value("number").toInt(), 60000);
    EXPECT_EQ(last.value("name").toString(), QStringLiteral("Артикал 60000 ђжш"));
    EXPECT_EQ(last.value("price").toString(), QStringLiteral("4200.01")); // 420001 hundredths, exact
    EXPECT_EQ(last.value("barcode").toString(), QStringLiteral("8600060000"));

    const CliResult w = cli({"--device", b.device(), "write", "articles", path("articles.json")});
    ASSERT_EQ(w.exitCode, 0) << w.errText().toStdString();
    const CliResult readB = cli({"--device", b.device(), "read", "articles"});
    ASSERT_EQ(readB.exitCode, 0) << readB.errText().toStdString();
    EXPECT_TRUE(parseJson(readB.out) == dataA);
}

TEST_F(Cli, BadFileUnknownSetAndInvalidDataAreRefusedWithNothingSent)
{
    DevsimProcess sim({"--listen", "127.0.0.75:0"});
    ASSERT_TRUE(sim.started);
    const QString dev = sim.device();

    writeText(path("broken.json"), "{\"premises\": \"Радња\",");
    CliResult r = cli({"--device", dev, "write", "taxpayer", path("broken.json")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("није исправан JSON"))) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().contains(path("broken.json")));

    r = cli({"--device", dev, "write", "taxpayer", path("missing.json")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("не може да се прочита"))) << r.errText().toStdString();

    for (const QStringList &command : {QStringList{"read", "nosuchset"}, QStringList{"write", "nosuchset", "x.json"}}) {
        r = cli(QStringList{"--device", dev} + command);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.errText().contains(QStringLiteral("unknown SET 'nosuchset'"))) << r.errText().toStdString();
        EXPECT_TRUE(r.errText().contains(QStringLiteral("taxpayer")));
    }

    // JSON of the wrong shape fails every set's own checks.
    writeText(path("numbers.json"), "[1, 2, 3]");
    for (const DataSet *set : allDataSets()) {
        if (!set->writable())
            continue;
        SCOPED_TRACE(set->name().toStdString());
        r = cli({"--device", dev, "write", set->name(), path("numbers.json"), "--yes"});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_FALSE(r.err.trimmed().isEmpty());
    }

    // Characters the printer's code page cannot hold are named, never sent as "?".
    writeText(path("euro.json"), QJsonDocument(QJsonObject{{"premises", "Радња"},
                                                           {"address", "Улица 1"},
                                                           {"telephone", "011"},
                                                           {"trader", "Ана € Ω"},
                                                           {"statisticalNumber", "123"}})
                                     .toJson());
    r = cli({"--device", dev, "write", "taxpayer", path("euro.json")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("Ω"))) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().contains(QStringLiteral("Ништа није послато")));

    DevsimProcess::waitFor([] { return false; }, 200);
    EXPECT_EQ(sim.requests(), 0) << sim.lines.join("\n").toStdString();
}

TEST_F(Cli, RefusedWritesSayWhyAndChangeNothing)
{
    // The data to write, read from a used printer.
    const QString used = usedPrinterState(dir, QStringLiteral("used.json"));
    QStringList writable;
    {
        DevsimProcess source({"--listen", "127.0.0.76:0", "--state", used});
        ASSERT_TRUE(source.started);
        for (const DataSet *set : allDataSets()) {
            if (!set->writable())
                continue;
            const CliResult r = cli({"--device", source.device(), "read", set->name(), "-o", path(set->name())});
            ASSERT_EQ(r.exitCode, 0) << set->name().toStdString() << ": " << r.errText().toStdString();
            writable << set->name();
        }
    }
    // A fresh printer that refuses every data command.
    SimulatedDevice fresh;
    const QString state = path("refusing.json");
    ASSERT_TRUE(fresh.saveToFile(state));
    const QJsonObject before = stateOf(state);
    DevsimProcess sim({"--listen", "127.0.0.77:0", "--error", "16", "--state", state});
    ASSERT_TRUE(sim.started);
    for (const QString &name : writable) {
        SCOPED_TRACE(name.toStdString());
        const int sent = sim.requests();
        const CliResult r = cli({"--device", sim.device(), "write", name, path(name), "--yes"});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.errText().contains(QStringLiteral("Погрешан параметар"))) << r.errText().toStdString();
        EXPECT_EQ(r.errText().count(QStringLiteral("Погрешан параметар")), 1) << r.errText().toStdString();
        EXPECT_GT(sim.requests(), sent); // it was the device that refused
    }
    ASSERT_TRUE(sim.stop());
    EXPECT_EQ(stateOf(state), before);
}

TEST_F(Cli, SilentDeviceAndClosedConnectionEndWithAMessage)
{
    DevsimProcess silent({"--listen", "127.0.0.78:0", "--silent-after", "0"});
    ASSERT_TRUE(silent.started);
    CliResult r = cli({"--device", silent.device(), "read", "taxpayer"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(UiText(Txt::NoAnswer))) << r.errText().toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    // The printer goes away in the middle of the longest read there is.
    const DataSet *longest = longestRead();
    DevsimProcess going({"--listen", "127.0.0.79:0", "--baud", "19200"});
    ASSERT_TRUE(going.started);
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(QUORVEL_CLI_PATH), {"--device", going.device(), "read", longest->name()});
    ASSERT_TRUE(p.waitForStarted(5000));
    ASSERT_TRUE(DevsimProcess::waitFor([&] { return going.requests() >= 1; }));
    going.proc.kill();
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), 2);
    const QString err = QString::fromUtf8(p.readAllStandardError());
    EXPECT_TRUE(err.contains(ToolText::ConnectionLost())) << err.toStdString();
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());

    r = cli({"--device", going.device(), "read", "taxpayer"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("није успостављена"))) << r.errText().toStdString();
}

TEST_F(Cli, CtrlCBreaksTheChainOffAndExits130)
{
    const DataSet *longest = longestRead();
    if (longest->readFrames() < 100)
        GTEST_SKIP() << "no data set with a long read chain yet";
    DevsimProcess sim({"--listen", "127.0.0.80:0", "--baud", "57600"});
    ASSERT_TRUE(sim.started);
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(QUORVEL_CLI_PATH), {"--device", sim.device(), "read", longest->name()});
    ASSERT_TRUE(p.waitForStarted(5000));
    ASSERT_TRUE(DevsimProcess::waitFor([&] { return sim.requests() >= 20; }));
    ::kill(pid_t(p.processId()), SIGINT);
    ASSERT_TRUE(p.waitForFinished(10000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 130);
    EXPECT_TRUE(p.readAllStandardOutput().isEmpty());
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains(ToolText::cliInterrupted()));
    // Nothing more was asked of the printer once the chain was broken off.
    DevsimProcess::waitFor([] { return false; }, 300);
    const int after = sim.requests();
    DevsimProcess::waitFor([] { return false; }, 700);
    EXPECT_EQ(sim.requests(), after);
    EXPECT_LT(after, longest->readFrames());
}

TEST_F(Cli, LogHasOneLinePerFrameWithTimeDirectionBytesAndName)
{
    DevsimProcess sim({"--listen", "127.0.0.81:0"});
    ASSERT_TRUE(sim.started);
    const QString log = path("frames.log");
    CliResult r = cli({"--device", sim.device(), "--log", log, "read", "taxpayer"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    QFile f(log);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << lines.join("\n").toStdString();
    const QRegularExpression shape(
        QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} (->|<-)( [0-9a-f]{2})+  \\((.+)\\)$"));
    for (const QString &line : lines)
        EXPECT_TRUE(shape.match(line).hasMatch()) << line.toStdString();
    EXPECT_TRUE(lines[0].contains(" -> 5f 30 00 0d  (read taxpayer)")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].mid(12).startsWith(" <- 5f 30 a0 ")) << lines[1].toStdString();
    EXPECT_TRUE(lines[1].endsWith("0d  (read taxpayer)")) << lines[1].toStdString();

    // An unwritable log is refused before anything is sent.
    r = cli({"--device", sim.device(), "--log", path("no/such/dir/frames.log"), "read", "taxpayer"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(QStringLiteral("не може да се упише"))) << r.errText().toStdString();
    EXPECT_EQ(sim.requests(), 1);
}

TEST_F(Cli, ProgressBarOnATerminalAndNothingWithQuiet)
{
    const DataSet *longest = longestRead();
    if (longest->readFrames() < 2)
        GTEST_SKIP() << "no data set with more than one frame yet";
    DevsimProcess sim({"--listen", "127.0.0.82:0"});
    ASSERT_TRUE(sim.started);
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "progress");
        TestPty terminal;
        ASSERT_FALSE(terminal.slave.isEmpty());
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.setStandardErrorFile(terminal.slave);
        QStringList args{"--device", sim.device(), "read", longest->name(), "-o", path("out.json")};
        if (quiet)
            args.prepend("--quiet");
        p.start(QStringLiteral(QUORVEL_CLI_PATH), args);
        ASSERT_TRUE(p.waitForStarted(5000));
        QByteArray shown;
        DevsimProcess::waitFor(
            [&] {
                shown += terminal.read(1 << 20, 20);
                return p.state() == QProcess::NotRunning;
            },
            60000);
        shown += terminal.read(1 << 20, 100);
        EXPECT_EQ(p.exitCode(), 0);
        const QString total = QStringLiteral("/%1").arg(longest->readFrames());
        if (quiet) {
            EXPECT_TRUE(shown.isEmpty()) << shown.toStdString();
        } else {
            EXPECT_TRUE(QString::fromUtf8(shown).contains(total)) << shown.left(200).toStdString();
            EXPECT_TRUE(shown.contains("\r[")) << shown.left(200).toStdString();
        }
    }
    // Standard error is no terminal here: no bar.
    const CliResult r = cli({"--device", sim.device(), "read", longest->name(), "-o", path("out.json")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.left(200).toStdString();
}

TEST_F(Cli, AWriteThatAsksNeedsATerminalOrYes)
{
    const DataSet *asking = nullptr;
    for (const DataSet *s : allDataSets())
        if (s->writable() && !s->writeQuestion().isEmpty())
            asking = s;
    if (!asking)
        GTEST_SKIP() << "no data set asks before its write yet (tax groups)";
    const QString name = asking->name();
    const QString used = usedPrinterState(dir, QStringLiteral("used.json"));
    DevsimProcess a({"--listen", "127.0.0.83:0", "--state", used});
    DevsimProcess b({"--listen", "127.0.0.84:0"});
    ASSERT_TRUE(a.started && b.started);
    ASSERT_EQ(cli({"--device", a.device(), "read", name, "-o", path("data.json")}).exitCode, 0);

    CliResult r = cli({"--device", b.device(), "write", name, path("data.json")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(ToolText::cliQuestionNeedsTerminal())) << r.errText().toStdString();
    EXPECT_EQ(b.requests(), 0);

    for (const char *answer : {"n\n", "y\n"}) {
        TestPty terminal;
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.setStandardInputFile(terminal.slave);
        p.start(QStringLiteral(QUORVEL_CLI_PATH), {"--device", b.device(), "write", name, path("data.json")});
        ASSERT_TRUE(p.waitForStarted(5000));
        QByteArray asked;
        ASSERT_TRUE(DevsimProcess::waitFor([&] {
            asked += p.readAllStandardError();
            return asked.contains(asking->writeQuestion().toUtf8());
        }));
        terminal.write(answer);
        ASSERT_TRUE(p.waitForFinished(20000));
        if (answer[0] == 'n') {
            EXPECT_EQ(p.exitCode(), 2);
            EXPECT_EQ(b.requests(), 0);
        } else {
            EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
            EXPECT_GT(b.requests(), 0);
        }
    }
}

TEST_F(Cli, FactoryNumberFromTheOptionOrFkaseIniInTheLogin)
{
    DevsimProcess sim({"--listen", "127.0.0.85:0"});
    ASSERT_TRUE(sim.started);
    writeText(path("fkase.ini"), "123456\r\nsecond line\r\n");
    CliResult r = cli({"--device", sim.device(), "--log", path("login.log"), "login"});
    if (r.errText().contains("not built yet"))
        GTEST_SKIP() << "the login is not in the device layer yet";
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(sim.lines.join("\n").contains("request aa 04 01 12 34 56 01 01 01 01 4f df 0d") ||
                DevsimProcess::waitFor([&] {
                    sim.readLines();
                    return sim.lines.join("\n").contains("request aa 04 01 12 34 56 01 01 01 01 4f df 0d");
                }));
    QFile log(path("login.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(" -> aa 04 01 12 34 56 01 01 01 01 4f df 0d  (login)"));

    r = cli({"--device", sim.device(), "--factory-number", "42", "login"});
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(DevsimProcess::waitFor([&] {
        sim.readLines();
        return sim.lines.join("\n").contains("request aa 04 01 00 00 42 01 01 01 01");
    }));
}

TEST_F(Cli, HelpVersionAndUsageErrors)
{
    CliResult r = cli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("Usage: quorvel-cli --device tcp:HOST[:PORT] | serial:PATH"));
    for (const DataSet *set : allDataSets())
        EXPECT_TRUE(r.out.contains(set->name().toUtf8())) << set->name().toStdString();
    for (const char *command : {"login", "read", "write", "fm-dump", "selftest", "clock-shift"}) {
        const CliResult viaHelp = cli({"help", command});
        const CliResult viaOption = cli({command, "--help"});
        EXPECT_EQ(viaHelp.exitCode, 0);
        EXPECT_EQ(viaOption.exitCode, 0);
        EXPECT_EQ(viaHelp.out, viaOption.out);
        EXPECT_TRUE(viaHelp.out.contains(QByteArray(command))) << command;
    }
    r = cli({"--version"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("quorvel-cli ")) << r.out.toStdString();

    const QList<QStringList> wrong = {{},
                                      {"read", "taxpayer"},
                                      {"--device", "tcp:127.0.0.1", "frobnicate"},
                                      {"--device", "udp:127.0.0.1", "read", "taxpayer"},
                                      {"--device", "tcp:127.0.0.1:99999", "read", "taxpayer"},
                                      {"--device", "tcp:127.0.0.1", "selftest", "keyboard"},
                                      {"--device", "tcp:127.0.0.1", "fm-dump"},
                                      {"--device", "tcp:127.0.0.1", "--factory-number", "12a", "login"},
                                      {"--device", "tcp:127.0.0.1", "read"},
                                      {"--device", "tcp:127.0.0.1", "--bogus", "login"}};
    for (const QStringList &args : wrong) {
        r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.errText().contains("--help")) << args.join(' ').toStdString() << r.errText().toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST_F(Cli, LinksNoQtWidgetsOrGui)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {QStringLiteral(QUORVEL_CLI_PATH)});
    ASSERT_TRUE(ldd.waitForFinished(10000));
    const QByteArray libs = ldd.readAllStandardOutput();
    EXPECT_TRUE(libs.contains("libQt6Core")) << libs.toStdString();
    EXPECT_FALSE(libs.contains("libQt6Widgets")) << libs.toStdString();
    EXPECT_FALSE(libs.contains("libQt6Gui")) << libs.toStdString();
}

TEST_F(Cli, OneOffCommandsMemoryDumpSelfTestAndClockShift)
{
    DevsimProcess sim({"--listen", "127.0.0.86:0"});
    ASSERT_TRUE(sim.started);
    CliResult r = cli({"--device", sim.device(), "fm-dump", "-o", path("fm.bin")});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    QFile dump(path("fm.bin"));
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    EXPECT_EQ(dump.readAll(), SimMaintenance::defaultFiscalMemory());

    r = cli({"--device", sim.device(), "--log", path("test.log"), "selftest", "printer"});
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString();
    QFile log(path("test.log"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains(" -> aa 04 01 00 00 00 01 1a 00 ")) << "the printer test is 0x1A";

    for (const char *way : {"forward", "back"}) {
        r = cli({"--device", sim.device(), "--log", path("shift.log"), "clock-shift", way});
        EXPECT_EQ(r.exitCode, 0) << way << ": " << r.errText().toStdString();
        QFile shift(path("shift.log"));
        ASSERT_TRUE(shift.open(QIODevice::ReadOnly));
        EXPECT_TRUE(shift.readAll().contains(way[0] == 'f' ? " -> 5f 67 00 0d  (clock forward)"
                                                           : " -> 5f 69 00 0d  (clock back)"));
    }
}

namespace {
// A printer holding the named articles (numbers and names only).
QString printerWithArticles(const QTemporaryDir &dir, const QString &name, const QList<int> &numbers)
{
    SimulatedDevice d;
    for (int n : numbers) {
        ArticleRecord r;
        r.number = uint16_t(n);
        r.name = "old " + QByteArray::number(n);
        r.price = 100;
        d.module<SimArticles>()->setArticle(n, r.encode());
    }
    const QString path = dir.filePath(name);
    QString error;
    EXPECT_TRUE(d.saveToFile(path, &error)) << error.toStdString();
    return path;
}

// The request bytes of the simulator's trace lines, from line `from` on.
QList<QByteArray> tracedRequests(DevsimProcess &sim, int from = 0)
{
    sim.readLines();
    QList<QByteArray> out;
    for (const QString &line : sim.lines.filter(QStringLiteral("request ")).mid(from))
        out << QByteArray::fromHex(line.section(QLatin1Char(' '), 1).section(QStringLiteral("->"), 0, 0).toLatin1());
    return out;
}

QList<int> numbersOf(const QJsonValue &json)
{
    QList<int> out;
    for (const QJsonValue &a : json.toObject().value("articles").toArray())
        out << a.toObject().value("number").toInt();
    return out;
}

int articleNumberAt(const QByteArray &request)
{
    return request.size() > 5 ? uint8_t(request.at(3)) | (uint8_t(request.at(4)) << 8) : -1;
}
} // namespace

TEST_F(Cli, ArticleRangeReadAndWriteTouchOnlyTheRange)
{
    DevsimProcess a({"--listen", "127.0.0.87:0", "--state",
                     printerWithArticles(dir, QStringLiteral("a.json"), {99, 100, 150, 200, 201})});
    DevsimProcess b(
        {"--listen", "127.0.0.89:0", "--state", printerWithArticles(dir, QStringLiteral("b.json"), {149, 151, 161})});
    ASSERT_TRUE(a.started && b.started);

    CliResult r =
        cli({"--device", a.device(), "read", "articles", "--from", "100", "--to", "200", "-o", path("range.json")});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_EQ(numbersOf(readFile(path("range.json"))), (QList<int>{100, 150, 200}));
    QList<QByteArray> seen = tracedRequests(a);
    ASSERT_EQ(seen.size(), 101);
    EXPECT_EQ(seen.first(), QByteArray::fromHex("5f800264000d"));
    EXPECT_EQ(seen.last(), QByteArray::fromHex("5f8002c8000d"));

    // Only 150..160 of the file go to B: 150 from the file, the others fresh; B keeps 149 and 161.
    r = cli({"--device", b.device(), "--quiet", "write", "articles", path("range.json"), "--from=150", "--to=160"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    seen = tracedRequests(b);
    ASSERT_EQ(seen.size(), 11);
    EXPECT_EQ(uint8_t(seen.first().at(1)), 0x85);
    EXPECT_EQ(articleNumberAt(seen.first()), 150);
    EXPECT_EQ(seen.first().mid(5, 7), QByteArray("old 150"));
    EXPECT_EQ(articleNumberAt(seen.last()), 160);
    EXPECT_EQ(uint8_t(seen.last().at(5)), 0); // a fresh row has no name
    r = cli({"--device", b.device(), "read", "articles", "--from", "140", "--to", "170"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const QJsonValue back = parseJson(r.out);
    EXPECT_EQ(numbersOf(back), (QList<int>{149, 150, 161}));
    EXPECT_EQ(back.toObject().value("articles").toArray().at(0).toObject().value("name").toString(), "old 149");

    // Ranges outside 1..60000, backwards, not numbers or for another set are refused before connecting.
    const int before = b.requests();
    const QList<QStringList> wrong = {{"read", "articles", "--from", "0"},
                                      {"read", "articles", "--to", "60001"},
                                      {"read", "articles", "--from", "7", "--to", "6"},
                                      {"read", "articles", "--from", "x"},
                                      {"write", "articles", path("range.json"), "--to", "-3"},
                                      {"read", "taxpayer", "--from", "1"}};
    for (const QStringList &args : wrong) {
        r = cli(QStringList{"--device", b.device()} + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.errText().contains("--from") || r.errText().contains("--to"))
            << args.join(' ').toStdString() << ": " << r.errText().toStdString();
    }
    EXPECT_EQ(b.requests(), before);
}

TEST_F(Cli, ChangedOnlyWritesTheArticlesThatDifferFromTheBase)
{
    DevsimProcess sim({"--listen", "127.0.0.145:0", "--state",
                       printerWithArticles(dir, QStringLiteral("p.json"), {10, 11, 12, 13, 500, 900})});
    ASSERT_TRUE(sim.started);
    CliResult r = cli({"--device", sim.device(), "--quiet", "read", "articles", "--from", "1", "--to", "1000", "-o",
                       path("base.json")});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    const QJsonObject base = readFile(path("base.json")).toObject();

    // The technician's copy: 11 and 12 renamed, 500 removed (a fresh row), 7 added; 10, 13, 900 as read.
    QJsonArray list;
    for (const QJsonValue &v : base.value("articles").toArray()) {
        QJsonObject a = v.toObject();
        const int n = a.value("number").toInt();
        if (n == 500)
            continue;
        if (n == 11 || n == 12)
            a["name"] = QStringLiteral("new %1").arg(n);
        list.append(a);
    }
    QJsonObject seven = list.at(0).toObject();
    seven["number"] = 7;
    seven["name"] = QStringLiteral("new 7");
    list.append(seven);
    writeText(path("edited.json"), QJsonDocument(QJsonObject{{"articles", list}}).toJson());

    const int before = int(tracedRequests(sim).size());
    r = cli({"--device", sim.device(), "write", "articles", path("edited.json"), "--changed-only", "--against",
             path("base.json")});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().contains(ToolText::cliChangedArticles(4, 3))) << r.errText().toStdString();
    QList<int> written;
    for (const QByteArray &request : tracedRequests(sim, before)) {
        EXPECT_EQ(uint8_t(request.at(1)), 0x85);
        EXPECT_EQ(request.size(), 54);
        written << articleNumberAt(request);
    }
    EXPECT_EQ(written, (QList<int>{7, 11, 12, 500}));
    r = cli({"--device", sim.device(), "read", "articles", "--from", "1", "--to", "1000"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_EQ(numbersOf(parseJson(r.out)), (QList<int>{7, 10, 11, 12, 13, 900}));
    EXPECT_EQ(parseJson(r.out).toObject().value("articles").toArray().at(2).toObject().value("name").toString(),
              "new 11");

    // Within --from/--to only the differing articles of the range go out.
    const int mid = int(tracedRequests(sim).size());
    r = cli({"--device", sim.device(), "--quiet", "write", "articles", path("base.json"), "--changed-only", "--against",
             path("edited.json"), "--from", "10", "--to", "20"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    written.clear();
    for (const QByteArray &request : tracedRequests(sim, mid))
        written << articleNumberAt(request);
    EXPECT_EQ(written, (QList<int>{11, 12}));

    // A device profile holding the articles serves as the base as well.
    Profile profile;
    profile.toolVersion = QStringLiteral("quorvel test");
    profile.taken = QDateTime::currentDateTimeUtc();
    profile.sets.insert("articles", readFile(path("edited.json")));
    QString error;
    ASSERT_TRUE(ProfileFile::write(profile, path("p.qvp"), error)) << error.toStdString();
    const int fromProfile = int(tracedRequests(sim).size());
    r = cli({"--device", sim.device(), "--quiet", "write", "articles", path("base.json"), "--changed-only", "--against",
             path("p.qvp"), "--to", "100"});
    ASSERT_EQ(r.exitCode, 0) << r.errText().toStdString();
    written.clear();
    for (const QByteArray &request : tracedRequests(sim, fromProfile))
        written << articleNumberAt(request);
    EXPECT_EQ(written, (QList<int>{7, 11, 12}));

    // Nothing differs: said on stderr, nothing sent, exit 0.
    const int after = sim.requests();
    r = cli({"--device", sim.device(), "write", "articles", path("base.json"), "--changed-only", "--against",
             path("base.json")});
    EXPECT_EQ(r.exitCode, 0) << r.errText().toStdString();
    EXPECT_TRUE(r.errText().contains(ToolText::cliNothingChanged(path("base.json")))) << r.errText().toStdString();
    EXPECT_TRUE(r.out.isEmpty());

    // A base that is no article list, or the options without each other, are refused before connecting.
    writeText(path("broken.json"), R"({"articles": [{"number": 0}]})");
    r = cli({"--device", sim.device(), "write", "articles", path("edited.json"), "--changed-only", "--against",
             path("broken.json")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.errText().contains(path("broken.json"))) << r.errText().toStdString();
    for (const QStringList &args : QList<QStringList>{
             {"write", "articles", path("edited.json"), "--changed-only"},
             {"write", "articles", path("edited.json"), "--against", path("base.json")},
             {"write", "taxpayer", path("edited.json"), "--changed-only", "--against", path("base.json")},
             {"read", "articles", "--changed-only", "--against", path("base.json")}}) {
        r = cli(QStringList{"--device", sim.device()} + args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.errText().contains("--changed-only")) << r.errText().toStdString();
    }
    EXPECT_EQ(sim.requests(), after);
}
