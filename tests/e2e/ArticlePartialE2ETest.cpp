// Partial article transfers end to end: the window reads a range and writes only its changed rows
// to the simulated printer, over loopback TCP and over a real pseudo-terminal; the printer's own
// record of the requests says exactly what went over the wire.
#include "ArticleModel.h"
#include "ArticleRecord.h"
#include "ArticlesSection.h"
#include "SerialTransport.h"
#include "SimArticles.h"
#include "SimHarness.h"
#include "SimSerialServer.h"
#include "ToolText.h"
#include "UiText.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {
QByteArray oldRecord(int n)
{
    ArticleRecord r;
    r.number = uint16_t(n);
    r.name = "old " + QByteArray::number(n);
    r.price = 100;
    return r.encode();
}

QByteArray nameOnDevice(SimulatedDevice &device, int n)
{
    return ArticleRecord::decode(
               reinterpret_cast<const uint8_t *>(device.module<SimArticles>()->article(n).constData()))
        .name;
}

// (command code, article number) of every request the printer answered.
template <typename Server> std::shared_ptr<std::vector<std::pair<int, int>>> traceRequests(Server &server)
{
    auto seen = std::make_shared<std::vector<std::pair<int, int>>>();
    QObject::connect(&server, &Server::requestAnswered, &server, [seen](const QByteArray &request, const QByteArray &) {
        const int n = request.size() > 4 ? uint8_t(request.at(3)) | (uint8_t(request.at(4)) << 8) : -1;
        seen->emplace_back(uint8_t(request.at(1)), n);
    });
    return seen;
}

// The window's part of the test, the same on both transports: read 40..60 from a printer that holds
// articles 39..61, change 42, 43, 44 and 58 (and row 100, never read), write the changes.
void readRangeThenWriteChanges(TfMain &window, QStringList &messages, SimulatedDevice &device,
                               std::vector<std::pair<int, int>> &seen)
{
    ArticlesSection &s = window.articlesSection();
    ArticleModel &m = window.articles();
    m.setCell(ArticleModel::Name, 39, "window 39"); // outside the range: the read leaves it alone
    s.edtAFrom->setText("40");
    s.edtATo->setText("60");
    messages.clear();
    s.btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }, 20000));
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(21)});
    ASSERT_EQ(seen.size(), 21u);
    EXPECT_EQ(seen.front(), std::make_pair(0x80, 40));
    EXPECT_EQ(seen.back(), std::make_pair(0x80, 60));
    EXPECT_EQ(m.cell(ArticleModel::Name, 50), "old 50");
    EXPECT_EQ(m.cell(ArticleModel::Name, 39), "window 39");
    EXPECT_EQ(m.cell(ArticleModel::Name, 61), "");
    EXPECT_EQ(m.changedRows(), (std::vector<int>{39}));

    for (int r : {42, 43, 44, 58, 100})
        m.setData(m.index(r - 1, ArticleModel::Name), QStringLiteral("new %1").arg(r));
    const int before39 = device.module<SimArticles>()->articleWrites();
    seen.clear();
    messages.clear();
    s.btnAWriteChanged->click();
    ASSERT_TRUE(waitUntil([&] { return !messages.isEmpty(); }, 20000));
    EXPECT_EQ(messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesChangedWritten(6, 4)});
    std::vector<std::pair<int, int>> expected;
    for (int n : {39, 42, 43, 44, 58, 100})
        expected.emplace_back(0x85, n);
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(device.module<SimArticles>()->articleWrites() - before39, 6);
    EXPECT_EQ(nameOnDevice(device, 43), "new 43");
    EXPECT_EQ(nameOnDevice(device, 100), "new 100");
    EXPECT_EQ(nameOnDevice(device, 39), "window 39");
    EXPECT_EQ(nameOnDevice(device, 45), "old 45");
    EXPECT_EQ(m.changedCount(), 0);
}

void fillPrinter(SimulatedDevice &device)
{
    for (int n = 39; n <= 61; ++n)
        device.module<SimArticles>()->setArticle(n, oldRecord(n));
}
} // namespace

TEST(ArticlePartialE2E, RangeReadAndChangedRowsWriteOverTcp)
{
    QLocale::setDefault(QLocale::c());
    SimHarness h(QStringLiteral("127.0.0.146"));
    ASSERT_TRUE(h.connected);
    fillPrinter(h.device);
    ASSERT_TRUE(h.logIn());
    auto seen = traceRequests(*h.server);
    seen->clear();
    readRangeThenWriteChanges(*h.window, h.messages, h.device, *seen);
}

TEST(ArticlePartialE2E, RangeReadAndChangedRowsWriteOverAPseudoTerminal)
{
    QLocale::setDefault(QLocale::c());
    SimulatedDevice device;
    fillPrinter(device);
    SimSerialServer server(device);
    ASSERT_TRUE(server.openPty()) << server.errorString().toStdString();
    TfMain window;
    window.FormActivate();
    QStringList messages;
    window.dialog().setResponder([&](TDialog &d) {
        messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
        return 1;
    });
    SerialTransport serial;
    serial.setPortName(server.slavePath());
    ASSERT_TRUE(serial.open()) << serial.errorString().toStdString();
    window.link().setSerialTransport(true);
    window.link().setTransport(&serial);
    auto seen = traceRequests(server);
    readRangeThenWriteChanges(window, messages, device, *seen);
    serial.close();
}
