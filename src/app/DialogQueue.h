#pragma once
// Puts messages and questions into the one message dialog one at a time: a message raised while
// the dialog is open waits and is shown after it closes, in order, never in the open dialog.

#include <QList>
#include <QObject>
#include <QString>

class TDialog;

class DialogQueue : public QObject {
    Q_OBJECT
public:
    explicit DialogQueue(TDialog &dialog, QObject *parent = nullptr);

    // Shows a message, or asks a question when `twoButtons` is set, and returns the dialog result.
    // A message that has to wait returns 0 at once and is shown later. A question is asked at once
    // when the dialog is free; while it is busy the question is not asked and counts as declined (0),
    // so nothing is confirmed that the user did not see.
    int show(const QString &title, const QString &text, bool twoButtons);

    // The dialog shows a message or a question now.
    bool isOpen() const;
    // Messages waiting for the dialog.
    qsizetype waiting() const { return waiting_.size(); }
    // While a whole-device run drives the pages, their messages ("reading finished", a device
    // error) are not shown one by one: the run reports everything in one place at its end.
    // Questions are still asked.
    void setMessagesMuted(bool muted) { muted_ = muted; }

private:
    int present(const QString &title, const QString &text, bool twoButtons);
    // Shows the next waiting message from the event loop, after the caller of the dialog that
    // just closed has had its answer.
    void scheduleNext();
    void showNext();

    struct Message {
        QString title;
        QString text;
    };
    TDialog &dialog_;
    bool open_ = false;
    bool scheduled_ = false;
    bool muted_ = false;
    QList<Message> waiting_;
};
