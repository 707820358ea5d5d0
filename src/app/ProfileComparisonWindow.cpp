#include "ProfileComparisonWindow.h"

#include "ArticleReportLayout.h"
#include "LinkView.h"
#include "ToolText.h"
#include "UiText.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>

namespace {
int countState(const ProfileComparison &c, SetComparison::State state)
{
    return int(
        std::count_if(c.sets.begin(), c.sets.end(), [state](const SetComparison &s) { return s.state == state; }));
}
} // namespace

ProfileComparisonWindow::ProfileComparisonWindow(LinkView &view, QWidget *parent)
    : QWidget(parent, Qt::Window), view_(view)
{
    setObjectName("profileComparison");
    setWindowTitle(ToolText::profileComparisonCaption());
    resize(760, 520);

    auto *layout = new QVBoxLayout(this);
    lblProfile = new QLabel(this);
    lblProfile->setObjectName("lblProfile");
    lblProfile->setWordWrap(true);
    lblIdentity = new QLabel(this);
    lblIdentity->setObjectName("lblIdentity");
    lblIdentity->setWordWrap(true);
    lblSummary = new QLabel(this);
    lblSummary->setObjectName("lblSummary");
    QFont bold = lblSummary->font();
    bold.setBold(true);
    lblSummary->setFont(bold);

    tblComparison = new QTableWidget(0, 3, this);
    tblComparison->setObjectName("tblComparison");
    tblComparison->setHorizontalHeaderLabels(
        {ToolText::profileColumnSet(), ToolText::profileColumnState(), ToolText::profileColumnDifferences()});
    tblComparison->verticalHeader()->hide();
    tblComparison->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblComparison->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblComparison->setWordWrap(true);
    tblComparison->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblComparison->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tblComparison->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);

    auto *buttons = new QHBoxLayout;
    btnPrint = new QPushButton(ToolText::profilePrint(), this);
    btnPrint->setObjectName("btnPrint");
    btnPdf = new QPushButton(ToolText::profileSavePdf(), this);
    btnPdf->setObjectName("btnPdf");
    btnClose = new QPushButton(ToolText::profileClose(), this);
    btnClose->setObjectName("btnClose");
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnPdf);
    buttons->addStretch();
    buttons->addWidget(btnClose);

    layout->addWidget(lblProfile);
    layout->addWidget(lblIdentity);
    layout->addWidget(lblSummary);
    layout->addWidget(tblComparison, 1);
    layout->addLayout(buttons);

    connect(btnPrint, &QPushButton::clicked, this, &ProfileComparisonWindow::printClick);
    connect(btnPdf, &QPushButton::clicked, this, &ProfileComparisonWindow::pdfClick);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

QString ProfileComparisonWindow::stateText(SetComparison::State state)
{
    switch (state) {
    case SetComparison::State::Equal:
        return ToolText::profileStateEqual();
    case SetComparison::State::Different:
        return ToolText::profileStateDifferent();
    case SetComparison::State::NotInProfile:
        return ToolText::profileStateNotInProfile();
    case SetComparison::State::NotRead:
        return ToolText::profileStateNotRead();
    }
    return {};
}

QString ProfileComparisonWindow::differencesText(const SetComparison &set)
{
    return set.differences.join(QLatin1Char('\n'));
}

QString ProfileComparisonWindow::summaryText() const
{
    const int different = countState(comparison_, SetComparison::State::Different);
    const int notRead = countState(comparison_, SetComparison::State::NotRead);
    if (different == 0 && notRead == 0)
        return ToolText::profileComparisonEqual();
    QStringList parts;
    if (different > 0)
        parts << ToolText::profileComparisonDifferent(different);
    if (notRead > 0)
        parts << ToolText::profileComparisonNotRead(notRead);
    return parts.join(QLatin1Char(' '));
}

void ProfileComparisonWindow::setComparison(const ProfileComparison &comparison, const QString &path,
                                            const QDateTime &taken)
{
    comparison_ = comparison;
    path_ = path;
    taken_ = taken;
    const QString when = taken.isValid() ? QLocale().toString(taken.toLocalTime(), QLocale::ShortFormat) : QString();
    lblProfile->setText(ToolText::profileComparisonProfile(QFileInfo(path).fileName(), when));
    lblProfile->setToolTip(path);
    lblIdentity->setText(comparison.identityNote);
    lblIdentity->setVisible(!comparison.identityNote.isEmpty());
    lblSummary->setText(summaryText());

    tblComparison->setRowCount(int(comparison.sets.size()));
    for (int row = 0; row < int(comparison.sets.size()); ++row) {
        const SetComparison &s = comparison.sets[size_t(row)];
        auto *title = new QTableWidgetItem(ToolText::profileSetTitle(s.set));
        title->setData(Qt::UserRole, s.set);
        auto *state = new QTableWidgetItem(stateText(s.state));
        if (s.state == SetComparison::State::Different || s.state == SetComparison::State::NotRead)
            state->setForeground(Qt::red);
        auto *differences = new QTableWidgetItem(differencesText(s));
        tblComparison->setItem(row, 0, title);
        tblComparison->setItem(row, 1, state);
        tblComparison->setItem(row, 2, differences);
    }
    tblComparison->resizeRowsToContents();
}

void ProfileComparisonWindow::fillDocument(QTextDocument &document) const
{
    auto esc = [](const QString &s) { return s.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")); };
    QString html = QStringLiteral("<html><body style=\"font-family: Arial; font-size: 9pt;\">");
    html += QStringLiteral("<h2>%1</h2>").arg(esc(ToolText::profileComparisonCaption()));
    html += QStringLiteral("<p>%1<br>%2</p>")
                .arg(esc(lblProfile->text()), esc(ToolText::ReportPrinted().arg(QLocale().toString(
                                                  QDateTime::currentDateTime(), QLocale::ShortFormat))));
    if (!comparison_.identityNote.isEmpty())
        html += QStringLiteral("<p>%1</p>").arg(esc(comparison_.identityNote));
    html += QStringLiteral("<p><b>%1</b></p>").arg(esc(summaryText()));
    html += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\">");
    html += QStringLiteral("<tr><th align=\"left\">%1</th><th align=\"left\">%2</th><th align=\"left\">%3</th></tr>")
                .arg(esc(ToolText::profileColumnSet()), esc(ToolText::profileColumnState()),
                     esc(ToolText::profileColumnDifferences()));
    for (const SetComparison &s : comparison_.sets)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td><td>%3</td></tr>")
                    .arg(esc(ToolText::profileSetTitle(s.set)), esc(stateText(s.state)), esc(differencesText(s)));
    html += QStringLiteral("</table></body></html>");
    document.setHtml(html);
}

void ProfileComparisonWindow::paint(QPrinter &printer) const
{
    QTextDocument document;
    fillDocument(document);
    document.print(&printer);
}

void ProfileComparisonWindow::printClick()
{
    QPrinter printer(QPrinter::HighResolution);
    ArticleReportLayout::setUpPrinter(printer);
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setObjectName("profileComparisonPreview");
    dialog.setWindowTitle(windowTitle());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [this](QPrinter *p) { paint(*p); });
    dialog.resize(800, 700);
    if (previewHook_)
        previewHook_(dialog);
    else
        dialog.exec();
}

bool ProfileComparisonWindow::writePdf(const QString &path) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(ToolText::profileComparisonCaption());
    ArticleReportLayout::setUpPrinter(printer);
    // Emptied first: an old file of the same name must not pass for the new one, and a file that
    // cannot be written is known before anything is painted.
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.close();
    paint(printer);
    const QFileInfo info(path);
    return info.exists() && info.size() > 0;
}

void ProfileComparisonWindow::pdfClick()
{
    QString path = pdfChooser_ ? pdfChooser_()
                               : QFileDialog::getSaveFileName(this, ToolText::profileSavePdf(), QString(),
                                                              ToolText::profilePdfFilter());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".pdf");
    if (writePdf(path))
        view_.showDialog(UiText(Txt::TitleInfo), ToolText::profilePdfSaved(path));
    else
        view_.showDialog(UiText(Txt::TitleError), ToolText::profilePdfNotSaved(path));
}
