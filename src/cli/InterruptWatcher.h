#pragma once
// Ctrl-C for an event loop: SIGINT is turned into a signal through a self-pipe.

#include <QObject>

class QSocketNotifier;

class InterruptWatcher : public QObject {
    Q_OBJECT
public:
    // Installs the SIGINT handler (without SA_RESTART, so a blocking read of the terminal ends too).
    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

    // Set by the handler itself: true once Ctrl-C was pressed (readable outside the event loop).
    static bool pressed();

signals:
    void interrupted();

private:
    QSocketNotifier *notifier_ = nullptr;
};
