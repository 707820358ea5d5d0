#pragma once
// The window of "Пронађи принтер": probes the serial ports, lists what each said, and hands the
// chosen port with a printer back (not modal; the main window goes on working).

#include <QDialog>
#include <QStringList>

class PrinterProber;
class QLabel;
class QListWidget;
class QPushButton;
struct ProbeResult;

class PrinterSearchDialog : public QDialog {
    Q_OBJECT
public:
    explicit PrinterSearchDialog(QWidget *parent = nullptr);
    ~PrinterSearchDialog() override;

    // Empties the list and probes `ports`, each waited for `timeoutMs`.
    void search(const QStringList &ports, int timeoutMs);
    PrinterProber &prober() { return *prober_; }
    // The port of the chosen row ("Изабери" or a double click); emits `chosen` and closes.
    void btnChooseClick();

    QLabel *lblStatus = nullptr;
    QListWidget *lwPorts = nullptr;
    QPushButton *btnChoose = nullptr;
    QPushButton *btnClose = nullptr;

signals:
    void chosen(const QString &port);

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void onPortDone(const ProbeResult &result);
    void onFinished();

    PrinterProber *prober_ = nullptr;
    int found_ = 0;
};
