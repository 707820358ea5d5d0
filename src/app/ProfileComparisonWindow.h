#pragma once
// The window that shows what differs between a device profile and the printer, set by set, and prints it.

#include "ProfileComparison.h"

#include <QDateTime>
#include <QString>
#include <QWidget>

#include <functional>

class LinkView;
class QLabel;
class QPrintPreviewDialog;
class QPrinter;
class QPushButton;
class QTableWidget;
class QTextDocument;

class ProfileComparisonWindow : public QWidget {
    Q_OBJECT
public:
    ProfileComparisonWindow(LinkView &view, QWidget *parent = nullptr);

    // Shows `comparison` of the profile in `path` (taken at `taken`) with what the printer holds now.
    void setComparison(const ProfileComparison &comparison, const QString &path, const QDateTime &taken);
    const ProfileComparison &comparison() const { return comparison_; }

    // The table's text for one set: its differing fields, one a line (for the articles how many,
    // which numbers and the first few).
    static QString differencesText(const SetComparison &set);
    static QString stateText(SetComparison::State state);

    // Opens the print preview (printing starts from there).
    void printClick();
    // Asks for a file name and writes the comparison there as PDF.
    void pdfClick();
    // Writes the comparison as a PDF file; false when it could not be written.
    bool writePdf(const QString &path) const;

    // For automated runs: called with the preview instead of showing it modally, and asked for
    // the PDF file name instead of the file dialog (an empty name cancels).
    void setPreviewHook(std::function<void(QPrintPreviewDialog &)> hook) { previewHook_ = std::move(hook); }
    void setPdfChooser(std::function<QString()> chooser) { pdfChooser_ = std::move(chooser); }

    QLabel *lblProfile = nullptr;
    QLabel *lblIdentity = nullptr;
    QLabel *lblSummary = nullptr;
    QTableWidget *tblComparison = nullptr;
    QPushButton *btnPrint = nullptr;
    QPushButton *btnPdf = nullptr;
    QPushButton *btnClose = nullptr;

private:
    // The printed form: heading, the profile, the identity note and the table.
    void fillDocument(QTextDocument &document) const;
    void paint(QPrinter &printer) const;
    QString summaryText() const;

    LinkView &view_;
    ProfileComparison comparison_;
    QString path_;
    QDateTime taken_;
    std::function<void(QPrintPreviewDialog &)> previewHook_;
    std::function<QString()> pdfChooser_;
};
