#pragma once
// quorvel-cli's whole-device commands: backup -o FILE, compare FILE and restore FILE, over one ProfileRun.

#include "CliOptions.h"
#include "OpResult.h"
#include "Profile.h"
#include "ProfileRun.h"
#include "TerminalProgress.h"

#include <QObject>

#include <functional>

class Device;
class TerminalView;

class ProfileCommand : public QObject {
    Q_OBJECT
public:
    // The exit code of a comparison that found differences.
    static constexpr int kExitDifferent = 1;
    // How the command ended: the result, and the exit code when it is not the usual one (-1).
    using Done = std::function<void(const OpResult &result, int exitCode)>;

    ProfileCommand(const CliOptions &options, Device &device, TerminalView &view, QObject *parent = nullptr);

    // Whether `command` is one of these.
    static bool handles(const QString &command);
    // What can be refused before connecting: the profile file (compare, restore) and, for a restore
    // without --yes, a missing terminal to ask on. False with `error` in the tool's words.
    bool prepare(QString &error);
    // Runs the command; `done` is called once.
    void start(Done done);
    // Ctrl-C: breaks the run off as Cancel does.
    void cancel() { run_.cancel(); }

private:
    void afterPrepare(const OpResult &result);
    bool confirm();
    void finish(const OpResult &result, int exitCode = -1);

    CliOptions options_;
    TerminalView &view_;
    ProfileRun run_;
    Profile saved_;
    TerminalProgress progress_{false};
    Done done_;
};
