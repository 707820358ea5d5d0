// The window's long chains (articles, cashiers, logo) against a simulated printer that misbehaves
// part-way: a dropped reply, garbage between frames, a device gone silent, a connection closed.
// Each time the user must be told, what arrived before the fault must be kept and equal to the
// device's, nothing else may change, and after reconnecting the chain must run to its end.
#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "ArticlesSection.h"
#include "Cp1251.h"
#include "Decimal.h"
#include "FaultInjector.h"
#include "LogoPicture.h"
#include "LogoSection.h"
#include "SerialTransport.h"
#include "SimArticles.h"
#include "SimFiscal.h"
#include "SimHarness.h"
#include "SimSerialServer.h"
#include "TaxLetters.h"
#include "UiText.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <vector>

namespace {
constexpr int kArticles = ArticleModel::kArticles;
constexpr int kReplyTimeoutMs = 300;
constexpr int kChainMs = 120000;

enum class Fault { DropReply, Garbage, Silent, ConnectionClosed };

const char *faultName(Fault f)
{
    switch (f) {
    case Fault::DropReply:
        return "DropReply";
    case Fault::Garbage:
        return "Garbage";
    case Fault::Silent:
        return "Silent";
    case Fault::ConnectionClosed:
        return "ConnectionClosed";
    }
    return "?";
}

QString noAnswer()
{
    return UiText(Txt::TitleError) + "|" + UiText(Txt::NoAnswer);
}

QString connectionLost()
{
    return UiText(Txt::TitleError) + "|" + QStringLiteral("Веза са фискалним принтером је прекинута.");
}

// A closed connection is reported at once; every other fault by the reply timer.
QString noticeFor(Fault f)
{
    return f == Fault::ConnectionClosed ? connectionLost() : noAnswer();
}

// The one message is that notice (an article chain adds where it stopped).
bool onlyNotice(const QStringList &messages, const QString &notice)
{
    return messages.size() == 1 && messages[0].startsWith(notice);
}

// The one message says the article transfer is complete.
bool onlyCompleted(const QStringList &messages)
{
    return messages.size() == 1 && messages[0].startsWith(UiText(Txt::TitleInfo) + "|");
}

// The window and printer of SimHarness, with faults that begin counting requests when armed.
struct FaultRig {
    explicit FaultRig(const QString &host) : h(host)
    {
        h.server->setFaults(&faults);
        reconnect();
        h.link().replyTimer().setInterval(kReplyTimeoutMs);
        QObject::connect(h.server.get(), &SimServer::requestAnswered, [this] {
            if (++answered == dropAt)
                QTimer::singleShot(0, h.server.get(), [this] { h.server->dropClient(); });
        });
        // What really went out on the wire: replies that begin with anything but a start byte.
        QObject::connect(h.server.get(), &SimServer::requestAnswered,
                         [this](const QByteArray &, const QByteArray &sent) {
                             if (!sent.isEmpty() && uint8_t(sent.at(0)) != 0x5F && uint8_t(sent.at(0)) != 0xAA)
                                 ++garbageOnTheWire;
                         });
    }
    // A new connection: sessions take the fault settings when they start.
    bool reconnect()
    {
        h.tcp.close();
        connected = h.tcp.connectTo(h.server->address());
        h.link().setTransport(&h.tcp);
        return connected;
    }
    // The fault begins `after` requests from now.
    void arm(Fault f, int after)
    {
        faults = FaultInjector();
        answered = 0;
        dropAt = -1;
        garbageOnTheWire = 0;
        switch (f) {
        case Fault::DropReply:
            faults.setDropReplyEvery(after);
            break;
        case Fault::Garbage:
            // Not a single spot: garbage before every 30th part of the way to `after` (every reply
            // for the short chains), all through the chain.
            faults.setGarbageEvery(std::max(1, after / 30));
            break;
        case Fault::Silent:
            faults.setSilentAfter(after);
            break;
        case Fault::ConnectionClosed:
            dropAt = after;
            break;
        }
    }
    // The garbage variant proves nothing unless garbage went out: before every Nth reply, and
    // at least `atLeast` times in all, as counted by the injector and seen on the wire.
    void expectGarbageSent(quint64 atLeast)
    {
        ASSERT_GT(faults.garbageEvery(), 0);
        EXPECT_EQ(faults.garbageReplies(), faults.requestCount() / quint64(faults.garbageEvery()));
        EXPECT_GE(faults.garbageReplies(), atLeast);
        EXPECT_GE(faults.garbageBytes(), faults.garbageReplies());
        EXPECT_EQ(garbageOnTheWire, faults.garbageReplies());
    }
    void disarm()
    {
        faults = FaultInjector();
        dropAt = -1;
    }
    // Waits for the chain to stop on a message; true when it did (and then stays stopped).
    bool stoppedWithNotice(int requestsSoFarLimitMs = kChainMs)
    {
        if (!waitUntil([&] { return !h.messages.isEmpty(); }, requestsSoFarLimitMs))
            return false;
        const int before = answered;
        waitUntil([] { return false; }, 3 * kReplyTimeoutMs);
        return answered == before;
    }

    SimHarness h;
    FaultInjector faults;
    int answered = 0;
    int dropAt = -1;
    bool connected = false;
    quint64 garbageOnTheWire = 0;
};

QString label(TfMain &w, const char *name)
{
    return w.findChild<QLabel *>(name)->text();
}

// A distinct record in every slot of the device: Cyrillic names, barcodes, prices, tax letters.
void fillDevice(SimArticles &d)
{
    for (int r = 1; r <= kArticles; ++r) {
        ArticleRecord rec;
        rec.number = uint16_t(r);
        const QString name = r % 7 == 0 ? QStringLiteral("Чај ђжш %1").arg(r) : QStringLiteral("Item %1").arg(r);
        rec.name = Cp1251::encode(name);
        rec.department = uint8_t(r % 10);
        rec.price = uint32_t(int64_t(r) * 7919 % 999999999);
        rec.taxIndex = uint8_t(r % 9);
        if (r % 5 == 0)
            rec.barcode = {0x86, 0x00, 0x12, 0x34, uint8_t(r & 0xFF), uint8_t(r >> 8), 0x01};
        d.setArticle(r, rec.encode());
    }
}

// Rows as a write sends them.
void fillTable(ArticleModel &m)
{
    for (int r = 1; r <= kArticles; ++r) {
        m.setCell(ArticleModel::Name, r,
                  r % 7 == 0 ? QStringLiteral("Артикал Ђ %1").arg(r) : QStringLiteral("W%1").arg(r));
        m.setCell(ArticleModel::Barcode, r, r % 5 == 0 ? QStringLiteral("86%1").arg(r, 11, 10, QChar('0')) : QString());
        m.setCell(ArticleModel::Department, r, QString::number(r % 10 + 1));
        m.setCell(ArticleModel::Price, r, Decimal::fromHundredths(int64_t(r) * 131 % 99999999));
        m.setCell(ArticleModel::Tax, r, TaxLetters::letter(r % 9));
    }
}

using Table = std::vector<ArticleModel::Row>;

Table snapshot(const ArticleModel &m)
{
    Table t(kArticles + 1);
    for (int r = 1; r <= kArticles; ++r)
        for (int c = 0; c < ArticleModel::kColumns; ++c)
            t[size_t(r)][size_t(c)] = m.cell(c, r);
    return t;
}

// The cells a read fills from the device's slot r.
ArticleModel::Row deviceRow(const SimArticles &d, int r, const ArticleModel::Row &before)
{
    const QByteArray bytes = d.article(r);
    const ArticleRecord rec = ArticleRecord::decode(reinterpret_cast<const uint8_t *>(bytes.constData()));
    ArticleModel::Row row = before;
    row[ArticleModel::Name] = rec.nameText();
    row[ArticleModel::Barcode] = rec.barcodeText();
    row[ArticleModel::Department] = rec.departmentText();
    row[ArticleModel::Price] = rec.priceText();
    row[ArticleModel::Tax] = rec.taxText();
    return row;
}

// Rows 1..kept equal the device's, every later row as it was; returns kept.
int checkReadPrefix(const ArticleModel &m, const Table &before, const SimArticles &d)
{
    int kept = 0;
    while (kept < kArticles && m.cell(ArticleModel::Name, kept + 1) != before[size_t(kept + 1)][ArticleModel::Name])
        ++kept;
    int wrong = 0;
    for (int r = 1; r <= kArticles; ++r) {
        const ArticleModel::Row expected = r <= kept ? deviceRow(d, r, before[size_t(r)]) : before[size_t(r)];
        for (int c = 0; c < ArticleModel::kColumns; ++c)
            if (m.cell(c, r) != expected[size_t(c)] && ++wrong <= 5)
                ADD_FAILURE() << "row " << r << " column " << c << ": " << m.cell(c, r).toStdString()
                              << " != " << expected[size_t(c)].toStdString() << " (kept " << kept << ")";
    }
    return kept;
}

// Slots 1..written hold the grid's rows, later slots are blank; returns written.
int checkWritePrefix(const ArticleModel &m, const SimArticles &d)
{
    auto encoded = [&](int r) {
        ArticleRecord rec;
        ArticleRecord::fromCells(r, m.cell(ArticleModel::Name, r), m.cell(ArticleModel::Barcode, r),
                                 m.cell(ArticleModel::Department, r), m.cell(ArticleModel::Price, r),
                                 m.cell(ArticleModel::Tax, r), QLocale(), rec);
        return rec.encode();
    };
    int written = 0;
    while (written < kArticles && d.article(written + 1) != SimArticles::blankArticle(written + 1))
        ++written;
    int wrong = 0;
    for (int r = 1; r <= kArticles; ++r) {
        const QByteArray expected = r <= written ? encoded(r) : SimArticles::blankArticle(r);
        if (d.article(r) != expected && ++wrong <= 5)
            ADD_FAILURE() << "slot " << r << ": " << d.article(r).toHex().toStdString()
                          << " != " << expected.toHex().toStdString();
    }
    return written;
}

class ArticleFaultSoak : public ::testing::TestWithParam<Fault> {};

QString hostFor(Fault f, bool write)
{
    return QStringLiteral("127.0.0.%1").arg(80 + int(f) * 2 + (write ? 1 : 0));
}
} // namespace

TEST_P(ArticleFaultSoak, ReadStopsWithNoticeKeepsRowsAndFinishesAfterReconnect)
{
    QLocale::setDefault(QLocale::c());
    const Fault fault = GetParam();
    FaultRig rig(hostFor(fault, false));
    ASSERT_TRUE(rig.connected);
    TfMain &w = *rig.h.window;
    SimArticles &device = *rig.h.device.module<SimArticles>();
    fillDevice(device);
    const Table before = snapshot(w.articles());
    constexpr int kFaultAt = 3000;

    // Out of service mode and back in: the read button is on again and the write button off, so
    // what the chain leaves them in is its own doing.
    QList<int> codes;
    QObject::connect(&rig.h.link(), &DeviceLink::replyDispatched, [&](uint8_t c) { codes.append(c); });
    ASSERT_TRUE(rig.h.link().SendAwaitingReply(0x10, 4));
    ASSERT_TRUE(waitUntil([&] { return codes.contains(0x10); }));
    ASSERT_TRUE(rig.h.logIn());
    ASSERT_TRUE(w.articlesSection().btnARead->isEnabled());
    ASSERT_FALSE(w.articlesSection().btnAWrite->isEnabled());

    rig.arm(fault, kFaultAt);
    w.articlesSection().btnARead->click();
    if (fault == Fault::Garbage) {
        // Stray bytes between frames are dropped: the chain runs through with every row.
        ASSERT_TRUE(waitUntil([&] { return label(w, "lblBrojac") == "60000" || !rig.h.messages.isEmpty(); }, kChainMs));
        EXPECT_TRUE(onlyCompleted(rig.h.messages)) << rig.h.messages.join("\n").toStdString();
        EXPECT_EQ(checkReadPrefix(w.articles(), before, device), kArticles);
        rig.expectGarbageSent(kArticles / (kFaultAt / 30));
        return;
    }
    ASSERT_TRUE(rig.stoppedWithNotice()) << faultName(fault);
    EXPECT_TRUE(onlyNotice(rig.h.messages, noticeFor(fault))) << rig.h.messages.join("\n").toStdString();
    const int kept = checkReadPrefix(w.articles(), before, device);
    EXPECT_GE(kept, kFaultAt - 2);
    EXPECT_LE(kept, kFaultAt + 1);
    // The replies before the fault enabled the write; the read stays usable for another try.
    EXPECT_TRUE(w.articlesSection().btnAWrite->isEnabled());
    EXPECT_TRUE(w.articlesSection().btnARead->isEnabled());

    rig.disarm();
    rig.h.messages.clear();
    ASSERT_TRUE(rig.reconnect());
    w.articlesSection().btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return label(w, "lblBrojac") == "60000"; }, kChainMs))
        << label(w, "lblBrojac").toStdString();
    EXPECT_TRUE(onlyCompleted(rig.h.messages)) << rig.h.messages.join("\n").toStdString();
    EXPECT_EQ(checkReadPrefix(w.articles(), before, device), kArticles);
}

TEST_P(ArticleFaultSoak, WriteStopsWithNoticeKeepsGridAndFinishesAfterReconnect)
{
    QLocale::setDefault(QLocale::c());
    const Fault fault = GetParam();
    FaultRig rig(hostFor(fault, true));
    ASSERT_TRUE(rig.connected);
    TfMain &w = *rig.h.window;
    SimArticles &device = *rig.h.device.module<SimArticles>();
    fillTable(w.articles());
    const Table before = snapshot(w.articles());
    constexpr int kFaultAt = 2500;

    rig.arm(fault, kFaultAt);
    w.articlesSection().btnAWrite->click();
    if (fault == Fault::Garbage) {
        ASSERT_TRUE(waitUntil([&] { return label(w, "lblBrojac") == "60001" || !rig.h.messages.isEmpty(); }, kChainMs));
        EXPECT_TRUE(onlyCompleted(rig.h.messages)) << rig.h.messages.join("\n").toStdString();
        EXPECT_EQ(checkWritePrefix(w.articles(), device), kArticles);
        EXPECT_TRUE(snapshot(w.articles()) == before);
        rig.expectGarbageSent(kArticles / (kFaultAt / 30));
        return;
    }
    ASSERT_TRUE(rig.stoppedWithNotice()) << faultName(fault);
    EXPECT_TRUE(onlyNotice(rig.h.messages, noticeFor(fault))) << rig.h.messages.join("\n").toStdString();
    const int written = checkWritePrefix(w.articles(), device);
    EXPECT_GE(written, kFaultAt - 2);
    EXPECT_LE(written, kFaultAt + 2); // a silent device still stores the request it leaves unanswered
    EXPECT_TRUE(snapshot(w.articles()) == before);

    rig.disarm();
    rig.h.messages.clear();
    ASSERT_TRUE(rig.reconnect());
    w.articlesSection().btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return label(w, "lblBrojac") == "60001"; }, kChainMs))
        << label(w, "lblBrojac").toStdString();
    EXPECT_TRUE(onlyCompleted(rig.h.messages)) << rig.h.messages.join("\n").toStdString();
    EXPECT_EQ(checkWritePrefix(w.articles(), device), kArticles);
    EXPECT_TRUE(snapshot(w.articles()) == before);
}

INSTANTIATE_TEST_SUITE_P(Faults, ArticleFaultSoak,
                         ::testing::Values(Fault::DropReply, Fault::Garbage, Fault::Silent, Fault::ConnectionClosed),
                         [](const auto &info) { return std::string(faultName(info.param)); });

namespace {
QString gridName(QTableView *grid, int k)
{
    return grid->model()->index(k - 1, 1).data().toString();
}

// Blocks 0..count-1 of `image` equal the device's bytes, later ones equal `other`; count returned
// as the longest such prefix.
int matchingLogoBlocks(const QImage &image, const QByteArray &device, const QImage &other)
{
    int count = 0;
    while (count < 16 &&
           LogoPicture::pack(image, count) == device.mid(count * SimFiscal::kLogoBlockSize, SimFiscal::kLogoBlockSize))
        ++count;
    for (int k = count; k < 16; ++k)
        if (LogoPicture::pack(image, k) != LogoPicture::pack(other, k))
            return -1;
    return count;
}

class ShortChainFaultSoak : public ::testing::TestWithParam<Fault> {};
} // namespace

TEST_P(ShortChainFaultSoak, CashiersAndLogoStopWithNoticeKeepWhatArrivedAndFinishAfterReconnect)
{
    const Fault fault = GetParam();
    const bool stops = fault != Fault::Garbage; // stray bytes between frames are dropped
    FaultRig rig(QStringLiteral("127.0.0.88"));
    ASSERT_TRUE(rig.connected);
    TfMain &w = *rig.h.window;
    SimArticles &articles = *rig.h.device.module<SimArticles>();
    SimFiscal &fiscal = *rig.h.device.module<SimFiscal>();
    auto *grid = w.findChild<QTableView *>("sgOperators");
    ASSERT_NE(grid, nullptr);
    auto finish = [&](QPushButton *button, const std::function<bool()> &done) {
        rig.disarm();
        rig.h.messages.clear();
        ASSERT_TRUE(rig.reconnect());
        button->click();
        ASSERT_TRUE(waitUntil(done, 10000));
        waitUntil([] { return false; }, 50);
        EXPECT_TRUE(rig.h.messages.isEmpty()) << rig.h.messages.join("\n").toStdString();
    };

    // Cashier read, broken off at the 20th request.
    for (int k = 1; k <= 64; ++k)
        articles.setCashier(k, Cp1251::encode(QStringLiteral("Касир %1").arg(k)));
    QStringList before;
    for (int k = 1; k <= 64; ++k)
        before << gridName(grid, k);
    rig.arm(fault, 20);
    w.findChild<QPushButton *>("btnORead")->click();
    if (stops) {
        ASSERT_TRUE(rig.stoppedWithNotice(10000)) << "cashier read";
        EXPECT_TRUE(onlyNotice(rig.h.messages, noticeFor(fault))) << rig.h.messages.join("\n").toStdString();
        int kept = 0;
        while (kept < 64 && gridName(grid, kept + 1) == QStringLiteral("Касир %1").arg(kept + 1))
            ++kept;
        EXPECT_GE(kept, 18);
        EXPECT_LE(kept, 20);
        for (int k = kept + 1; k <= 64; ++k)
            EXPECT_EQ(gridName(grid, k), before[k - 1]) << k;
        finish(w.findChild<QPushButton *>("btnORead"), [&] { return gridName(grid, 64) == "Касир 64"; });
    } else {
        ASSERT_TRUE(waitUntil([&] { return gridName(grid, 64) == "Касир 64" || !rig.h.messages.isEmpty(); }));
        EXPECT_TRUE(rig.h.messages.isEmpty()) << rig.h.messages.join("\n").toStdString();
        rig.expectGarbageSent(64);
    }
    for (int k = 1; k <= 64; ++k)
        EXPECT_EQ(gridName(grid, k), QStringLiteral("Касир %1").arg(k));

    // Cashier write, broken off at the 30th request.
    for (int k = 1; k <= 64; ++k) {
        grid->model()->setData(grid->model()->index(k - 1, 1), QStringLiteral("Ђорђе %1").arg(k));
        articles.setCashier(k, std::nullopt);
    }
    rig.arm(fault, 30);
    w.findChild<QPushButton *>("btnOWrite")->click();
    if (stops) {
        ASSERT_TRUE(rig.stoppedWithNotice(10000)) << "cashier write";
        EXPECT_TRUE(onlyNotice(rig.h.messages, noticeFor(fault))) << rig.h.messages.join("\n").toStdString();
        int written = 0;
        while (written < 64 &&
               articles.cashier(written + 1) == Cp1251::encode(QStringLiteral("Ђорђе %1").arg(written + 1)))
            ++written;
        EXPECT_GE(written, 28);
        EXPECT_LE(written, 32);
        for (int k = written + 1; k <= 64; ++k)
            EXPECT_FALSE(articles.cashier(k).has_value()) << k;
        finish(w.findChild<QPushButton *>("btnOWrite"), [&] { return articles.cashier(64).has_value(); });
    } else {
        ASSERT_TRUE(waitUntil([&] { return articles.cashier(64).has_value() || !rig.h.messages.isEmpty(); }));
        EXPECT_TRUE(rig.h.messages.isEmpty()) << rig.h.messages.join("\n").toStdString();
        rig.expectGarbageSent(64);
    }
    for (int k = 1; k <= 64; ++k) {
        EXPECT_EQ(articles.cashier(k), Cp1251::encode(QStringLiteral("Ђорђе %1").arg(k))) << k;
        EXPECT_EQ(gridName(grid, k), QStringLiteral("Ђорђе %1").arg(k));
    }

    // Logo read, broken off at the 7th block.
    LogoSection &logo = *w.findChild<LogoSection *>();
    QByteArray pattern(SimFiscal::kLogoSize, '\0');
    for (int i = 0; i < pattern.size(); ++i)
        pattern[i] = char((i * 37 + i / 256) & 0xFF);
    fiscal.setLogo(pattern);
    fiscal.setLogoFlag(0xCC);
    const QImage shownBefore = logo.logo();
    rig.arm(fault, 7);
    w.findChild<QPushButton *>("btnLogoRead")->click();
    if (stops) {
        ASSERT_TRUE(rig.stoppedWithNotice(10000)) << "logo read";
        EXPECT_TRUE(onlyNotice(rig.h.messages, noticeFor(fault))) << rig.h.messages.join("\n").toStdString();
        const int kept = matchingLogoBlocks(logo.logo(), pattern, shownBefore);
        EXPECT_GE(kept, 5);
        EXPECT_LE(kept, 7);
        finish(w.findChild<QPushButton *>("btnLogoRead"), [&] {
            return matchingLogoBlocks(logo.logo(), pattern, shownBefore) == 16 &&
                   w.findChild<QCheckBox *>("chbLogo")->isChecked();
        });
    } else {
        ASSERT_TRUE(
            waitUntil([&] { return w.findChild<QCheckBox *>("chbLogo")->isChecked() || !rig.h.messages.isEmpty(); }));
        EXPECT_TRUE(rig.h.messages.isEmpty()) << rig.h.messages.join("\n").toStdString();
        rig.expectGarbageSent(17);
    }
    EXPECT_EQ(matchingLogoBlocks(logo.logo(), pattern, shownBefore), 16);

    // Logo write of an inverted copy, broken off at the 9th block.
    QImage inverted = logo.logo();
    inverted.invertPixels();
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.png");
    ASSERT_TRUE(inverted.save(path));
    ASSERT_TRUE(logo.loadLogoFile(path));
    const QImage toWrite = logo.logo();
    int acks = 0;
    QObject::connect(&rig.h.link(), &DeviceLink::replyDispatched,
                     [&](uint8_t code) { acks += code == SimulatedDevice::kAckCode; });
    rig.arm(fault, 9);
    w.findChild<QPushButton *>("btnLogoWrite")->click();
    QByteArray expected;
    for (int k = 0; k < 16; ++k)
        expected += LogoPicture::pack(toWrite, k);
    if (stops) {
        ASSERT_TRUE(rig.stoppedWithNotice(10000)) << "logo write";
        EXPECT_TRUE(onlyNotice(rig.h.messages, noticeFor(fault))) << rig.h.messages.join("\n").toStdString();
        int written = 0;
        while (written < 16 && fiscal.logo().mid(written * 256, 256) == expected.mid(written * 256, 256))
            ++written;
        EXPECT_GE(written, 7);
        EXPECT_LE(written, 11);
        EXPECT_EQ(fiscal.logo().mid(written * 256), pattern.mid(written * 256));
        finish(w.findChild<QPushButton *>("btnLogoWrite"), [&] { return acks == 1; });
    } else {
        ASSERT_TRUE(waitUntil([&] { return acks == 1 || !rig.h.messages.isEmpty(); }));
        EXPECT_TRUE(rig.h.messages.isEmpty()) << rig.h.messages.join("\n").toStdString();
        rig.expectGarbageSent(16);
    }
    EXPECT_EQ(fiscal.logo(), expected);
    EXPECT_EQ(logo.logo(), toWrite);
}

INSTANTIATE_TEST_SUITE_P(Faults, ShortChainFaultSoak,
                         ::testing::Values(Fault::DropReply, Fault::Garbage, Fault::Silent, Fault::ConnectionClosed),
                         [](const auto &info) { return std::string(faultName(info.param)); });

// A pseudo-terminal whose device side goes away mid-chain, then comes back under a new path.
TEST(PtyFaultSoak, ArticleReadAndWriteOverAClosedPseudoTerminal)
{
    QLocale::setDefault(QLocale::c());
    SimulatedDevice device;
    SimSerialServer server(device);
    ASSERT_TRUE(server.openPty()) << server.errorString().toStdString();
    TfMain w;
    w.FormActivate();
    QStringList messages;
    w.dialog().setResponder([&](TDialog &d) {
        messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
        return 1;
    });
    SerialTransport serial;
    auto reopen = [&] {
        serial.close();
        serial.setPortName(server.slavePath());
        const bool ok = serial.open();
        w.link().setSerialTransport(true);
        w.link().setTransport(&serial);
        // A lost port turns the port's buttons off, as closing it does; opening enables them.
        w.articlesSection().btnARead->setEnabled(true);
        w.articlesSection().btnAWrite->setEnabled(true);
        return ok;
    };
    ASSERT_TRUE(reopen()) << serial.errorString().toStdString();
    w.link().replyTimer().setInterval(kReplyTimeoutMs);
    int answered = 0, closeAt = -1;
    QObject::connect(&server, &SimSerialServer::requestAnswered, [&] {
        if (++answered == closeAt)
            QTimer::singleShot(0, &server, [&] { server.close(); });
    });
    SimArticles &articles = *device.module<SimArticles>();
    fillDevice(articles);
    const Table before = snapshot(w.articles());

    closeAt = 3000;
    w.articlesSection().btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }, kChainMs));
    waitUntil([] { return false; }, 3 * kReplyTimeoutMs);
    EXPECT_TRUE(onlyNotice(messages, connectionLost())) << messages.join("\n").toStdString();
    const int kept = checkReadPrefix(w.articles(), before, articles);
    EXPECT_GE(kept, 2998);
    EXPECT_LE(kept, 3000);

    messages.clear();
    closeAt = -1;
    ASSERT_TRUE(server.openPty());
    ASSERT_TRUE(reopen()) << serial.errorString().toStdString();
    w.articlesSection().btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return label(w, "lblBrojac") == "60000"; }, kChainMs))
        << label(w, "lblBrojac").toStdString();
    EXPECT_TRUE(onlyCompleted(messages)) << messages.join("\n").toStdString();
    EXPECT_EQ(checkReadPrefix(w.articles(), before, articles), kArticles);

    // Write: the device side closes after 2000 requests.
    messages.clear();
    articles.clearArticles();
    fillTable(w.articles());
    const Table grid = snapshot(w.articles());
    answered = 0;
    closeAt = 2000;
    w.articlesSection().btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }, kChainMs));
    waitUntil([] { return false; }, 3 * kReplyTimeoutMs);
    EXPECT_TRUE(onlyNotice(messages, connectionLost())) << messages.join("\n").toStdString();
    const int written = checkWritePrefix(w.articles(), articles);
    EXPECT_GE(written, 1998);
    EXPECT_LE(written, 2001);
    EXPECT_TRUE(snapshot(w.articles()) == grid);

    messages.clear();
    closeAt = -1;
    ASSERT_TRUE(server.openPty());
    ASSERT_TRUE(reopen()) << serial.errorString().toStdString();
    w.articlesSection().btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return label(w, "lblBrojac") == "60001"; }, kChainMs))
        << label(w, "lblBrojac").toStdString();
    EXPECT_TRUE(onlyCompleted(messages)) << messages.join("\n").toStdString();
    EXPECT_EQ(checkWritePrefix(w.articles(), articles), kArticles);
}
