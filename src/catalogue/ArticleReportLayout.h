#pragma once
// The banded page layout of the articles report, painted onto a printer (preview, paper or PDF).

#include "ArticleReportRecord.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class QPainter;
class QPrinter;

class ArticleReportLayout {
public:
    // Measures in tenths of a millimetre, so the page arithmetic is exact.
    static constexpr int kMargin = 100;
    static constexpr int kBodyHeight = 2794 - 2 * kMargin; // Letter, portrait
    static constexpr int kBandWidth = 1958;
    static constexpr int kTitleBand = 93;
    static constexpr int kHeaderBand = 85;
    static constexpr int kDetailBand = 42;
    static constexpr int kFooterBand = 106;

    // Detail lines that fit on page `page` (0 = the first page, which also holds the title).
    static int linesOnPage(int page);
    // Pages for `records` detail lines; an empty report still has its first page.
    static int pageCount(int records);

    // What the first page names beside the title: when the report was made and, when known, the
    // printer's serial numbers (empty texts are left out).
    struct Heading {
        QDateTime printed;
        QString cashRegisterSerial;
        QString fiscalMemorySerial;
    };

    // Letter paper, portrait, 10 mm margins on all sides.
    static void setUpPrinter(QPrinter &printer);
    // Paints the whole report; returns the number of pages painted.
    static int paint(QPrinter &printer, const QList<ArticleReportRecord> &records, const Heading &heading);
    // The same onto any painter whose origin is the top-left of the margins; `newPage` starts the
    // next page.
    static int paintPages(QPainter &p, double dotsPerUnit, const std::function<void()> &newPage,
                          const QList<ArticleReportRecord> &records, const Heading &heading);

private:
    static void paintTitle(QPainter &p, double dotsPerUnit, int top, const Heading &heading);
    static void paintFooter(QPainter &p, double dotsPerUnit, int page, int pages);
    static void paintColumnHeader(QPainter &p, double dotsPerUnit, int top);
    static void paintDetail(QPainter &p, double dotsPerUnit, int top, const ArticleReportRecord &r);
};
