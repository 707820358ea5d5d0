// The whole article table written over a real pseudo-terminal and read back into a fresh window.
#include "ArticleModel.h"
#include "ArticlesSection.h"
#include "Decimal.h"
#include "SerialTransport.h"
#include "SimArticles.h"
#include "SimHarness.h"
#include "SimSerialServer.h"
#include "TaxLetters.h"
#include "ToolText.h"
#include "UiText.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace {
constexpr int kArticles = ArticleModel::kArticles;

// A window on its own serial transport, every message recorded.
struct SerialWindow {
    explicit SerialWindow(const QString &path)
    {
        window.FormActivate();
        window.dialog().setResponder([this](TDialog &d) {
            messages.append(d.Naslov->text() + "|" + d.tekst->toPlainText());
            return 1;
        });
        serial.setPortName(path);
        opened = serial.open();
        window.link().setSerialTransport(true);
        window.link().setTransport(&serial);
    }
    QString counter() { return window.articlesSection().lblBrojac->text(); }

    TfMain window;
    SerialTransport serial;
    QStringList messages;
    bool opened = false;
};
} // namespace

TEST(ArticlePtyE2E, WholeTableWrittenAndReadBackOverAPseudoTerminal)
{
    QLocale::setDefault(QLocale::c());
    SimulatedDevice device;
    SimSerialServer server(device); // no pacing: as fast as the line goes
    ASSERT_TRUE(server.openPty()) << server.errorString().toStdString();

    auto writer = std::make_unique<SerialWindow>(server.slavePath());
    ASSERT_TRUE(writer->opened) << writer->serial.errorString().toStdString();
    ArticleModel &source = writer->window.articles();
    for (int r = 1; r <= kArticles; ++r) {
        if (r % 4 == 0)
            source.setCell(ArticleModel::Name, r, QStringLiteral("Ћевапи ЉЊЏ љњџ %1").arg(r));
        else if (r % 4 == 1)
            source.setCell(ArticleModel::Name, r, QStringLiteral("Kafa %1").arg(r));
        source.setCell(ArticleModel::Barcode, r,
                       r % 3 == 0 ? QStringLiteral("4%1").arg(r * 7LL, 12, 10, QChar('0')) : QString());
        source.setCell(ArticleModel::Department, r, QString::number(r % 10 + 1));
        source.setCell(ArticleModel::Price, r, Decimal::fromHundredths(int64_t(r) * 104729 % 999999999));
        source.setCell(ArticleModel::Tax, r, TaxLetters::letter(r % 9));
    }
    writer->window.articlesSection().btnAWrite->click();
    ASSERT_TRUE(waitUntil([&] { return writer->counter() == "60001"; }, 180000)) << writer->counter().toStdString();
    EXPECT_EQ(writer->messages,
              QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesWriteCompleted(kArticles)});
    EXPECT_EQ(device.module<SimArticles>()->articleWrites(), kArticles);
    writer->serial.close();

    SerialWindow reader(server.slavePath());
    ASSERT_TRUE(reader.opened) << reader.serial.errorString().toStdString();
    reader.window.articlesSection().btnARead->click();
    ASSERT_TRUE(waitUntil([&] { return reader.counter() == "60000"; }, 180000)) << reader.counter().toStdString();
    EXPECT_EQ(reader.messages, QStringList{UiText(Txt::TitleInfo) + "|" + ToolText::articlesReadCompleted(kArticles)});

    const ArticleModel &copy = reader.window.articles();
    int differing = 0;
    for (int r = 1; r <= kArticles; ++r)
        for (int c = 0; c < ArticleModel::kColumns; ++c)
            if (copy.cell(c, r) != source.cell(c, r) && ++differing <= 5)
                ADD_FAILURE() << "row " << r << " column " << c << ": " << copy.cell(c, r).toStdString()
                              << " != " << source.cell(c, r).toStdString();
    EXPECT_EQ(differing, 0);
}
