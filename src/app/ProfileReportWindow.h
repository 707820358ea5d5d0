#pragma once
// The window that tells how a restore of a device profile went, set by set.

#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class ProfileReportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProfileReportWindow(QWidget *parent = nullptr);

    // A headline (done, broken off) above the run's report, and shows the window.
    void showReport(const QString &headline, const QString &report, bool fault);

    QLabel *lblHeadline = nullptr;
    QPlainTextEdit *txtReport = nullptr;
    QPushButton *btnClose = nullptr;
};
