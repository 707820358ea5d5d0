#pragma once
// The articles report form: holds the record list and shows the report in a print preview.

#include "ArticleReportLayout.h"
#include "ArticleReportRecord.h"

#include <QList>
#include <QWidget>

#include <functional>

class QPrintPreviewDialog;

class TizvestajForm : public QWidget {
    Q_OBJECT
public:
    explicit TizvestajForm(QWidget *parent = nullptr);

    const QList<ArticleReportRecord> &records() const { return records_; }
    void setRecords(QList<ArticleReportRecord> records) { records_ = std::move(records); }
    const ArticleReportLayout::Heading &heading() const { return heading_; }
    void setHeading(ArticleReportLayout::Heading heading) { heading_ = std::move(heading); }

    // Opens the print preview of the report (printing is started from there).
    void preview();
    // Writes the report as a PDF file; false when the file could not be written.
    bool writePdf(const QString &path) const;

    // For automated runs: called with the preview instead of showing it modally.
    void setPreviewHook(std::function<void(QPrintPreviewDialog &)> hook) { previewHook_ = std::move(hook); }

private:
    QList<ArticleReportRecord> records_;
    ArticleReportLayout::Heading heading_;
    std::function<void(QPrintPreviewDialog &)> previewHook_;
};
