#pragma once
// Holds a window's painting back for a moment after a request went out on a serial line.
//
// On a pseudo-terminal (a serial-over-network bridge, the simulated printer) the system passes
// written bytes on to the other end from a kernel worker that is woken on the writer's own core.
// Painting what the last reply changed, right after the next request was written, keeps that
// worker waiting, and the line with it. During a hold the window's update requests wait; the
// window paints once when the hold is over. A hold is not extended by the requests written
// during it, so a fast chain still paints about every hold's length.

#include <QObject>
#include <QTimer>

class QWidget;

class PaintHold : public QObject {
    Q_OBJECT
public:
    PaintHold(QWidget &window, int milliseconds, QObject *parent = nullptr);

    // Starts a hold unless one is running.
    void hold();
    bool holding() const { return timer_.isActive(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void release();

    QWidget &window_;
    QTimer timer_;
    bool pending_ = false;
    bool releasing_ = false;
};
