// Articles report: the preview from BitBtn1 and the PDF written from the same pages.
#include "ArticlesReport.h"
#include "ArticleModel.h"
#include "ArticleReportLayout.h"
#include "MaintenanceFixture.h"
#include "TizvestajForm.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPaintEngine>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>
#include <QToolBar>

namespace {
// Pages of a PDF file: its page objects.
int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    int n = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(f.readAll())); it.hasNext(); it.next())
        ++n;
    return n;
}

// A page-less paint device that keeps the texts painted on it, page by page.
class TextPages : public QPaintDevice {
public:
    TextPages() : engine_(this) {}
    QPaintEngine *paintEngine() const override { return const_cast<Engine *>(&engine_); }
    void newPage() { pages.append(QStringList()); }
    QList<QStringList> pages{QStringList()};

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return 2159;
        case PdmHeight:
            return 2794;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 254; // one dot per tenth of a millimetre
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        explicit Engine(TextPages *device) : device_(device) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        // One text is painted as several items where its script changes ("касе: AB12"); an item that
        // goes on where the last one ended on the same line belongs to the same text.
        void drawTextItem(const QPointF &at, const QTextItem &item) override
        {
            QStringList &page = device_->pages.last();
            const QPointF start = state->transform().map(at);
            if (!page.isEmpty() && qAbs(start.y() - end_.y()) < 0.5 && qAbs(start.x() - end_.x()) < 0.5)
                page.last() += item.text();
            else
                page << item.text();
            end_ = state->transform().map(at + QPointF(item.width(), 0));
        }
        Type type() const override { return User; }

    private:
        TextPages *device_;
        QPointF end_;
    };
    Engine engine_;
};

QList<QStringList> paintedTexts(const QList<ArticleReportRecord> &records, const ArticleReportLayout::Heading &heading)
{
    TextPages device;
    QPainter p(&device);
    ArticleReportLayout::paintPages(
        p, 1.0, [&] { device.newPage(); }, records, heading);
    p.end();
    return device.pages;
}

class Report : public MaintenanceFixture {
protected:
    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        QLocale::setDefault(QLocale(QLocale::Serbian, QLocale::LatinScript, QLocale::Serbia));
    }
    void TearDown() override
    {
        MaintenanceFixture::TearDown();
        QLocale::setDefault(QLocale::c());
    }
    ArticlesReport *report() { return window->findChild<ArticlesReport *>(); }
    // Fills rows 1..70 with names; 61 of them are in the report.
    void fillSeventyRows()
    {
        ArticleModel &m = window->articles();
        for (int r = 1; r <= 70; ++r) {
            m.setCell(ArticleModel::Name, r, QStringLiteral("Артикал број %1").arg(r));
            m.setCell(ArticleModel::Barcode, r, QString::number(8600000000000LL + r));
            m.setCell(ArticleModel::Price, r, QLocale().toString(r * 12.5, 'f', 2));
        }
    }
};
} // namespace

TEST_F(Report, FormAndButton)
{
    start();
    ASSERT_NE(report(), nullptr);
    auto *form = window->findChild<TizvestajForm *>();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Izvestaj Artikli");
    EXPECT_FALSE(form->isVisible());
    auto *b = child<QPushButton>("BitBtn1");
    EXPECT_TRUE(b->text().isEmpty());
    // The printer picture (and the find button's) is looked up when the article page first opens,
    // not while the window starts.
    auto *find = child<QPushButton>("btnFind");
    window->show();
    window->btPage1Click();
    EXPECT_TRUE(b->icon().isNull());
    EXPECT_TRUE(find->icon().isNull());
    window->btPage2Click();
    EXPECT_FALSE(b->icon().isNull());
    EXPECT_FALSE(find->icon().isNull());
}

TEST_F(Report, PreviewFromBitBtn1ShowsTheRecords)
{
    start();
    fillSeventyRows();
    int pages = -1;
    report()->form().setPreviewHook([&](QPrintPreviewDialog &dialog) {
        auto *w = dialog.findChild<QPrintPreviewWidget *>();
        ASSERT_NE(w, nullptr);
        w->updatePreview();
        pages = w->pageCount();
    });
    click("BitBtn1");
    EXPECT_EQ(pages, 2);
    const auto &records = report()->form().records();
    ASSERT_EQ(records.size(), 61);
    EXPECT_EQ(records.first().sifra, "1");
    EXPECT_EQ(records.last().sifra, "61");
    EXPECT_EQ(records[1].cena, QStringLiteral("25,00"));

    // A fresh table: one page with the title and the headings only.
    window->articles().fillStartup();
    click("BitBtn1");
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(report()->form().records().isEmpty());
}

TEST_F(Report, PdfOfTheSameReport)
{
    start();
    fillSeventyRows();
    ArticleModel &m = window->articles();
    m.setCell(ArticleModel::Name, 3, QString(40, u'Ш'));
    m.setCell(ArticleModel::Number, 3, QStringLiteral("123456"));
    const QString path = dir.filePath("artikli.pdf");
    ASSERT_TRUE(report()->renderToPdf(path));
    EXPECT_GT(QFileInfo(path).size(), 1000);
    EXPECT_EQ(pdfPages(path), 2);
    const auto &records = report()->form().records();
    ASSERT_EQ(records.size(), 61);
    EXPECT_EQ(records[2].sifra, "1234");
    EXPECT_EQ(records[2].naziv, QString(36, u'Ш'));

    // Kept for looking at by hand when asked for.
    if (const QByteArray keep = qgetenv("QUORVEL_KEEP_REPORT_PDF"); !keep.isEmpty())
        QFile::copy(path, QString::fromLocal8Bit(keep));

    m.fillStartup();
    const QString empty = dir.filePath("prazan.pdf");
    ASSERT_TRUE(report()->renderToPdf(empty));
    EXPECT_EQ(pdfPages(empty), 1);
}

TEST_F(Report, UnwritablePdfPathFails)
{
    start();
    EXPECT_FALSE(report()->renderToPdf(dir.filePath("no/such/dir/a.pdf")));
}

TEST_F(Report, FirstPageNamesTimeAndSerialsAndEveryPageItsNumber)
{
    start();
    fillSeventyRows();
    const QDateTime when(QDate(2024, 3, 9), QTime(14, 5));
    const QList<QStringList> pages =
        paintedTexts(ArticleReportRecord::collect(window->articles()), {when, "AB12345678", "987654321012"});
    ASSERT_EQ(pages.size(), 2);
    const QString note = QStringLiteral("Садржи редове 1..61 табеле артикала, само оне са називом.");
    const QStringList &first = pages[0];
    EXPECT_TRUE(first.contains("Artikli"));
    EXPECT_TRUE(first.contains(QStringLiteral("Серијски број касе: AB12345678")));
    EXPECT_TRUE(first.contains(QStringLiteral("Серијски број ФМ: 987654321012")));
    EXPECT_TRUE(first.contains(QStringLiteral("Одштампано: ") + QLocale().toString(when, QLocale::ShortFormat)))
        << first.join(" | ").toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Страна 1 од 2")));
    EXPECT_TRUE(first.contains(note));
    EXPECT_TRUE(first.contains(QStringLiteral("Артикал број 1")));
    const QStringList &second = pages[1];
    EXPECT_FALSE(second.contains("Artikli"));
    EXPECT_TRUE(second.contains(QStringLiteral("Страна 2 од 2")));
    EXPECT_TRUE(second.contains(note));
    EXPECT_TRUE(second.contains(QStringLiteral("Артикал број 61")));
    EXPECT_TRUE(second.contains("Sifra"));

    // Serial numbers not read yet are left out; an empty report is one numbered page.
    const QList<QStringList> empty = paintedTexts({}, {when, {}, {}});
    ASSERT_EQ(empty.size(), 1);
    EXPECT_TRUE(empty[0].contains(QStringLiteral("Страна 1 од 1")));
    EXPECT_FALSE(empty[0].join(" ").contains(QStringLiteral("Серијски")));
}

TEST_F(Report, ButtonTakesTheSerialNumbersTheWindowShows)
{
    start();
    child<QLineEdit>("edtEKAFP_Ser_No")->setText("AB12345678");
    child<QLineEdit>("edtFP_Ser_No")->setText("987654321012");
    report()->form().setPreviewHook([](QPrintPreviewDialog &) {});
    const QDateTime before = QDateTime::currentDateTime();
    click("BitBtn1");
    const ArticleReportLayout::Heading &h = report()->form().heading();
    EXPECT_EQ(h.cashRegisterSerial, "AB12345678");
    EXPECT_EQ(h.fiscalMemorySerial, "987654321012");
    EXPECT_GE(h.printed, before.addSecs(-1));
    EXPECT_LE(h.printed, QDateTime::currentDateTime());
}

TEST_F(Report, PrintButtonIsOnScreenInThePreview)
{
    start();
    fillSeventyRows();
    bool seen = false;
    report()->form().setPreviewHook([&](QPrintPreviewDialog &dialog) {
        dialog.show();
        QCoreApplication::processEvents();
        auto *bar = dialog.findChild<QToolBar *>();
        ASSERT_NE(bar, nullptr);
        QAction *print = nullptr;
        for (QAction *a : bar->actions())
            if (a->shortcut() == QKeySequence::Print || a->text().contains("Print"))
                print = a;
        ASSERT_NE(print, nullptr);
        QWidget *button = bar->widgetForAction(print);
        ASSERT_NE(button, nullptr);
        EXPECT_TRUE(button->isVisible());
        EXPECT_TRUE(bar->rect().contains(button->geometry())) << button->geometry().x() << " " << bar->width();
        EXPECT_TRUE(dialog.rect().contains(bar->mapTo(&dialog, button->geometry().bottomRight())));
        seen = true;
        dialog.close();
    });
    click("BitBtn1");
    EXPECT_TRUE(seen);
}
