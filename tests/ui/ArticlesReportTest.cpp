// Articles report: the preview from BitBtn1 and the PDF written from the same pages.
#include "ArticlesReport.h"
#include "ArticleModel.h"
#include "MaintenanceFixture.h"
#include "TizvestajForm.h"

#include <QFileInfo>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QRegularExpression>

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
    EXPECT_FALSE(b->icon().isNull());
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
