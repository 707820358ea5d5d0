#pragma once
// What the device link needs of the window: status line, progress, messages, button states.

#include <QString>
#include <QStringList>

class LinkView {
public:
    virtual ~LinkView() = default;
    // Panel 0 of the status bar, repainted at once.
    virtual void setStatusText(const QString &text) = 0;
    virtual void setProgress(int value) = 0;
    // The modal message dialog; returns its result (1 for the confirm button, else 0).
    virtual int showDialog(const QString &title, const QString &text, bool twoButtons = false) = 0;
    // Enables or disables the controls with these object names.
    virtual void setControlsEnabled(const QStringList &objectNames, bool enabled) = 0;
    // Whether the control with this object name is enabled by itself (regardless of its parents);
    // a view without such a control answers true.
    virtual bool controlEnabled(const QString &objectName) const
    {
        Q_UNUSED(objectName);
        return true;
    }
    virtual void setCancelButtonVisible(bool visible) = 0;
    // The link closed the TCP connection itself (leave-service-mode answered after a disconnect request).
    virtual void tcpClosedByLink() = 0;
    // The open transport went away by itself (the device closed the connection, the port was
    // lost); the link has stopped waiting for a reply and the next open button press opens anew.
    virtual void connectionClosed() {}
};
