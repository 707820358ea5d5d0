#pragma once
// A LinkView for tests of the link alone: records what the link shows and lets a test act while
// a "modal dialog" is open.

#include "LinkView.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>

class RecordingView : public LinkView {
public:
    void setStatusText(const QString &text) override { status = text; }
    void setProgress(int value) override { progress.append(value); }
    int showDialog(const QString &title, const QString &text, bool) override
    {
        dialogs.append(title + QStringLiteral("|") + text);
        if (whileDialogOpen)
            whileDialogOpen();
        return 1;
    }
    void setControlsEnabled(const QStringList &names, bool on) override
    {
        for (const QString &n : names)
            enabled[n] = on;
    }
    bool controlEnabled(const QString &name) const override { return enabled.value(name, true); }
    void setCancelButtonVisible(bool visible) override { cancelVisible = visible; }
    void tcpClosedByLink() override { ++tcpClosed; }
    void connectionClosed() override
    {
        ++connectionsClosed;
        if (onConnectionClosed)
            onConnectionClosed();
    }

    QString status;
    QList<int> progress;
    QStringList dialogs;
    QHash<QString, bool> enabled;
    bool cancelVisible = true;
    int tcpClosed = 0;
    int connectionsClosed = 0;
    std::function<void()> onConnectionClosed;
    // Runs inside showDialog, as events run while a modal dialog is open.
    std::function<void()> whileDialogOpen;
};

#include <ostream>
// Readable QString values in test failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}
