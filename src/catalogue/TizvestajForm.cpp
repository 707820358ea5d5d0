#include "TizvestajForm.h"

#include <QFileInfo>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>
#include <QToolBar>

#include <algorithm>

TizvestajForm::TizvestajForm(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName("izvestajForm");
    setWindowTitle(QStringLiteral("Izvestaj Artikli"));
}

void TizvestajForm::preview()
{
    QPrinter printer(QPrinter::HighResolution);
    ArticleReportLayout::setUpPrinter(printer);
    QPrintPreviewDialog dialog(&printer, window());
    dialog.setObjectName("izvestajPreview");
    dialog.setWindowTitle(windowTitle());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [this](QPrinter *p) { ArticleReportLayout::paint(*p, records_, heading_); });
    // Wide enough for the whole tool bar, so that its print button is on screen and not behind the
    // bar's overflow arrow.
    if (const auto *bar = dialog.findChild<QToolBar *>()) {
        QSize size(std::max(bar->sizeHint().width() + 40, 800), 700);
        if (const QScreen *screen = dialog.screen())
            size = size.boundedTo(screen->availableGeometry().size());
        dialog.resize(size);
    }
    if (previewHook_)
        previewHook_(dialog);
    else
        dialog.exec();
}

bool TizvestajForm::writePdf(const QString &path) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QStringLiteral("Artikli"));
    ArticleReportLayout::setUpPrinter(printer);
    if (ArticleReportLayout::paint(printer, records_, heading_) == 0)
        return false;
    const QFileInfo info(path);
    return info.exists() && info.size() > 0;
}
