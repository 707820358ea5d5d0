#pragma once
// "Пронађи принтер" beside the port box: looks for the printer on the serial ports and puts the
// port chosen from the results into CB_ComPort.

#include "Section.h"

#include <QStringList>

#include <functional>

class PrinterSearchDialog;
class QComboBox;
class QPushButton;
class QWidget;
class TransportControls;

class PrinterSearch : public Section {
    Q_OBJECT
public:
    PrinterSearch(SectionHost &host, QWidget *band, TransportControls &transport);

    void activate() override;
    void btnFindPrinterClick();

    // The ports a search probes: the machine's by default (tests give pseudo-terminals).
    void setPortSource(std::function<QStringList()> source) { portSource_ = std::move(source); }
    void setTimeout(int ms) { timeoutMs_ = ms; }
    // The results window; nullptr before the first search.
    PrinterSearchDialog *dialog() const { return dialog_; }

    QPushButton *btnFindPrinter = nullptr;

protected:
    // The button follows the port box: off while the serial controls are off (TCP was chosen).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void choose(const QString &port);

    QWidget *band_;
    TransportControls &transport_;
    QComboBox *CB_ComPort = nullptr;
    PrinterSearchDialog *dialog_ = nullptr;
    std::function<QStringList()> portSource_;
    int timeoutMs_;
};
