// The comparison window: the table set by set, the article numbers as runs, printing and the PDF.
#include "ProfileComparisonWindow.h"
#include "RecordingView.h"
#include "ToolText.h"

#include <QFile>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {
ProfileComparison sample()
{
    ProfileComparison c;
    SetComparison taxpayer{QStringLiteral("taxpayer"), SetComparison::State::Equal, {}, {}};
    SetComparison articles{QStringLiteral("articles"),
                           SetComparison::State::Different,
                           {QStringLiteral("артикала који се разликују: 2 (бројеви: 7, 120)"),
                            QStringLiteral("артикал 7: name: „Хлеб“ → „Млеко“")},
                           {7, 120}};
    SetComparison cashiers{
        QStringLiteral("cashiers"), SetComparison::State::Different, {QStringLiteral("3: „Ана <b>“ → „Јова“")}, {}};
    SetComparison network{QStringLiteral("network"), SetComparison::State::NotRead, {}, {}};
    c.sets = {taxpayer, articles, cashiers, network};
    c.identityNote = QStringLiteral("Профил је са другог уређаја: AB000001 / FM000001, овај је AB000002 / FM000002.");
    return c;
}

QString cell(QTableWidget *t, int row, int column)
{
    const QTableWidgetItem *item = t->item(row, column);
    return item ? item->text() : QString();
}
} // namespace

TEST(ProfileComparisonWindow, TableHoldsEverySetWithItsStateAndDifferences)
{
    RecordingView view;
    ProfileComparisonWindow w(view);
    w.setComparison(sample(), QStringLiteral("/tmp/radnja.qvp"), QDateTime(QDate(2026, 12, 1), QTime(9, 30)));
    QTableWidget *t = w.tblComparison;
    ASSERT_EQ(t->rowCount(), 4);
    EXPECT_EQ(cell(t, 0, 0), ToolText::profileSetTitle("taxpayer"));
    EXPECT_EQ(cell(t, 0, 1), ToolText::profileStateEqual());
    EXPECT_EQ(cell(t, 0, 2), QString());
    EXPECT_EQ(cell(t, 1, 0), QStringLiteral("Артикли"));
    EXPECT_EQ(cell(t, 1, 1), ToolText::profileStateDifferent());
    EXPECT_EQ(cell(t, 1, 2), QStringLiteral("артикала који се разликују: 2 (бројеви: 7, 120)\n"
                                            "артикал 7: name: „Хлеб“ → „Млеко“"));
    EXPECT_EQ(cell(t, 2, 2), QStringLiteral("3: „Ана <b>“ → „Јова“"));
    EXPECT_EQ(cell(t, 3, 1), ToolText::profileStateNotRead());
    EXPECT_TRUE(w.lblProfile->text().contains(QStringLiteral("radnja.qvp")));
    EXPECT_EQ(w.lblIdentity->text(), sample().identityNote);
    EXPECT_EQ(w.lblSummary->text(),
              ToolText::profileComparisonDifferent(2) + QLatin1Char(' ') + ToolText::profileComparisonNotRead(1));

    ProfileComparison same;
    same.sets = {SetComparison{QStringLiteral("taxpayer"), SetComparison::State::Equal, {}, {}},
                 SetComparison{QStringLiteral("logo"), SetComparison::State::NotInProfile, {}, {}}};
    w.setComparison(same, QStringLiteral("a.qvp"), {});
    EXPECT_EQ(t->rowCount(), 2);
    EXPECT_EQ(w.lblSummary->text(), ToolText::profileComparisonEqual());
    EXPECT_TRUE(w.lblIdentity->isHidden());
}

TEST(ProfileComparisonWindow, PrintPreviewPaintsTheComparison)
{
    RecordingView view;
    ProfileComparisonWindow w(view);
    w.setComparison(sample(), QStringLiteral("radnja.qvp"), {});
    int pages = -1;
    w.setPreviewHook([&](QPrintPreviewDialog &d) {
        auto *preview = d.findChild<QPrintPreviewWidget *>();
        ASSERT_NE(preview, nullptr);
        preview->updatePreview();
        pages = preview->pageCount();
    });
    QTest::mouseClick(w.btnPrint, Qt::LeftButton);
    EXPECT_GE(pages, 1);
}

TEST(ProfileComparisonWindow, PdfIsWrittenWithTheSetNamesAndAnUnwritableFileIsSaidSo)
{
    QTemporaryDir dir;
    RecordingView view;
    ProfileComparisonWindow w(view);
    w.setComparison(sample(), QStringLiteral("radnja.qvp"), {});
    const QString path = dir.filePath("poredjenje"); // no suffix: ".pdf" is added
    w.setPdfChooser([&] { return path; });
    QTest::mouseClick(w.btnPdf, Qt::LeftButton);
    QFile pdf(path + ".pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    pdf.close();
    ASSERT_EQ(view.dialogs.size(), 1);
    EXPECT_EQ(view.dialogs.last(), QStringLiteral("Информација !!!|") + ToolText::profilePdfSaved(path + ".pdf"));

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (!pdftotext.isEmpty()) {
        QProcess p;
        p.start(pdftotext, {path + ".pdf", QStringLiteral("-")});
        ASSERT_TRUE(p.waitForFinished(20000));
        const QString text = QString::fromUtf8(p.readAllStandardOutput());
        for (const char *set : {"taxpayer", "articles", "cashiers", "network"})
            EXPECT_TRUE(text.contains(ToolText::profileSetTitle(QString::fromLatin1(set)))) << set << "\n"
                                                                                            << qPrintable(text);
        EXPECT_TRUE(text.contains(QStringLiteral("Ана <b>"))) << qPrintable(text);
    }

    w.setPdfChooser([&] { return dir.filePath("nema/takvog/direktorijuma.pdf"); });
    QTest::mouseClick(w.btnPdf, Qt::LeftButton);
    ASSERT_EQ(view.dialogs.size(), 2);
    EXPECT_EQ(view.dialogs.last(), QStringLiteral("Грешка !!! |") +
                                       ToolText::profilePdfNotSaved(dir.filePath("nema/takvog/direktorijuma.pdf")));
}
