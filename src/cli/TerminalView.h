#pragma once
// The link's view for a terminal: its messages on standard error in plain words, questions declined.

#include "LinkView.h"

#include <QStringList>

class TerminalView : public LinkView {
public:
    // Writes "quorvel-cli: TEXT" on standard error (UTF-8) and remembers it.
    void say(const QString &text);
    // Whether a message holding `text` was already written.
    bool said(const QString &text) const;

    // Status texts, progress and button states are the window's business: ignored.
    void setStatusText(const QString &) override {}
    void setProgress(int) override {}
    int showDialog(const QString &title, const QString &text, bool twoButtons = false) override;
    void setControlsEnabled(const QStringList &, bool) override {}
    void setCancelButtonVisible(bool) override {}
    void tcpClosedByLink() override {}

private:
    QStringList said_;
};
