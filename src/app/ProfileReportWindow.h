#pragma once
// The window that tells how a restore of a device profile went, set by set.

#include "ProfileRun.h"

#include <QWidget>

#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

class ProfileReportWindow : public QWidget {
    Q_OBJECT
public:
    explicit ProfileReportWindow(QWidget *parent = nullptr);

    // A headline (done, broken off), a table of how each set fared and the run's report; shows the window.
    void showReport(const QString &headline, const std::vector<ProfileRun::SetOutcome> &outcomes, const QString &report,
                    bool fault);
    static QString outcomeText(ProfileRun::SetState state);

    QLabel *lblHeadline = nullptr;
    QTableWidget *tblOutcomes = nullptr;
    QPlainTextEdit *txtReport = nullptr;
    QPushButton *btnClose = nullptr;
};
