#pragma once
// Backup, compare and restore of a whole device: sequences of data-set operations with one progress and one report.

#include "OpResult.h"
#include "Profile.h"
#include "ProfileComparison.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <vector>

class Device;

class ProfileRun : public QObject {
    Q_OBJECT
public:
    // How each set fared in the last run.
    enum class SetState { NotStarted, Read, Written, Verified, Unchanged, Skipped, HalfWritten, Failed };
    struct SetOutcome {
        QString set;
        SetState state = SetState::NotStarted;
        QString message; // why it failed or was skipped; empty otherwise
    };

    // What a restore is about to do, known after prepareRestore(): the question the user answers.
    struct RestorePlan {
        QStringList sets;        // the sets to write, in run order
        bool clone = false;      // the profile comes from another printer (identities differ)
        QString profileIdentity; // Profile::identity() of the file
        QString deviceIdentity;  // the same of the connected printer
        bool taxGroupsDiffer = false;
        int taxRateChangesLeft = -1; // the device's remaining rate changes (-1: not read)
        QStringList notes;           // sets left out, and why (tax groups: no change left)
        // The confirmation text listing all of the above.
        QString question() const;
    };

    explicit ProfileRun(Device &device, QObject *parent = nullptr);

    // Reads every readable set into profile(). On a fault the run stops; profile() keeps the sets
    // read so far with complete = false.
    void backup();
    // Reads the sets `saved` holds and compares: comparison().
    void compare(const Profile &saved);
    // Reads what the plan needs (identity, tax groups) for restoring `only` (empty: every writable
    // set in the profile) from `saved`: plan(). Invalid when a named set is unknown or not writable.
    void prepareRestore(const Profile &saved, const QStringList &only = {});
    // Writes the planned sets; with `verify` reads them back and compares. outcomes() says per set
    // what happened.
    void restore(bool verify = true);
    // Breaks the running run off as Cancel does; finished() follows with Cancelled.
    void cancel();
    bool running() const { return running_; }

    const Profile &profile() const { return profile_; }
    const ProfileComparison &comparison() const { return comparison_; }
    const RestorePlan &plan() const { return plan_; }
    const std::vector<SetOutcome> &outcomes() const { return outcomes_; }
    // The run's report in the tool's words: per set what was read/written/verified, and after a
    // fault which sets were done, which not, and which was half-written.
    QString report() const;

signals:
    // A set's step begins ("reading taxpayer", "writing articles").
    void stepStarted(const QString &set, const QString &what);
    // Over the whole run, weighted by frames (DataSet::readFrames/writeFrames).
    void progress(int done, int total);
    // The run ended; called once per run, from the event loop.
    void finished(const OpResult &result);

private:
    Device &device_;
    bool running_ = false;
    Profile profile_;
    ProfileComparison comparison_;
    RestorePlan plan_;
    std::vector<SetOutcome> outcomes_;
};
