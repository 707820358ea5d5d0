#pragma once
// A LinkView that shows nothing, for benchmarks of the link.

#include "LinkView.h"

class NullView : public LinkView {
public:
    void setStatusText(const QString &) override {}
    void setProgress(int) override {}
    int showDialog(const QString &, const QString &, bool) override { return 1; }
    void setControlsEnabled(const QStringList &, bool) override {}
    void setCancelButtonVisible(bool) override {}
    void tcpClosedByLink() override {}
};
