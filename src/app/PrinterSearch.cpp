#include "PrinterSearch.h"

#include "LinkView.h"
#include "MakeWidget.h"
#include "PrinterProber.h"
#include "PrinterSearchDialog.h"
#include "SerialTransport.h"
#include "ToolText.h"
#include "TransportControls.h"
#include "UiText.h"

#include <QComboBox>
#include <QEvent>
#include <QPushButton>

PrinterSearch::PrinterSearch(SectionHost &host, QWidget *band, TransportControls &transport)
    : Section(host), band_(band), transport_(transport), portSource_(&PrinterProber::machinePorts),
      timeoutMs_(PrinterProber::kDefaultTimeoutMs)
{
    setObjectName(QStringLiteral("PrinterSearch"));
    CB_ComPort = band->findChild<QComboBox *>(QStringLiteral("CB_ComPort"));
    // Above "Отвори порт", right of the port box's label: every other control keeps its place.
    btnFindPrinter = makeWidget<QPushButton>(band, "btnFindPrinter", QRect(124, 1, 96, 18));
    btnFindPrinter->setText(ToolText::findPrinterButton());
    connect(btnFindPrinter, &QPushButton::clicked, this, &PrinterSearch::btnFindPrinterClick);
    if (CB_ComPort)
        CB_ComPort->installEventFilter(this);
}

void PrinterSearch::activate()
{
    if (CB_ComPort)
        btnFindPrinter->setEnabled(CB_ComPort->isEnabled());
}

bool PrinterSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == CB_ComPort && event->type() == QEvent::EnabledChange)
        btnFindPrinter->setEnabled(CB_ComPort->isEnabled());
    return Section::eventFilter(watched, event);
}

void PrinterSearch::btnFindPrinterClick()
{
    // The open port is the link's: probing it would mix with its frames.
    if (transport_.serial().isOpen()) {
        view().showDialog(UiText(Txt::TitleWarning), ToolText::findPrinterPortOpen());
        return;
    }
    if (!dialog_) {
        dialog_ = new PrinterSearchDialog(band_->window());
        connect(dialog_, &PrinterSearchDialog::chosen, this, &PrinterSearch::choose);
    }
    dialog_->show();
    dialog_->raise();
    dialog_->search(portSource_ ? portSource_() : QStringList(), timeoutMs_);
}

void PrinterSearch::choose(const QString &port)
{
    if (!CB_ComPort || !CB_ComPort->isEnabled())
        return;
    // Typing the name into the box selects it for the next open, as a choice from the list does.
    CB_ComPort->setCurrentText(port);
}
