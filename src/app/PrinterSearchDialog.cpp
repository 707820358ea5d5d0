#include "PrinterSearchDialog.h"

#include "DeviceLink.h"
#include "PrinterProber.h"
#include "ToolText.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int kPortRole = Qt::UserRole + 1;
}

PrinterSearchDialog::PrinterSearchDialog(QWidget *parent) : QDialog(parent), prober_(new PrinterProber(this))
{
    setObjectName("fPrinterSearch");
    setWindowTitle(ToolText::findPrinterTitle());
    setModal(false);
    resize(560, 260);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    lblStatus->setWordWrap(true);
    lwPorts = new QListWidget(this);
    lwPorts->setObjectName("lwPorts");
    btnChoose = new QPushButton(ToolText::findPrinterChoose(), this);
    btnChoose->setObjectName("btnChoose");
    btnChoose->setEnabled(false);
    btnClose = new QPushButton(ToolText::findPrinterClose(), this);
    btnClose->setObjectName("btnClose");

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnChoose);
    buttons->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus);
    layout->addWidget(lwPorts);
    layout->addLayout(buttons);

    connect(lwPorts, &QListWidget::currentItemChanged, this,
            [this](QListWidgetItem *item) { btnChoose->setEnabled(item && (item->flags() & Qt::ItemIsEnabled)); });
    connect(lwPorts, &QListWidget::itemDoubleClicked, this, [this] { btnChooseClick(); });
    connect(btnChoose, &QPushButton::clicked, this, &PrinterSearchDialog::btnChooseClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::close);
    connect(prober_, &PrinterProber::probing, this, [this](const QString &port, int n, int total, DeviceLink &) {
        lblStatus->setText(ToolText::findPrinterProbing(port, n, total));
    });
    connect(prober_, &PrinterProber::portDone, this, &PrinterSearchDialog::onPortDone);
    connect(prober_, &PrinterProber::finished, this, &PrinterSearchDialog::onFinished);
}

PrinterSearchDialog::~PrinterSearchDialog() = default;

void PrinterSearchDialog::search(const QStringList &ports, int timeoutMs)
{
    prober_->abort();
    lwPorts->clear();
    btnChoose->setEnabled(false);
    found_ = 0;
    prober_->setTimeout(timeoutMs);
    if (ports.isEmpty()) {
        lblStatus->setText(ToolText::findPrinterNone());
        return;
    }
    prober_->start(ports);
}

void PrinterSearchDialog::onPortDone(const ProbeResult &result)
{
    const QString name =
        result.port == result.location ? result.port : QStringLiteral("%1 (%2)").arg(result.port, result.location);
    auto *item = new QListWidgetItem(QStringLiteral("%1 — %2").arg(name, result.summary()), lwPorts);
    item->setData(kPortRole, result.port);
    // Only a port with a printer can be chosen.
    if (!result.found()) {
        item->setFlags(item->flags() & ~(Qt::ItemIsEnabled | Qt::ItemIsSelectable));
        return;
    }
    if (++found_ == 1)
        lwPorts->setCurrentItem(item);
}

void PrinterSearchDialog::onFinished()
{
    const int total = lwPorts->count();
    lblStatus->setText(found_ > 0 ? ToolText::findPrinterDone(found_, total) : ToolText::findPrinterNone());
}

void PrinterSearchDialog::btnChooseClick()
{
    QListWidgetItem *item = lwPorts->currentItem();
    if (!item || !(item->flags() & Qt::ItemIsEnabled))
        return;
    emit chosen(item->data(kPortRole).toString());
    close();
}

void PrinterSearchDialog::hideEvent(QHideEvent *event)
{
    // Closing the window stops the search; the port being probed is closed.
    prober_->abort();
    QDialog::hideEvent(event);
}
