#include "ArticleReportLayout.h"

#include "ToolText.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace {
const QString kFontFamily = QStringLiteral("Arial");

// Positions inside the band (tenths of a millimetre from the band's left edge).
constexpr int kTitleLeft = 868;
constexpr int kHeadSifra = 21;
constexpr int kHeadNaziv = 508;
constexpr int kHeadBarkod = 1164;
constexpr int kHeadCena = 1461;
constexpr int kHeadStopa = 1577;
// Right-aligned fields grow to the left from a fixed right edge: their start plus the width they were
// laid out with; the centred tax letter keeps its centre.
constexpr int kSifraStart = 64, kSifraRight = 131;
constexpr int kNazivLeft = 191;
constexpr int kNameGap = 15;
constexpr int kBarkodStart = 1207, kBarkodRight = 1315;
constexpr int kCenaStart = 1471, kCenaRight = 1548;
constexpr int kStopaStart = 1580, kStopaCentre = 1623;
// The small print of the title and footer bands: 8 points, the right-aligned texts ending at the band's edge.
constexpr int kSmallPrint = 8;
constexpr int kSmallRightFrom = 1300;

QFont reportFont(int points, bool bold)
{
    QFont f(kFontFamily, points);
    f.setBold(bold);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

class Units {
public:
    explicit Units(double dotsPerUnit) : k_(dotsPerUnit) {}
    double operator()(int tenthsOfMm) const { return tenthsOfMm * k_; }

private:
    double k_;
};

// Draws one line of text in a box; the text is not clipped when it is wider than the box.
void text(QPainter &p, const QRectF &box, int align, const QString &s)
{
    p.drawText(box, align | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextDontClip, s);
}
} // namespace

int ArticleReportLayout::linesOnPage(int page)
{
    const int usable = kBodyHeight - kFooterBand - kHeaderBand - (page == 0 ? kTitleBand : 0);
    return usable / kDetailBand;
}

int ArticleReportLayout::pageCount(int records)
{
    int pages = 1;
    for (int left = records - linesOnPage(0); left > 0; left -= linesOnPage(pages))
        ++pages;
    return pages;
}

void ArticleReportLayout::setUpPrinter(QPrinter &printer)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                                      QPageLayout::Millimeter));
    printer.setFullPage(false);
}

void ArticleReportLayout::paintTitle(QPainter &p, double dotsPerUnit, int top, const Heading &heading)
{
    const Units u(dotsPerUnit);
    p.setFont(reportFont(18, true));
    text(p, QRectF(u(kTitleLeft), u(top), u(kBandWidth - kTitleLeft), u(kTitleBand)), Qt::AlignLeft,
         QStringLiteral("Artikli"));
    // Small print in the same band: the serial numbers on the left, the date and time on the right.
    p.setFont(reportFont(kSmallPrint, false));
    QStringList serials;
    if (!heading.cashRegisterSerial.isEmpty())
        serials << ToolText::ReportCashRegisterSerial().arg(heading.cashRegisterSerial);
    if (!heading.fiscalMemorySerial.isEmpty())
        serials << ToolText::ReportFiscalMemorySerial().arg(heading.fiscalMemorySerial);
    const int half = kTitleBand / 2;
    for (int i = 0; i < serials.size(); ++i)
        text(p, QRectF(u(kHeadSifra), u(top + i * half), u(kTitleLeft - kHeadSifra - 20), u(half)), Qt::AlignLeft,
             serials[i]);
    if (heading.printed.isValid())
        text(p, QRectF(u(kSmallRightFrom), u(top), u(kBandWidth - kSmallRightFrom), u(kTitleBand)), Qt::AlignRight,
             ToolText::ReportPrinted().arg(QLocale().toString(heading.printed, QLocale::ShortFormat)));
}

void ArticleReportLayout::paintFooter(QPainter &p, double dotsPerUnit, int page, int pages)
{
    const Units u(dotsPerUnit);
    const int top = kBodyHeight - kFooterBand;
    p.setFont(reportFont(kSmallPrint, false));
    text(p, QRectF(u(kHeadSifra), u(top), u(kSmallRightFrom - kHeadSifra), u(kFooterBand)), Qt::AlignLeft,
         ToolText::ReportRowsNote().arg(ArticleReportRecord::kFirstRow).arg(ArticleReportRecord::kLastRow));
    text(p, QRectF(u(kSmallRightFrom), u(top), u(kBandWidth - kSmallRightFrom), u(kFooterBand)), Qt::AlignRight,
         ToolText::ReportPage().arg(page).arg(pages));
}

void ArticleReportLayout::paintColumnHeader(QPainter &p, double dotsPerUnit, int top)
{
    const Units u(dotsPerUnit);
    p.setFont(reportFont(10, true));
    struct Heading {
        int left;
        const char *text;
    };
    for (const Heading &h : {Heading{kHeadSifra, "Sifra"}, Heading{kHeadNaziv, "Naziv"}, Heading{kHeadBarkod, "Barkod"},
                             Heading{kHeadCena, "Cena"}, Heading{kHeadStopa, "Stopa"}})
        text(p, QRectF(u(h.left), u(top), u(200), u(kHeaderBand)), Qt::AlignLeft, QString::fromLatin1(h.text));
}

void ArticleReportLayout::paintDetail(QPainter &p, double dotsPerUnit, int top, const ArticleReportRecord &r)
{
    const Units u(dotsPerUnit);
    const double y = u(top), h = u(kDetailBand);
    text(p, QRectF(u(kSifraStart), y, u(kSifraRight - kSifraStart), h), Qt::AlignRight, r.sifra);
    // A name of wide letters may reach the barcode printed right-aligned on the same line: it is then
    // shortened with an ellipsis instead of being printed over the barcode.
    const QFontMetricsF fm(p.font(), p.device());
    const double barkodLeft = u(kBarkodRight) - fm.horizontalAdvance(r.barkod);
    const double nazivWidth = barkodLeft - u(kNameGap) - u(kNazivLeft);
    const QString naziv = fm.horizontalAdvance(r.naziv) <= nazivWidth
                              ? r.naziv
                              : fm.elidedText(r.naziv, Qt::ElideRight, std::max(0.0, nazivWidth));
    text(p, QRectF(u(kNazivLeft), y, std::max(0.0, nazivWidth), h), Qt::AlignLeft, naziv);
    text(p, QRectF(u(kBarkodStart), y, u(kBarkodRight - kBarkodStart), h), Qt::AlignRight, r.barkod);
    text(p, QRectF(u(kCenaStart), y, u(kCenaRight - kCenaStart), h), Qt::AlignRight, r.cena);
    text(p, QRectF(u(kStopaStart), y, u(2 * (kStopaCentre - kStopaStart)), h), Qt::AlignHCenter, r.stopa);
}

int ArticleReportLayout::paint(QPrinter &printer, const QList<ArticleReportRecord> &records, const Heading &heading)
{
    QPainter p;
    if (!p.begin(&printer))
        return 0;
    // Printer dots per tenth of a millimetre; the painter's origin is the top-left of the margins.
    const int pages = paintPages(
        p, printer.resolution() / 254.0, [&printer] { printer.newPage(); }, records, heading);
    p.end();
    return pages;
}

int ArticleReportLayout::paintPages(QPainter &p, double dotsPerUnit, const std::function<void()> &newPage,
                                    const QList<ArticleReportRecord> &records, const Heading &heading)
{
    p.setPen(Qt::black);
    const int detailFont = 10;
    const int pages = pageCount(int(records.size()));
    int page = 0;
    qsizetype next = 0;
    for (;;) {
        int top = 0;
        if (page == 0) {
            paintTitle(p, dotsPerUnit, top, heading);
            top += kTitleBand;
        }
        paintColumnHeader(p, dotsPerUnit, top);
        top += kHeaderBand;
        p.setFont(reportFont(detailFont, false));
        for (int line = 0; line < linesOnPage(page) && next < records.size(); ++line, ++next) {
            paintDetail(p, dotsPerUnit, top, records.at(next));
            top += kDetailBand;
        }
        ++page;
        paintFooter(p, dotsPerUnit, page, pages);
        if (next >= records.size())
            break;
        newPage();
    }
    return page;
}
