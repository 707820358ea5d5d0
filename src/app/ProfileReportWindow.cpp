#include "ProfileReportWindow.h"

#include "ToolText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ProfileReportWindow::ProfileReportWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName("profileReport");
    setWindowTitle(ToolText::profileRestoreReportCaption());
    resize(560, 420);
    auto *layout = new QVBoxLayout(this);
    lblHeadline = new QLabel(this);
    lblHeadline->setObjectName("lblHeadline");
    lblHeadline->setWordWrap(true);
    QFont bold = lblHeadline->font();
    bold.setBold(true);
    lblHeadline->setFont(bold);
    txtReport = new QPlainTextEdit(this);
    txtReport->setObjectName("txtReport");
    txtReport->setReadOnly(true);
    btnClose = new QPushButton(ToolText::profileClose(), this);
    btnClose->setObjectName("btnClose");
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnClose);
    layout->addWidget(lblHeadline);
    layout->addWidget(txtReport, 1);
    layout->addLayout(buttons);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
}

void ProfileReportWindow::showReport(const QString &headline, const QString &report, bool fault)
{
    lblHeadline->setText(headline);
    QPalette p = lblHeadline->palette();
    p.setColor(QPalette::WindowText, fault ? Qt::red : Qt::darkGreen);
    lblHeadline->setPalette(p);
    txtReport->setPlainText(report);
    show();
    raise();
    activateWindow();
}
