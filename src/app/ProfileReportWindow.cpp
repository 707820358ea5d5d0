#include "ProfileReportWindow.h"

#include "ToolText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

ProfileReportWindow::ProfileReportWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName("profileReport");
    setWindowTitle(ToolText::profileRestoreReportCaption());
    resize(640, 480);
    auto *layout = new QVBoxLayout(this);
    lblHeadline = new QLabel(this);
    lblHeadline->setObjectName("lblHeadline");
    lblHeadline->setWordWrap(true);
    QFont bold = lblHeadline->font();
    bold.setBold(true);
    lblHeadline->setFont(bold);
    tblOutcomes = new QTableWidget(0, 3, this);
    tblOutcomes->setObjectName("tblOutcomes");
    tblOutcomes->setHorizontalHeaderLabels(
        {ToolText::profileColumnSet(), ToolText::profileColumnOutcome(), ToolText::profileColumnNote()});
    tblOutcomes->verticalHeader()->hide();
    tblOutcomes->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblOutcomes->setWordWrap(true);
    tblOutcomes->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    tblOutcomes->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    tblOutcomes->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    txtReport = new QPlainTextEdit(this);
    txtReport->setObjectName("txtReport");
    txtReport->setReadOnly(true);
    txtReport->setMaximumHeight(120);
    btnClose = new QPushButton(ToolText::profileClose(), this);
    btnClose->setObjectName("btnClose");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    layout->addWidget(lblHeadline);
    layout->addWidget(tblOutcomes, 1);
    layout->addWidget(txtReport);
    layout->addLayout(buttons);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

QString ProfileReportWindow::outcomeText(ProfileRun::SetState state)
{
    using S = ProfileRun::SetState;
    switch (state) {
    case S::NotStarted:
        return ToolText::profileOutcomeNotStarted();
    case S::Read:
        return ToolText::profileOutcomeRead();
    case S::Written:
        return ToolText::profileOutcomeWritten();
    case S::Verified:
        return ToolText::profileOutcomeVerified();
    case S::Unchanged:
        return ToolText::profileOutcomeUnchanged();
    case S::Skipped:
        return ToolText::profileOutcomeSkipped();
    case S::HalfWritten:
        return ToolText::profileOutcomeHalfWritten();
    case S::Failed:
        return ToolText::profileOutcomeFailed();
    case S::Mismatch:
        return ToolText::profileOutcomeMismatch();
    }
    return {};
}

void ProfileReportWindow::showReport(const QString &headline, const std::vector<ProfileRun::SetOutcome> &outcomes,
                                     const QString &report, bool fault)
{
    using S = ProfileRun::SetState;
    lblHeadline->setText(headline);
    QPalette p = lblHeadline->palette();
    p.setColor(QPalette::WindowText, fault ? Qt::red : Qt::darkGreen);
    lblHeadline->setPalette(p);
    tblOutcomes->setRowCount(int(outcomes.size()));
    for (int row = 0; row < int(outcomes.size()); ++row) {
        const ProfileRun::SetOutcome &o = outcomes[size_t(row)];
        auto *title = new QTableWidgetItem(ToolText::profileSetTitle(o.set));
        title->setData(Qt::UserRole, o.set);
        auto *state = new QTableWidgetItem(outcomeText(o.state));
        if (o.state == S::Failed || o.state == S::HalfWritten || o.state == S::Mismatch || o.state == S::NotStarted)
            state->setForeground(Qt::red);
        tblOutcomes->setItem(row, 0, title);
        tblOutcomes->setItem(row, 1, state);
        tblOutcomes->setItem(row, 2, new QTableWidgetItem(o.message));
    }
    tblOutcomes->resizeRowsToContents();
    txtReport->setPlainText(report);
    show();
    raise();
    activateWindow();
}
