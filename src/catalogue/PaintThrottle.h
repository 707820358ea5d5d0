#pragma once
// Holds back the painting of widgets whose texts change thousands of times a second to a few frames.

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// A widget keeps every change at once (its text is always current); only the painting is held back.
// The first change after a quiet spell paints as usual; further changes within the interval are
// painted together when it ends. Once changes stop, the widgets paint freely again.
class PaintThrottle : public QObject {
    Q_OBJECT
public:
    explicit PaintThrottle(const QList<QWidget *> &widgets, int intervalMs = 40, QObject *parent = nullptr);

    // Call before changing the widgets.
    void aboutToChange();
    // Paints any held-back change now and lets the widgets paint freely.
    void release();

    bool holding() const { return held_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void tick();
    void close();
    void setHeld(bool held);

    QList<QPointer<QWidget>> widgets_;
    QTimer timer_;
    bool held_ = false;
    bool changed_ = false;
    // After a periodic repaint: the widgets' updates are on while some of them have not painted yet.
    bool open_ = false;
    int unpainted_ = 0;
};
