#pragma once
// A progress bar on standard error, drawn only when standard error is a terminal.

#include <QElapsedTimer>
#include <QString>

class TerminalProgress {
public:
    // `caption` names what is counted ("артикал": the bar then shows the article number as well).
    TerminalProgress(bool enabled, const QString &caption = {});

    // Draws n of total (at most every 50 ms, and always the last step).
    void show(int done, int total);
    // Ends the bar's line, if one was drawn.
    void finish();

    bool enabled() const { return enabled_; }
    // Whether standard error is a terminal.
    static bool stderrIsTerminal();

private:
    bool enabled_;
    QString caption_;
    QElapsedTimer sinceDrawn_;
    bool drawn_ = false;
};
